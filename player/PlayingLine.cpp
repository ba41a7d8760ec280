#include "player/PlayingLine.h"

#include <cstdio>

namespace player {

namespace {

constexpr std::int64_t kUnitsPerSecond = 10'000'000;

struct Clock {
    long hours;
    long minutes;
    long seconds;
};

Clock ClockOf(std::int64_t units) {
    const std::int64_t wholeSeconds = units / kUnitsPerSecond;
    const std::int64_t wholeMinutes = wholeSeconds / 60;
    const std::int64_t wholeHours = wholeMinutes / 60;
    return {static_cast<long>(wholeHours % 24), static_cast<long>(wholeMinutes % 60),
            static_cast<long>(wholeSeconds % 60)};
}

}  // namespace

std::string PlayingLine(std::int64_t position, std::int64_t duration) {
    const Clock at = ClockOf(position);
    const Clock length = ClockOf(duration);
    char line[64];
    std::snprintf(line, sizeof line, " Playing: %02ld:%02ld:%02ld / %02ld:%02ld:%02ld", at.hours, at.minutes,
                  at.seconds, length.hours, length.minutes, length.seconds);
    return line;
}

}  // namespace player
