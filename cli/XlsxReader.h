#pragma once

#include <string_view>

#include "cli/EditRows.h"

namespace cli {

// Whether the edits are a zip archive, as every .xlsx workbook is.
bool IsWorkbook(std::string_view bytes);

// The first sheet of an .xlsx workbook as records, as CSV would give them:
// one per row that has cells, numbered by the sheet's row, each cell's text
// at its column. Shared and inline strings, numbers (flagged so), booleans
// and cells in any order read as Excel, LibreOffice and Google Sheets write
// them.
SheetRows ReadWorkbookSheet(std::string_view bytes);

}  // namespace cli
