#include <iostream>

#include "Commands.h"
#include "ErrorLine.h"
#include "JsonReport.h"
#include "TextReport.h"

namespace cli {

int RunShow(const std::vector<std::string>& files, bool json) {
    int status = kAllSucceeded;
    for (const std::string& file : files) {
        const LoadedFile loaded(file, wave::WaveStream::Mode::ReadOnly);
        if (json) {
            // Paths need not be UTF-8; a stray byte must not cost the report.
            std::cout << JsonReport(file, loaded).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)
                      << '\n';
        } else {
            PrintTextReport(std::cout, file, loaded);
        }
        std::cout.flush();
        if (!loaded.ok()) {
            ReportError(file, wave::MessageFor(loaded.failure).text);
            status = kSomeFileFailed;
        }
    }
    return status;
}

}  // namespace cli
