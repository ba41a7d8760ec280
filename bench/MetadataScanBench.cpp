// Reading the bext and cart of many small files: our loader against a
// reader built on libsndfile, over the same files in the same run.

#include <benchmark/benchmark.h>
#include <sndfile.h>

#include "bench/BenchFiles.h"
#include "bench/Benchmarks.h"
#include "tests/support/PagesLoad.h"
#include "wave/WaveDocument.h"

namespace bench {

namespace {

// Returns false when a file does not load with its cart.
bool LoadWithOurs(const std::string& path) {
    OwnedPageRecords pages;
    pages.info.m_strPath = path;
    wave::WaveDocument doc;
    const wave::LoadFailure failure = fixture::OpenIntoPages(doc, pages.refs(), wave::WaveStream::Mode::ReadOnly);
    benchmark::DoNotOptimize(pages.cart.m_strTitle.data());
    benchmark::DoNotOptimize(pages.ebu.m_strDescription.data());
    return failure == wave::LoadFailure::None;
}

bool LoadWithLibsndfile(const std::string& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) return false;
    SF_CART_INFO cart{};
    SF_BROADCAST_INFO bext{};
    const bool hasCart = sf_command(file, SFC_GET_CART_INFO, &cart, sizeof cart) == SF_TRUE;
    const bool hasBext = sf_command(file, SFC_GET_BROADCAST_INFO, &bext, sizeof bext) == SF_TRUE;
    benchmark::DoNotOptimize(cart.title);
    benchmark::DoNotOptimize(bext.description);
    sf_close(file);
    return hasCart && hasBext;
}

template <bool (*Load)(const std::string&)>
void ScanMetadata(benchmark::State& state) {
    const std::vector<std::string>& files = SmallFiles();
    const IoMeter meter;
    for (auto _ : state) {
        for (const std::string& path : files) {
            if (!Load(path)) {
                state.SkipWithError(("no cart or bext read from " + path).c_str());
                return;
            }
        }
    }
    const auto loads = state.iterations() * static_cast<std::int64_t>(files.size());
    state.SetItemsProcessed(loads);
    state.counters["bytes_read_per_file"] =
        static_cast<double>(meter.delta().rchar / static_cast<std::uint64_t>(loads));
}

}  // namespace

void RegisterMetadataScan() {
    benchmark::RegisterBenchmark("Metadata1000/ours", ScanMetadata<LoadWithOurs>)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Metadata1000/libsndfile", ScanMetadata<LoadWithLibsndfile>)
        ->Unit(benchmark::kMillisecond);
}

}  // namespace bench
