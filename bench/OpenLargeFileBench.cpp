// Opening a file reads its header chunks and stops at the cart data, so
// neither the bytes read nor the time depend on how much audio follows. The
// any-layout walk seeks over the audio to a cart chunk after it, in RF64
// files past 4 GiB as well.

#include <benchmark/benchmark.h>

#include "bench/BenchFiles.h"
#include "bench/Benchmarks.h"
#include "tests/support/PagesLoad.h"
#include "wave/WaveDocument.h"

namespace bench {

namespace {

constexpr std::int64_t kReadLimit = 256 * kKiB;

void OpenLargeFile(benchmark::State& state, const std::filesystem::path& path, std::int64_t size,
                   wave::ChunkWalk walk) {
    OwnedPageRecords pages;
    pages.info.m_strPath = path.string();
    wave::WaveDocument doc;

    const IoMeter meter;
    for (auto _ : state) {
        const wave::LoadFailure failure =
            fixture::OpenIntoPages(doc, pages.refs(), wave::WaveStream::Mode::ReadOnly, walk);
        if (failure != wave::LoadFailure::None) {
            state.SkipWithError("the large file did not load");
            return;
        }
        benchmark::DoNotOptimize(pages.cart.m_strTitle.data());
    }
    const auto perLoad =
        static_cast<std::int64_t>(meter.delta().rchar / static_cast<std::uint64_t>(state.iterations()));
    state.counters["bytes_read"] = static_cast<double>(perLoad);
    state.SetLabel("read " + Bytes(perLoad) + " of " + Bytes(size));
    if (perLoad > kReadLimit) state.SkipWithError("a load read more than 256 KiB");
}

}  // namespace

void RegisterOpenLargeFile() {
    for (const auto& [name, size] :
         {std::pair{"OpenLargeFile/1MiB", kMiB}, std::pair{"OpenLargeFile/256MiB", 256 * kMiB},
          std::pair{"OpenLargeFile/2GiB", 2 * kGiB}}) {
        benchmark::RegisterBenchmark(name, [size](benchmark::State& state) {
            OpenLargeFile(state, SparseWave("open", size), size, wave::ChunkWalk::FixedOrder);
        })->Unit(benchmark::kMicrosecond);
    }
    for (const auto& [name, size] : {std::pair{"OpenLargeFile/AnyLayout/RF64-1MiB", kMiB},
                                     std::pair{"OpenLargeFile/AnyLayout/RF64-5GiB", 5 * kGiB}}) {
        benchmark::RegisterBenchmark(name, [size](benchmark::State& state) {
            OpenLargeFile(state, SparseRf64CartAfterAudio("open", size), size, wave::ChunkWalk::AnyLayout);
        })->Unit(benchmark::kMicrosecond);
    }
    // A bext chunk declaring a 1 GiB coding history is passed over, not read.
    benchmark::RegisterBenchmark("OpenLargeBext/1GiB", [](benchmark::State& state) {
        const auto& path = HugeBextWave(kGiB);
        OpenLargeFile(state, path, static_cast<std::int64_t>(std::filesystem::file_size(path)),
                      wave::ChunkWalk::FixedOrder);
    })->Unit(benchmark::kMicrosecond);
}

}  // namespace bench
