#pragma once

#include <ostream>
#include <string>

#include "cli/LoadedFile.h"

namespace cli {

// The cell as RFC 4180 writes it: quoted, with quotes doubled, when it holds
// a comma, a quote or a line break.
void AppendCsvCell(std::string& line, std::string_view cell);

// `show --csv`: the header row, then one row per loaded file.
void PrintCsvHeader(std::ostream& out);
void PrintCsvRow(std::ostream& out, const std::string& file, const LoadedFile& loaded);

}  // namespace cli
