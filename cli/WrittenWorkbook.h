#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace cli {

// Whether the workbook just written at `path` is whole: every XML document
// in it closes its root element, and the sheet holds `rows` rows. The
// workbook library writes each through a temporary file without checking
// those writes, so a full temporary folder or a file size limit would
// otherwise give a cut-short workbook and no error. Why it is not whole, or
// nothing.
std::optional<std::string> WorkbookProblem(const std::string& path, std::size_t rows);

}  // namespace cli
