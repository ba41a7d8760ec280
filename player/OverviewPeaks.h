#pragma once

#include <QObject>
#include <QPointer>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

// The whole file's waveform overview, computed on a thread of its own so
// the window never waits for it: PCM straight from the data chunk, other
// codings decoded. Each part is handed to the window's thread as it comes.
class OverviewPeaks {
public:
    // Columns the overview aims at; more than any screen is wide.
    static constexpr std::uint64_t kColumns = 4096;

    struct Part {
        std::uint64_t firstBucket = 0;
        std::vector<std::int32_t> values;  // see wave::Peaks
    };
    struct Shape {
        std::uint16_t channels = 0;
        std::uint64_t framesPerBucket = 1;
        std::uint64_t frames = 0;  // 0 until known (decoded audio: at the end)
    };

    OverviewPeaks() = default;
    ~OverviewPeaks() { Stop(); }
    OverviewPeaks(const OverviewPeaks&) = delete;
    OverviewPeaks& operator=(const OverviewPeaks&) = delete;

    // Starts on the file; a run already going is stopped first. The calls
    // come on `receiver`'s thread, and not at all once it is gone.
    void Start(const std::string& path, QObject* receiver, std::function<void(const Shape&)> shaped,
               std::function<void(const Part&)> arrived, std::function<void(const Shape&, bool ok)> finished);
    // Cancels and waits: the loop notices within one block.
    void Stop();
    bool Running() const { return worker_.joinable(); }

private:
    std::thread worker_;
    std::atomic<bool> cancel_{false};
};
