#include <iostream>

#include "Commands.h"
#include "ErrorLine.h"
#include "JsonReport.h"
#include "TextReport.h"

namespace cli {

int RunShow(const std::vector<std::string>& files, bool json, ReadOptions options) {
    int status = kAllSucceeded;
    JsonReport report;
    for (const std::string& file : files) {
        const LoadedFile loaded(file, wave::WaveStream::Mode::ReadOnly, options);
        if (json) {
            const std::string_view line = report.Write(file, loaded);
            std::cout.write(line.data(), static_cast<std::streamsize>(line.size())).put('\n');
        } else {
            PrintTextReport(std::cout, file, loaded);
        }
        if (!loaded.ok()) {
            ReportError(file, wave::MessageFor(loaded.failure).text);
            status = kSomeFileFailed;
        }
    }
    return status;
}

}  // namespace cli
