#pragma once

#include <cstdint>
#include <string>

namespace player {

// " Playing: HH:MM:SS / HH:MM:SS" from a position and a duration in 100 ns
// units: fractions of a second dropped, hours wrapping at 24.
std::string PlayingLine(std::int64_t position, std::int64_t duration);

}  // namespace player
