#pragma once

#include <QObject>
#include <QPointer>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "player/PeakMailbox.h"

// The whole file's waveform overview, computed on a thread of its own so
// the window never waits for it: PCM straight from the data chunk, other
// codings decoded. Parts are handed to the window's thread as they come,
// merged while the window is busy.
class OverviewPeaks {
public:
    // Columns the overview aims at; more than any screen is wide.
    static constexpr std::uint64_t kColumns = 4096;

    using Part = PeakMailbox::Part;
    struct Shape {
        std::uint16_t channels = 0;
        std::uint64_t framesPerBucket = 1;
        // The length the buckets were sized from: exact for PCM, for decoded
        // audio an estimate from the data size, settled at the end.
        std::uint64_t expectedFrames = 0;
        std::uint64_t frames = 0;  // 0 until known (decoded audio: at the end)
    };

    OverviewPeaks() = default;
    ~OverviewPeaks() { Stop(); }
    OverviewPeaks(const OverviewPeaks&) = delete;
    OverviewPeaks& operator=(const OverviewPeaks&) = delete;

    // Starts on the file; a run already going is stopped first. The calls
    // come on `receiver`'s thread, and not at all once it is gone: `shaped`
    // first, then the parts, then `finished` with the length settled (a
    // decoded file whose channels were not the ones its format named is
    // shaped and sent whole again before it).
    void Start(const std::string& path, QObject* receiver, std::function<void(const Shape&)> shaped,
               std::function<void(const Part&)> arrived, std::function<void(const Shape&, bool ok)> finished);
    // Cancels and waits: the loop notices within one block.
    void Stop();
    bool Running() const { return worker_.joinable(); }

private:
    std::thread worker_;
    std::atomic<bool> cancel_{false};
};
