#pragma once

#include <string>
#include <utility>
#include <vector>

#include "FieldOptions.h"
#include "LoadedFile.h"
#include "WaveDocument.h"

namespace cli {

// Exit statuses of the tool.
inline constexpr int kAllSucceeded = 0;
inline constexpr int kSomeFileFailed = 1;
inline constexpr int kUsageError = 2;

// Prints each file's format, bext and cart; opens files read-only.
int RunShow(const std::vector<std::string>& files, bool json, ReadOptions options);

// Rewrites the named fields of each file in place; every value is checked
// against each file before anything is written to it.
int RunSet(const std::vector<RequestedValue>& values, const std::vector<std::string>& files, bool dryRun,
           ReadOptions options);

}  // namespace cli
