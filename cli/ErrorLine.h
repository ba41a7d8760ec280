#pragma once

#include <string>
#include <string_view>

#include "cli/Console.h"

namespace cli {

// The message with each run of line breaks turned into a single space, so
// that every failure takes one line.
std::string OneLine(std::string_view message);

// "reelmarker-cli: FILE: TEXT" on the console's error stream, after flushing
// its output.
void ReportError(Console& console, std::string_view file, std::string_view message);

}  // namespace cli
