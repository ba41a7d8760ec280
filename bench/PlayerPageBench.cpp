// The Player page opening an hour of 48 kHz stereo 24-bit PCM (the peaks
// benchmark's file), and an hour of A-law, which is decoded, warm in the
// page cache, offscreen: the longest the window's event loop went without a
// turn from the open until the overview is complete, and the most memory the
// process held over that time beyond what it held before, each against its
// limit.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <fstream>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/Benchmarks.h"
#include "bench/Spawn.h"
#include "player/WaveformView.h"
#include "tests/support/WaveBuilder.h"
#include "tests/ui/UiFixture.h"

namespace bench {

namespace {

constexpr double kGapLimitMs = 50;
constexpr double kExtraLimitMiB = 32;

// A line of /proc/self/status, in KiB ("VmRSS", "VmHWM").
long StatusKiB(const std::string& key) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(key + ":", 0) == 0) return std::stol(line.substr(key.size() + 1));
    }
    return -1;
}

// Sets the peak resident set back to the present one, so that VmHWM then
// holds the peak from here on.
bool ResetPeakResident() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    return static_cast<bool>(clear.flush());
}

// Ticks every millisecond and keeps the longest time between two ticks: a
// loop busy elsewhere, or blocked, ticks late.
class LoopWatch {
public:
    LoopWatch() {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            longestNs_ = std::max(longestNs_, clock_.nsecsElapsed());
            clock_.restart();
        });
    }
    void Start() {
        longestNs_ = 0;
        clock_.start();
        timer_.start();
    }
    double Stop() {
        timer_.stop();
        return static_cast<double>(std::max(longestNs_, clock_.nsecsElapsed())) / 1e6;
    }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 longestNs_ = 0;
};

struct Opened {
    bool ok = false;
    double longestGapMs = 0;
    double extraMiB = 0;
    double overviewMs = 0;
};

// Opens the file on the Player page and waits, in the event loop, for its
// overview.
Opened OpenAndWait(UiFixture& ui, const std::filesystem::path& path, LoopWatch& watch) {
    CPlayerPage& page = ui.Sheet().m_PlayerPage;
    QEventLoop loop;
    bool ok = false;
    const QMetaObject::Connection done = QObject::connect(&page, &CPlayerPage::overviewFinished, &loop, [&](bool good) {
        ok = good;
        loop.quit();
    });
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    Opened opened;
    const bool resetOk = ResetPeakResident();
    const long before = StatusKiB("VmRSS");
    QElapsedTimer clock;
    clock.start();
    watch.Start();
    ui.Open(path);
    ui.ShowPage(kPlayerPage);
    loop.exec();
    opened.longestGapMs = watch.Stop();
    opened.overviewMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    QObject::disconnect(done);
    opened.extraMiB = static_cast<double>(StatusKiB("VmHWM") - before) / 1024;
    // Noise reaches every bucket: fewer drawn means the overview stopped short.
    const bool whole = page.m_waveform->BucketsShown() > OverviewPeaks::kColumns * 9 / 10;
    opened.ok = ok && whole && resetOk && before > 0;
    return opened;
}

// An hour of 48 kHz stereo A-law (about 330 MiB of real bytes), which the
// overview decodes through GStreamer; in a folder of its own, removed with it.
struct ALawHour {
    fixture::TempDir dir;
    std::filesystem::path wav = dir.file("hour-alaw.wav");

    ALawHour() {
        constexpr std::uint64_t kDataBytes = std::uint64_t{60} * 60 * 48000 * 2;
        fixture::ByteVector head = fixture::WaveBuilder().chunk("fmt ", fixture::FormatBlock(6, 2, 48000, 8)).bytes();
        for (const char c : {'d', 'a', 't', 'a'}) head.push_back(static_cast<std::uint8_t>(c));
        fixture::PutLE(head, static_cast<std::uint32_t>(kDataBytes), 4);
        const auto riffSize = static_cast<std::uint32_t>(head.size() - 8 + kDataBytes);
        for (std::size_t i = 0; i < 4; ++i) head[4 + i] = static_cast<std::uint8_t>(riffSize >> (8 * i));
        std::ofstream out(wav, std::ios::binary);
        out.write(reinterpret_cast<const char*>(head.data()), static_cast<std::streamsize>(head.size()));
        // Noise at every level, as the PCM hour holds.
        std::mt19937_64 random(7);
        std::vector<std::uint64_t> block(std::size_t{1} << 17);
        for (std::uint64_t done = 0; out && done < kDataBytes;) {
            std::generate(block.begin(), block.end(), random);
            const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(kDataBytes - done, block.size() * 8));
            out.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(n));
            done += n;
        }
        if (!out.flush()) throw std::runtime_error("cannot write " + wav.string());
    }
};

void PlayerPageOverview(benchmark::State& state, bool decoded) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "reelmarker-bench";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    const std::unique_ptr<ALawHour> alaw = decoded ? std::make_unique<ALawHour>() : nullptr;
    const std::filesystem::path& hour = decoded ? alaw->wav : HourOfAudio();
    Spawn({"/bin/cat", hour.string()});  // warms the page cache
    UiFixture ui;
    // Another name for the same file, so that each open starts the overview anew.
    const std::filesystem::path other = ui.dir.file("hour-again.wav");
    std::filesystem::create_symlink(hour, other);
    LoopWatch watch;
    // The first open loads fonts and plug-ins and draws every control once.
    if (!OpenAndWait(ui, other, watch).ok) {
        state.SkipWithError("the overview of the hour did not complete");
        return;
    }
    double longestGapMs = 0;
    double extraMiB = 0;
    double overviewMs = 0;
    int run = 0;
    for (auto _ : state) {
        const Opened opened = OpenAndWait(ui, run++ % 2 == 0 ? hour : other, watch);
        if (!opened.ok) {
            state.SkipWithError("the overview of the hour did not complete");
            return;
        }
        state.SetIterationTime(opened.overviewMs / 1000);
        longestGapMs = std::max(longestGapMs, opened.longestGapMs);
        extraMiB = std::max(extraMiB, opened.extraMiB);
        overviewMs += opened.overviewMs;
    }
    state.counters["longest_gap_ms"] = longestGapMs;
    state.counters["extra_MiB"] = extraMiB;
    state.counters["overview_ms"] = overviewMs / static_cast<double>(state.iterations());
    state.SetLabel("event loop gap " + std::to_string(longestGapMs) + " ms (limit 50: " +
                   (longestGapMs <= kGapLimitMs ? "met" : "NOT met") + "), extra memory " + std::to_string(extraMiB) +
                   " MiB (limit 32: " + (extraMiB <= kExtraLimitMiB ? "met" : "NOT met") + ")");
}

}  // namespace

void RegisterPlayerPage() {
    benchmark::RegisterBenchmark("PlayerPage/60min-48k-24bit-stereo/overview", PlayerPageOverview, false)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(4);
    benchmark::RegisterBenchmark("PlayerPage/60min-48k-alaw-stereo/overview", PlayerPageOverview, true)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(2);
}

}  // namespace bench
