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

// How `show` prints: labelled text, one JSON object per file, or one CSV
// row per file under a header row.
enum class ReportForm { Text, Json, Csv };

// Prints each file's format, bext and cart; opens files read-only.
int RunShow(const std::vector<std::string>& files, ReportForm form, ReadOptions options);

// Rewrites the named fields of each file in place; every value is checked
// against each file before anything is written to it.
int RunSet(const std::vector<RequestedValue>& values, const std::vector<std::string>& files, bool dryRun,
           ReadOptions options);

// Rewrites the cart fields each row of the edits names (JSON Lines or CSV,
// "-" for standard input); each row is checked whole against its file first.
int RunApply(const std::string& edits, bool dryRun, ReadOptions options);

}  // namespace cli
