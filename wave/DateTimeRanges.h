#pragma once

#include <array>
#include <cstdint>

namespace wave {

// The values a date or time part may take when it is edited; the pages and
// the command line refuse anything outside them.
struct PartRange {
    const char* name;  // "year", as messages name the part
    std::uint32_t low;
    std::uint32_t high;
};

inline constexpr PartRange kYearRange{"year", 1900, 9999};
inline constexpr PartRange kMonthRange{"month", 1, 12};
inline constexpr PartRange kDayRange{"day", 1, 31};
inline constexpr PartRange kHourRange{"hour", 0, 23};
inline constexpr PartRange kMinuteRange{"minute", 0, 59};
inline constexpr PartRange kSecondRange{"second", 0, 59};

// The parts in the order they are written: "YYYY-MM-DD" and "HH:MM:SS".
inline constexpr std::array<PartRange, 3> kDateRanges{kYearRange, kMonthRange, kDayRange};
inline constexpr std::array<PartRange, 3> kTimeRanges{kHourRange, kMinuteRange, kSecondRange};

}  // namespace wave
