#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "wave/PostTimers.h"

namespace wave {

// The expected numbered tags of one list build ("MRK1", "SEC1", "EOD1"),
// each advancing only when it matches, so numbered codes are recognised
// only in sequence.
class PostTimerTags {
public:
    // The line for timer n (1 to 8) at the given sample rate.
    std::string FormatPostTimer(int n, const PostTimer& timer, std::uint32_t sampleRate);

private:
    int marker_ = 1;
    int secondary_ = 1;
    int end_ = 1;
};

// The eight lines of the post-timer list, timer 1 first.
std::vector<std::string> PostTimerLines(const PostTimers& timers, std::uint32_t sampleRate);

// The usage code's four characters in file order.
std::string UsageCode(std::uint32_t usage);
// The usage code as text: without the NULs that pad a shorter code to four
// bytes; empty for an unset timer.
std::string UsageText(std::uint32_t usage);

}  // namespace wave
