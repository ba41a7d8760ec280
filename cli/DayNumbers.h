#pragma once

#include <string>

#include "cli/CartCells.h"

namespace cli {

// A number a workbook stores in a date or time column, as the text the column
// takes: spreadsheets keep dates as days since 1899-12-30 (since 1904-01-01
// in 1904 workbooks) and times as fractions of a day. Other columns, and
// numbers that are no day, keep their text.
std::string DayNumberAsText(const CartColumn& column, const std::string& number, bool date1904);

}  // namespace cli
