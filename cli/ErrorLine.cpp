#include "cli/ErrorLine.h"

#include "cli/LoadedFile.h"

namespace cli {

std::string OneLine(std::string_view message) {
    std::string line;
    bool inBreak = false;
    for (const char c : message) {
        const bool lineBreak = c == '\n' || c == '\r';
        if (lineBreak && !inBreak) line.push_back(' ');
        if (!lineBreak) line.push_back(c);
        inBreak = lineBreak;
    }
    return line;
}

void ReportError(Console& console, std::string_view file, std::string_view message) {
    // What was reported on the files before comes before the error line.
    console.out.flush();
    console.err << kApplicationName << ": " << file << ": " << OneLine(message) << '\n';
}

}  // namespace cli
