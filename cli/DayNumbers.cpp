#include "cli/DayNumbers.h"

#include <charconv>
#include <chrono>
#include <cmath>

#include "wave/FieldCodecs.h"

namespace cli {

namespace {

constexpr double kSecondsPerDay = 86400.0;
// Day numbers of years 1900 to 9999, the years a cart date may hold.
constexpr double kLastDay = 2958465.0;

std::optional<double> NumberOf(const std::string& text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::string DateOf(double number, bool date1904) {
    using namespace std::chrono;
    auto days = static_cast<int>(std::floor(number));
    // The 1900 system counts a February 29 that 1900 did not have.
    const sys_days epoch = date1904    ? sys_days(1904y / 1 / 1)
                           : days < 61 ? sys_days(1899y / 12 / 31)
                                       : sys_days(1899y / 12 / 30);
    const year_month_day date(epoch + std::chrono::days(days));
    return wave::FormatDate(static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
                            static_cast<int>(static_cast<unsigned>(date.day())));
}

std::string TimeOf(double number) {
    const auto seconds = static_cast<int>(std::lround((number - std::floor(number)) * kSecondsPerDay)) % 86400;
    return wave::FormatTime(seconds / 3600, seconds / 60 % 60, seconds % 60);
}

}  // namespace

std::string DayNumberAsText(const CartColumn& column, const std::string& number, bool date1904) {
    const wave::FieldKind kind = column.row->kind;
    if (kind != wave::FieldKind::Date && kind != wave::FieldKind::Time) return number;
    const std::optional<double> value = NumberOf(number);
    if (!value || *value < 0 || *value > kLastDay) return number;
    return kind == wave::FieldKind::Date ? DateOf(*value, date1904) : TimeOf(*value);
}

}  // namespace cli
