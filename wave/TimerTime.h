#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wave {

// A timer's position as "m:ss.mmm" (minutes not wrapped at the hour), the
// milliseconds cut, never rounded up past the frame; "-" without a rate.
std::string MinutesText(std::uint64_t frames, std::uint32_t sampleRate);

// Frames for a typed time: "[[h:]m:]s[.fraction]", minutes and seconds
// below 60 where a larger unit is given, rounded to the nearest frame.
// None for anything else, a zero rate or more than 32 bits of frames.
std::optional<std::uint32_t> FramesOfTime(std::string_view text, std::uint32_t sampleRate);

}  // namespace wave
