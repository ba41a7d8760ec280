#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

// Where the peak worker leaves the buckets it changed until the window's
// thread takes them. Parts that come while one is waiting merge into it, so
// however fast the worker and however busy the window, one part at most is
// queued, and a new one is asked for at most once a period: the window
// repaints a few times a second, not once a block.
class PeakMailbox {
public:
    struct Part {
        std::uint64_t firstBucket = 0;
        std::vector<std::int32_t> values;  // see wave::Peaks
    };

    using Clock = std::chrono::steady_clock;
    static constexpr Clock::duration kPeriod = std::chrono::milliseconds(40);

    // `channels` sets a bucket's width: 2 values a channel.
    explicit PeakMailbox(std::uint16_t channels) : stride_(2u * std::max<std::uint16_t>(channels, 1)) {}

    // Keeps the buckets' values, replacing what was kept of them; true when
    // the caller should now have the window take the part.
    bool Put(std::uint64_t firstBucket, std::span<const std::int32_t> values, Clock::time_point now = Clock::now());
    // What changed since the last take (no values when nothing did).
    Part Take(Clock::time_point now = Clock::now());

private:
    const std::size_t stride_;
    std::mutex mutex_;
    Part pending_;
    bool asked_ = false;
    Clock::time_point lastTake_{};
};
