#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "cli/CartCells.h"

namespace cli {

// Spreadsheets read "0101" as the number 101 and "00:00:00" as a time they
// write back as "12:00:00 AM". A sheet's cell that differs from the file's
// value only so was never edited: this says how it was reformatted ("its
// leading zeros dropped"), or nothing when the cell says something else.
std::optional<std::string> SpreadsheetReformatOf(const CartColumn& column, std::string_view cell,
                                                 std::string_view fileValue);

// Why a sheet's cell cannot be this column's value although the column would
// take it: a cart version is four characters, and one that is not was most
// likely a number to the spreadsheet. Nothing when it may be written.
std::optional<std::string> SheetCellRefusal(const CartColumn& column, std::string_view cell);

}  // namespace cli
