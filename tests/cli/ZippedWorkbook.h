#pragma once

#include <string>
#include <utility>
#include <vector>

// A workbook of the given entries (name, text), zipped as any spreadsheet
// would.
void WriteWorkbook(const std::string& path, const std::vector<std::pair<std::string, std::string>>& entries);
