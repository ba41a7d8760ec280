#include "cli/SpreadsheetForms.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

#include "wave/CartFields.h"

namespace cli {

namespace {

bool AllDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A decimal number in one canonical form ("007.50" and "7.5" alike), or
// nothing when the text is not one.
std::optional<std::string> CanonicalNumber(std::string_view text) {
    const bool negative = text.starts_with('-');
    if (negative) text.remove_prefix(1);
    const std::size_t point = std::min(text.find('.'), text.size());
    std::string_view whole = text.substr(0, point);
    std::string_view fraction = point < text.size() ? text.substr(point + 1) : std::string_view();
    if (!AllDigits(whole) || (point < text.size() && !AllDigits(fraction))) return std::nullopt;
    whole.remove_prefix(std::min(whole.find_first_not_of('0'), whole.size() - 1));
    fraction = fraction.substr(0, fraction.find_last_not_of('0') + 1);
    return (negative ? "-" : "") + std::string(whole) + (fraction.empty() ? "" : "." + std::string(fraction));
}

// Whether the cell is the file's long number of digits as a spreadsheet
// shows it in scientific notation ("1.23457E+19"), its digits rounded: the
// user cannot have typed that for a cut ID.
bool IsScientificForm(std::string_view cell, std::string_view fileValue) {
    if (!AllDigits(fileValue) || cell.find_first_of("Ee") == std::string_view::npos) return false;
    double shown = 0;
    double stored = 0;
    const auto [cellEnd, cellError] = std::from_chars(cell.data(), cell.data() + cell.size(), shown);
    const auto [fileEnd, fileError] = std::from_chars(fileValue.data(), fileValue.data() + fileValue.size(), stored);
    if (cellError != std::errc() || cellEnd != cell.data() + cell.size() || fileError != std::errc()) return false;
    // Six significant digits, as a General cell shows.
    return stored > 0 && std::abs(shown - stored) <= stored * 5e-6;
}

// The runs of digits in the text, split where it holds one of the
// separators; nothing when it holds anything else.
std::optional<std::vector<int>> NumbersOf(std::string_view text, std::string_view separators) {
    std::vector<int> numbers;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        const std::size_t end = std::min(text.find_first_of(separators, pos), text.size());
        const std::string_view part = text.substr(pos, end - pos);
        int number = 0;
        if (!AllDigits(part) || part.size() > 4) return std::nullopt;
        std::from_chars(part.data(), part.data() + part.size(), number);
        numbers.push_back(number);
        pos = end + 1;
    }
    return numbers;
}

// Whether a year written with two or four digits is the year.
bool SameYear(int written, int year) { return written == year || (written < 100 && written == year % 100); }

// "1/2/2027", "02.01.2027", "2027/01/02", "2.1.27": the date in the order
// of some locale, maybe followed by a midnight time.
bool IsLocaleDate(std::string_view cell, std::string_view fileValue) {
    const std::optional<std::vector<int>> stored = NumbersOf(fileValue, "-");
    if (!stored || stored->size() != 3) return false;
    for (const std::string_view midnight : {" 00:00:00", " 0:00:00", " 00:00", " 0:00", " 12:00:00 AM", " 12:00 AM"}) {
        if (cell.ends_with(midnight)) {
            cell.remove_suffix(midnight.size());
            break;
        }
    }
    const std::optional<std::vector<int>> n = NumbersOf(cell, "/.-");
    if (!n || n->size() != 3) return false;
    const int y = (*stored)[0];
    const int m = (*stored)[1];
    const int d = (*stored)[2];
    const auto& p = *n;
    return (p[0] == y && p[1] == m && p[2] == d) || (p[0] == m && p[1] == d && SameYear(p[2], y)) ||
           (p[0] == d && p[1] == m && SameYear(p[2], y));
}

// "12:00:00 AM", "7:08:09", "07:08 PM": the time on a 12- or 24-hour clock,
// its seconds left out only when they are 0.
bool IsLocaleTime(std::string_view cell, std::string_view fileValue) {
    const std::optional<std::vector<int>> stored = NumbersOf(fileValue, ":");
    if (!stored || stored->size() != 3) return false;
    int addHours = -1;  // none: a 24-hour clock
    if (cell.ends_with(" AM") || cell.ends_with(" PM")) {
        addHours = cell.ends_with(" PM") ? 12 : 0;
        cell.remove_suffix(3);
    }
    const std::optional<std::vector<int>> n = NumbersOf(cell, ":.");
    if (!n || n->size() < 2 || n->size() > 3) return false;
    int hour = (*n)[0];
    if (addHours >= 0) {
        if (hour < 1 || hour > 12) return false;
        hour = hour % 12 + addHours;
    }
    const int second = n->size() == 3 ? (*n)[2] : 0;
    return hour == (*stored)[0] && (*n)[1] == (*stored)[1] && second == (*stored)[2];
}

// The text with every CR LF and lone CR as LF, as spreadsheets keep line
// breaks inside a cell.
std::string WithLineFeeds(std::string_view text) {
    std::string fed;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        fed += text[i] == '\r' ? '\n' : text[i];
    }
    return fed;
}

}  // namespace

std::optional<std::string> SpreadsheetReformatOf(const CartColumn& column, std::string_view cell,
                                                 std::string_view fileValue) {
    if (AllDigits(cell) && AllDigits(fileValue) && fileValue.size() > cell.size() && fileValue.ends_with(cell) &&
        fileValue.find_first_not_of('0') >= fileValue.size() - cell.size()) {
        return "its leading zeros dropped";
    }
    const std::optional<std::string> number = CanonicalNumber(cell);
    if (number && number == CanonicalNumber(fileValue)) return "the number written another way";
    if (IsScientificForm(cell, fileValue)) return "its digits rounded to scientific notation";
    if (fileValue.find('\r') != std::string_view::npos && WithLineFeeds(cell) == WithLineFeeds(fileValue)) {
        return "its line breaks as line feeds";
    }
    const wave::FieldKind kind = column.row->kind;
    if (kind == wave::FieldKind::Date && IsLocaleDate(cell, fileValue)) return "the date in a locale's form";
    if (kind == wave::FieldKind::Time && IsLocaleTime(cell, fileValue)) return "the time in a locale's form";
    return std::nullopt;
}

std::optional<std::string> SheetCellRefusal(const CartColumn& column, std::string_view cell) {
    if (column.row->field != wave::CartField::Version) return std::nullopt;
    const auto characters = std::count_if(cell.begin(), cell.end(), [](char c) { return (c & 0xC0) != 0x80; });
    if (characters == 4) return std::nullopt;
    return "a cart version is four characters, as 0101; a spreadsheet drops leading zeros unless the column is "
           "imported as text";
}

}  // namespace cli
