#pragma once

#include <optional>
#include <string>
#include <vector>

namespace cli {

// A workbook of one sheet that spreadsheets open without reformatting a
// value: every cell a text cell and every column formatted as text (so
// "0101", "00:00:00" and "00123" stay as they are, also when typed in
// later), the first row a frozen header, columns as wide as their content,
// and the first readOnlyColumns columns greyed as ones an edit cannot change.
// Why it could not be written, or nothing.
std::optional<std::string> WriteTextSheet(const std::string& path, const std::vector<std::vector<std::string>>& rows,
                                          std::size_t readOnlyColumns);

}  // namespace cli
