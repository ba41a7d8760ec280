#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/LoadedFile.h"

namespace cli {

// The cell as RFC 4180 writes it: quoted, with quotes doubled, when it holds
// a comma, a quote or a line break.
void AppendCsvCell(std::string& line, std::string_view cell);

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// `show --csv`: the header row, then one row per loaded file.
void PrintCsvHeader(std::ostream& out);
void PrintCsvRow(std::ostream& out, const std::string& file, const LoadedFile& loaded);

// The same rows as cells, for a workbook.
std::vector<std::string> CsvHeaderCells();
std::vector<std::string> CsvRowCells(const std::string& file, const LoadedFile& loaded);

}  // namespace cli
