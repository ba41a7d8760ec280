// Waveform peaks of an hour of 48 kHz stereo 24-bit PCM (about 1 GB of real
// bytes), warm in the page cache: `reelmarker-cli peaks` against `cat FILE`
// (to /dev/null) and against ffmpeg's showwavespic, which draws the same
// overview, each started as a process in the same run. The file goes in a
// folder under $REELMARKER_GROWTH_DIR, else under the temporary directory.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <random>
#include <stdexcept>

#include "bench/BenchFiles.h"
#include "bench/Benchmarks.h"
#include "bench/Spawn.h"
#include "tests/support/WaveBuilder.h"

namespace bench {

namespace {

constexpr double kCatRatioGoal = 1.5;
constexpr double kFfmpegRatioGoal = 20;
constexpr std::uint32_t kRate = 48000;
constexpr std::uint64_t kDataBytes = std::uint64_t{60} * 60 * kRate * 2 * 3;

struct HourFile {
    fixture::TempDir dir;
    std::filesystem::path wav;

    explicit HourFile(const std::filesystem::path& base) : dir(base), wav(dir.file("hour-48k-24bit.wav")) {
        fixture::ByteVector head = fixture::WaveBuilder().chunk("fmt ", fixture::FormatBlock(1, 2, kRate, 24)).bytes();
        for (const char c : {'d', 'a', 't', 'a'}) head.push_back(static_cast<std::uint8_t>(c));
        fixture::PutLE(head, static_cast<std::uint32_t>(kDataBytes), 4);
        const auto riffSize = static_cast<std::uint32_t>(head.size() - 8 + kDataBytes);
        for (std::size_t i = 0; i < 4; ++i) head[4 + i] = static_cast<std::uint8_t>(riffSize >> (8 * i));
        const int fd = ::open(wav.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0) throw std::runtime_error("cannot create " + wav.string());
        bool ok = ::write(fd, head.data(), head.size()) == static_cast<ssize_t>(head.size());
        // Noise at every level, so no bucket is trivially flat.
        std::mt19937_64 random(5);
        std::vector<std::uint64_t> block(std::size_t{1} << 17);
        for (std::uint64_t done = 0; ok && done < kDataBytes;) {
            std::generate(block.begin(), block.end(), random);
            const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(kDataBytes - done, block.size() * 8));
            ok = ::write(fd, block.data(), n) == static_cast<ssize_t>(n);
            done += n;
        }
        // Written back before any timing, so the flush does not compete
        // with what is measured.
        ok = ok && ::fsync(fd) == 0;
        ::close(fd);
        if (!ok) throw std::runtime_error("cannot write " + wav.string());
    }
};

std::unique_ptr<HourFile>& Store() {
    static std::unique_ptr<HourFile> file;
    return file;
}

const HourFile& TheFile() {
    auto& file = Store();
    if (!file) {
        const char* chosen = std::getenv("REELMARKER_GROWTH_DIR");
        file =
            std::make_unique<HourFile>(chosen != nullptr && *chosen != '\0' ? std::filesystem::path(chosen)
                                                                            : std::filesystem::temp_directory_path());
    }
    return *file;
}

bool HaveFfmpeg() { return Spawn({"/bin/sh", "-c", "command -v ffmpeg"}).ok; }

// Each iteration: `cat`, then `peaks`, alternating so that both meet the
// same machine; ffmpeg once, as it takes tens of seconds.
void PeaksAgainstCatAndFfmpeg(benchmark::State& state) {
    const std::filesystem::path cli = ExecutableDir() / "reelmarker-cli";
    if (::access(cli.c_str(), X_OK) != 0) {
        state.SkipWithError("reelmarker-cli is not built yet");
        for (auto _ : state) {
        }
        return;
    }
    const HourFile& file = TheFile();
    const std::string out = file.dir.file("peaks.dat").string();
    // Warms the page cache.
    Spawn({"/bin/cat", file.wav.string()});
    double catSeconds = 0;
    double peaksSeconds = 0;
    long peakKiB = 0;
    for (auto _ : state) {
        const Spawned cat = Spawn({"/bin/cat", file.wav.string()});
        const Spawned peaks = Spawn({cli.string(), "peaks", "--output", out, file.wav.string()});
        if (!cat.ok || !peaks.ok) {
            state.SkipWithError(cat.ok ? "reelmarker-cli peaks failed" : "cat failed");
            break;
        }
        state.SetIterationTime(peaks.seconds);
        catSeconds += cat.seconds;
        peaksSeconds += peaks.seconds;
        peakKiB = std::max(peakKiB, peaks.peakKiB);
    }
    if (state.error_occurred()) return;
    const auto runs = static_cast<double>(state.iterations());
    const double catRatio = peaksSeconds / catSeconds;
    state.counters["cat_ms"] = 1000 * catSeconds / runs;
    state.counters["ratio_to_cat"] = catRatio;
    state.counters["peak_MiB"] = static_cast<double>(peakKiB) / 1024;
    std::string label = "cat ratio goal " + std::string(catRatio <= kCatRatioGoal ? "met" : "NOT met");
    if (HaveFfmpeg()) {
        const Spawned ffmpeg =
            Spawn({"/bin/sh", "-c",
                   "exec ffmpeg -v error -nostdin -y -i \"$0\" -filter_complex showwavespic=s=1920x240 -frames:v 1 "
                   "\"$1\"",
                   file.wav.string(), file.dir.file("wave.png").string()});
        if (!ffmpeg.ok) {
            state.SkipWithError("ffmpeg showwavespic failed");
            return;
        }
        const double ffmpegRatio = ffmpeg.seconds / (peaksSeconds / runs);
        state.counters["ffmpeg_ms"] = 1000 * ffmpeg.seconds;
        state.counters["ffmpeg_ratio"] = ffmpegRatio;
        label += ", ffmpeg " + std::to_string(static_cast<int>(ffmpegRatio)) + "x slower, goal " +
                 (ffmpegRatio >= kFfmpegRatioGoal ? "met" : "NOT met");
    } else {
        label += ", ffmpeg is not installed: its ratio is skipped";
    }
    state.SetLabel(label);
}

}  // namespace

void RegisterPeaks() {
    benchmark::RegisterBenchmark("Peaks/60min-48k-24bit-stereo/vs_cat_ffmpeg", PeaksAgainstCatAndFfmpeg)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(5);
}

const std::filesystem::path& HourOfAudio() { return TheFile().wav; }

void ReleasePeaksFiles() { Store().reset(); }

}  // namespace bench
