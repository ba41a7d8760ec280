#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "wave/PostTimers.h"

namespace wave {

// Why a timer value is refused: it lies past the last frame of the audio
// (a value equal to the frame count marks the very end and is kept).
std::optional<std::string> ValueRefusal(std::uint64_t value, std::uint64_t frames, std::uint32_t sampleRate);

// One line for each type whose start lies after its end ("INTs (0:10.000)
// is after INTe (0:05.000)"). Automation systems misplay such pairs, yet
// some are deliberate, so they are warned about, not refused.
std::vector<std::string> OrderWarnings(const PostTimers& timers, std::uint32_t sampleRate);

}  // namespace wave
