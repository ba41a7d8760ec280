#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace wave {

// Days in a month of the Gregorian calendar, leap years included.
std::uint32_t DaysInMonth(std::uint32_t year, std::uint32_t month);

// Why a date whose parts are each in range names no day of the calendar
// ("February 2026 has 28 days"), or nothing when it is a real day. The
// caller puts the field's name in front.
std::optional<std::string> ImpossibleDate(std::uint32_t year, std::uint32_t month, std::uint32_t day);

}  // namespace wave
