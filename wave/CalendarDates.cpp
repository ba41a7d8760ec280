#include "wave/CalendarDates.h"

#include <array>

namespace wave {

namespace {
constexpr std::array<const char*, 12> kMonthNames{"January",   "February", "March",    "April",
                                                  "May",       "June",     "July",     "August",
                                                  "September", "October",  "November", "December"};
constexpr std::array<std::uint32_t, 12> kDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

bool IsLeapYear(std::uint32_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }
}  // namespace

std::uint32_t DaysInMonth(std::uint32_t year, std::uint32_t month) {
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

std::optional<std::string> ImpossibleDate(std::uint32_t year, std::uint32_t month, std::uint32_t day) {
    const std::uint32_t days = DaysInMonth(year, month);
    if (days == 0 || day <= days) return std::nullopt;  // a month out of range is the range check's to name
    return std::string(kMonthNames[month - 1]) + " " + std::to_string(year) + " has " + std::to_string(days) + " days";
}

}  // namespace wave
