// Growing a cart chunk on a 1 GiB file. A rewrite copies the whole file
// into a new one beside it, so its measure is `cp` of the same file on the
// same file system, in the same iterations; its peak resident memory must
// not follow the file's size. Growth into a filler and after the last chunk
// write only the chunk, so they take the time of an in-place save whatever
// the file's size.
//
// The files hold real bytes, not holes, so that both copies have to move
// them. They go in a folder under $REELMARKER_GROWTH_DIR, else under the
// temporary directory; the copies are made beside them.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <map>
#include <memory>
#include <random>
#include <stdexcept>

#include "bench/BenchFiles.h"
#include "bench/Benchmarks.h"
#include "bench/Spawn.h"
#include "tests/support/WaveBuilder.h"
#include "wave/CartPlacement.h"
#include "wave/WaveDocument.h"

namespace bench {

namespace {

using Clock = std::chrono::steady_clock;

constexpr long kMemoryLimitKiB = 16 * 1024;
constexpr double kRatioGoal = 1.2;
constexpr std::size_t kBlockSize = std::size_t{1} << 20;
const char* const kTitle = "Grown title";

enum class Layout { Plain, Filler };

// A wave file of real bytes and the head it was made with, to put back
// after a growth changed it.
struct DenseWave {
    std::filesystem::path path;
    std::int64_t size = 0;
    fixture::ByteVector head;  // up to and with the data chunk's header
};

struct GrowthFiles {
    fixture::TempDir dir;
    std::map<std::pair<Layout, std::int64_t>, DenseWave> waves;

    explicit GrowthFiles(const std::filesystem::path& base) : dir(base) {}
};

std::unique_ptr<GrowthFiles>& Store() {
    static std::unique_ptr<GrowthFiles> files;
    return files;
}

GrowthFiles& TheFiles() {
    auto& files = Store();
    if (!files) {
        const char* chosen = std::getenv("REELMARKER_GROWTH_DIR");
        files = std::make_unique<GrowthFiles>(chosen != nullptr && *chosen != '\0'
                                                  ? std::filesystem::path(chosen)
                                                  : std::filesystem::temp_directory_path());
    }
    return *files;
}

void WriteAllAt(int fd, const std::uint8_t* bytes, std::size_t size, std::int64_t at) {
    while (size > 0) {
        const ssize_t put = ::pwrite(fd, bytes, size, at);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) throw std::runtime_error("cannot write a benchmark file");
        bytes += put;
        size -= static_cast<std::size_t>(put);
        at += put;
    }
}

void SyncPath(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0) throw std::runtime_error("cannot sync " + path.string());
    ::close(fd);
}

// Takes the file's pages out of the page cache, so that the next reader
// finds them on disk. It touches only this file, unlike drop_caches.
void Uncache(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw std::runtime_error("cannot open " + path.string());
    ::fdatasync(fd);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
}

// "fmt ", with Filler a JUNK chunk of the size a rewrite leaves, then a
// data chunk of pseudo-random bytes to `size`. No cart chunk.
const DenseWave& Wave(Layout layout, std::int64_t size) {
    GrowthFiles& files = TheFiles();
    if (auto found = files.waves.find({layout, size}); found != files.waves.end()) return found->second;

    fixture::WaveBuilder builder;
    builder.chunk("fmt ", fixture::PcmFormat());
    if (layout == Layout::Filler) builder.chunk("JUNK", fixture::ByteVector(wave::kRewriteFillerSize, 0));
    fixture::ByteVector head = builder.bytes();
    const auto dataSize = static_cast<std::uint32_t>(size - static_cast<std::int64_t>(head.size()) - 8);
    for (const char c : {'d', 'a', 't', 'a'}) head.push_back(static_cast<std::uint8_t>(c));
    fixture::PutLE(head, dataSize, 4);
    const auto riffSize = static_cast<std::uint32_t>(size - 8);
    for (std::size_t i = 0; i < 4; ++i) head[4 + i] = static_cast<std::uint8_t>(riffSize >> (8 * i));

    DenseWave wave{
        files.dir.file((layout == Layout::Filler ? "filler-" : "plain-") + std::to_string(size / kKiB) + "KiB.wav"),
        size, head};
    const int fd = ::open(wave.path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) throw std::runtime_error("cannot create " + wave.path.string());
    WriteAllAt(fd, head.data(), head.size(), 0);
    std::mt19937_64 random(42);
    std::vector<std::uint64_t> block(kBlockSize / 8);
    for (auto at = static_cast<std::int64_t>(head.size()); at < size;) {
        std::generate(block.begin(), block.end(), random);
        const auto length = static_cast<std::size_t>(std::min<std::int64_t>(size - at, kBlockSize));
        WriteAllAt(fd, reinterpret_cast<const std::uint8_t*>(block.data()), length, at);
        at += static_cast<std::int64_t>(length);
    }
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    if (!synced) throw std::runtime_error("cannot sync " + wave.path.string());
    return files.waves.emplace(std::make_pair(layout, size), std::move(wave)).first->second;
}

// Puts the head back and cuts off what was appended: the file as made.
void Restore(const DenseWave& wave) {
    const int fd = ::open(wave.path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) throw std::runtime_error("cannot open " + wave.path.string());
    WriteAllAt(fd, wave.head.data(), wave.head.size(), 0);
    const bool restored = ::ftruncate(fd, wave.size) == 0 && ::fsync(fd) == 0;
    ::close(fd);
    if (!restored) throw std::runtime_error("cannot restore " + wave.path.string());
}

std::int64_t FileSize(const std::filesystem::path& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_size : -1;
}

std::string TitleOf(const std::filesystem::path& path, wave::ChunkWalk walk) {
    wave::WaveDocument doc;
    if (doc.OpenWave(path.string(), wave::WaveStream::Mode::ReadOnly, walk) != wave::LoadFailure::None) return {};
    return doc.Cart().Text(wave::CartField::Title);
}

// `cp FILE COPY` (coreutils' defaults: --reflink=auto, which on a file
// system without shared extents copies the bytes through copy_file_range),
// then an fsync of the copy, timed apart; then `reelmarker-cli set --grow
// --title` on the copy, which has no cart chunk and no filler, so it is
// rewritten; then the removal of the copy, timed apart. A rewrite syncs the
// new file and frees the old one's blocks, so besides `ratio` (rewrite / cp)
// the counters give the ratio to cp, fsync and rm together. With `cold`,
// neither file is in the page cache when it is read.
void RewriteAgainstCp(benchmark::State& state, bool cold) {
    const std::filesystem::path cli = ExecutableDir() / "reelmarker-cli";
    if (::access(cli.c_str(), X_OK) != 0) {
        state.SkipWithError("reelmarker-cli is not built yet");
        for (auto _ : state) {
        }
        return;
    }
    const DenseWave& source = Wave(Layout::Plain, kGiB);
    const std::filesystem::path copy = TheFiles().dir.file("copy.wav");
    double cpSeconds = 0;
    double syncSeconds = 0;
    double removeSeconds = 0;
    double rewriteSeconds = 0;
    long peakKiB = 0;
    std::int64_t grown = 0;
    for (auto _ : state) {
        if (cold) Uncache(source.path);
        const Spawned cp = Spawn({"/bin/cp", source.path.string(), copy.string()});
        const auto syncStart = Clock::now();
        SyncPath(copy);
        const double synced = std::chrono::duration<double>(Clock::now() - syncStart).count();
        if (cold) Uncache(copy);
        const Spawned rewrite = Spawn({cli.string(), "set", "--grow", "--title", kTitle, copy.string()});
        if (!cp.ok || !rewrite.ok) {
            state.SkipWithError(cp.ok ? "reelmarker-cli set --grow failed" : "cp failed");
            break;
        }
        // The copy grew by the cart chunk and the filler left after it, and
        // the fixed-order walk finds the title there.
        grown = FileSize(copy) - source.size;
        if (TitleOf(copy, wave::ChunkWalk::FixedOrder) != kTitle ||
            grown < static_cast<std::int64_t>(8 + 8 + wave::kRewriteFillerSize)) {
            state.SkipWithError("the rewritten copy does not read back with the title before its data");
            break;
        }
        // A rewrite ends by letting go of the old file, whose blocks the
        // file system then frees; cp has no such step, so it is timed here.
        const auto removeStart = Clock::now();
        std::filesystem::remove(copy);
        removeSeconds += std::chrono::duration<double>(Clock::now() - removeStart).count();
        state.SetIterationTime(rewrite.seconds);
        cpSeconds += cp.seconds;
        syncSeconds += synced;
        rewriteSeconds += rewrite.seconds;
        peakKiB = std::max(peakKiB, rewrite.peakKiB);
    }
    std::filesystem::remove(copy);
    if (state.error_occurred()) return;

    const auto runs = static_cast<double>(state.iterations());
    const double ratio = rewriteSeconds / cpSeconds;
    state.counters["cp_ms"] = 1000 * cpSeconds / runs;
    state.counters["cp_fsync_ms"] = 1000 * syncSeconds / runs;
    state.counters["ratio"] = ratio;
    state.counters["rm_ms"] = 1000 * removeSeconds / runs;
    state.counters["ratio_to_cp_fsync_rm"] = rewriteSeconds / (cpSeconds + syncSeconds + removeSeconds);
    state.counters["peak_MiB"] = static_cast<double>(peakKiB) / 1024;
    state.SetLabel(std::string(cold ? "cold" : "warm") + " cache, grew by " + Bytes(grown) + ", peak " +
                   std::to_string(peakKiB) + " KiB, ratio goal " + (ratio <= kRatioGoal ? "met" : "NOT met"));
    if (peakKiB >= kMemoryLimitKiB) {
        const std::string error = "the rewrite's peak memory, " + std::to_string(peakKiB) + " KiB, reached 16 MiB";
        state.SkipWithError(error.c_str());
    }
}

// GrowCart in process on a file without a cart chunk, put back as it was
// between runs. Only the growth itself, with its syncs and the reload of
// the file, is timed.
void GrowWithoutRewrite(benchmark::State& state, Layout layout, bool append) {
    const DenseWave& wave = Wave(layout, state.range(0));
    const wave::CartWrites writes = {{wave::CartField::Title, kTitle}};
    std::uint64_t written = 0;
    std::int64_t grownBy = 0;
    for (auto _ : state) {
        Restore(wave);
        wave::WaveDocument doc;
        doc.OpenWave(wave.path.string());
        if (!doc.CanAddCart()) {
            state.SkipWithError("the file does not take a new cart chunk");
            break;
        }
        const IoMeter meter;
        const auto start = Clock::now();
        const wave::SaveResult grown = doc.GrowCart(writes, append);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        written += meter.delta().wchar;
        grownBy = FileSize(wave.path) - wave.size;
        if (!grown.ok || doc.Cart().Text(wave::CartField::Title) != kTitle) {
            state.SkipWithError(grown.ok ? "the title did not read back" : grown.error.c_str());
            break;
        }
    }
    Restore(wave);
    if (state.error_occurred()) return;
    const auto perGrowth = static_cast<std::int64_t>(written / static_cast<std::uint64_t>(state.iterations()));
    state.counters["bytes_written"] = static_cast<double>(perGrowth);
    state.SetLabel("wrote " + Bytes(perGrowth) + " per growth into " + Bytes(wave.size) + ", grew by " +
                   Bytes(grownBy));
    // Into a filler the length stays; at the end only the chunk is added.
    if (append ? grownBy <= 0 || grownBy > 16 * kKiB : grownBy != 0) {
        state.SkipWithError("the growth did not take the route asked for");
    }
}

}  // namespace

void RegisterGrowth() {
    benchmark::RegisterBenchmark("GrowthRewrite/1GiB/vs_cp/warm",
                                 [](benchmark::State& state) { RewriteAgainstCp(state, false); })
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(5);
    benchmark::RegisterBenchmark("GrowthRewrite/1GiB/vs_cp/cold",
                                 [](benchmark::State& state) { RewriteAgainstCp(state, true); })
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(5);
    benchmark::RegisterBenchmark("GrowthIntoFiller",
                                 [](benchmark::State& state) { GrowWithoutRewrite(state, Layout::Filler, false); })
        ->Arg(kMiB)
        ->Arg(kGiB)
        ->Unit(benchmark::kMicrosecond)
        ->UseManualTime()
        ->Iterations(20);
    benchmark::RegisterBenchmark("GrowthAppend",
                                 [](benchmark::State& state) { GrowWithoutRewrite(state, Layout::Plain, true); })
        ->Arg(kMiB)
        ->Arg(kGiB)
        ->Unit(benchmark::kMicrosecond)
        ->UseManualTime()
        ->Iterations(20);
}

void ReleaseGrowthFiles() { Store().reset(); }

}  // namespace bench
