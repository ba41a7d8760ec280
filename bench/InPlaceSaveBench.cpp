// A save rewrites the cart data where it lies and nothing else, however
// large the file: one write call of the cart data's size, and the file keeps
// its length. Its check that no other program changed the chunk reads the
// chunk once.

#include <benchmark/benchmark.h>
#include <sys/stat.h>

#include "bench/BenchFiles.h"
#include "bench/Benchmarks.h"
#include "tests/support/PagesLoad.h"
#include "wave/WaveDocument.h"

namespace bench {

namespace {

std::int64_t FileSize(const std::filesystem::path& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_size : -1;
}

void InPlaceSave(benchmark::State& state) {
    const std::int64_t size = kGiB;
    const std::filesystem::path& path = SparseWave("save", size);
    OwnedPageRecords pages;
    pages.info.m_strPath = path.string();
    wave::WaveDocument doc;
    if (fixture::OpenIntoPages(doc, pages.refs(), wave::WaveStream::Mode::ReadWrite) != wave::LoadFailure::None) {
        state.SkipWithError("the 1 GiB file did not load");
        return;
    }
    const auto cartSize = static_cast<std::int64_t>(doc.loaded.cart->size());

    // Two titles in turn, so that every save changes the file.
    const wave::CartWrites writes[] = {{{wave::CartField::Title, "Saved title A"}},
                                       {{wave::CartField::Title, "Saved title B"}}};
    std::size_t turn = 0;
    const IoMeter meter;
    for (auto _ : state) {
        const wave::SaveResult saved = doc.SaveCart(writes[turn]);
        if (!saved.ok) {
            state.SkipWithError(saved.error.c_str());
            return;
        }
        turn ^= 1;
    }
    const IoCounters io = meter.delta();
    const auto saves = static_cast<std::uint64_t>(state.iterations());
    const auto perSave = static_cast<std::int64_t>(io.wchar / saves);
    const auto readPerSave = static_cast<std::int64_t>(io.rchar / saves);
    const double writeCalls = static_cast<double>(io.syscw) / static_cast<double>(saves);
    state.counters["bytes_written"] = static_cast<double>(perSave);
    state.counters["write_calls"] = writeCalls;
    state.counters["bytes_read"] = static_cast<double>(readPerSave);
    state.counters["cart_size"] = static_cast<double>(cartSize);
    state.SetLabel("wrote " + Bytes(perSave) + " in " + std::to_string(io.syscw / saves) + " call(s), read " +
                   Bytes(readPerSave) + " per save into " + Bytes(size));

    const std::string lastTitle = writes[turn ^ 1].front().value;
    OwnedPageRecords reloaded;
    reloaded.info.m_strPath = path.string();
    wave::WaveDocument check;
    if (perSave != cartSize || io.syscw != saves) {
        state.SkipWithError("a save wrote other than the cart data's bytes in one call");
    } else if (FileSize(path) != size) {
        state.SkipWithError("a save changed the file's length");
    } else if (fixture::OpenIntoPages(check, reloaded.refs(), wave::WaveStream::Mode::ReadOnly) !=
                   wave::LoadFailure::None ||
               reloaded.cart.m_strTitle != lastTitle) {
        state.SkipWithError("the saved title did not read back");
    }
}

}  // namespace

void RegisterInPlaceSave() {
    benchmark::RegisterBenchmark("InPlaceSave/1GiB", InPlaceSave)->Unit(benchmark::kMicrosecond);
}

}  // namespace bench
