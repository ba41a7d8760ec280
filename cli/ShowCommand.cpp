#include <iostream>

#include "Commands.h"
#include "CsvReport.h"
#include "ErrorLine.h"
#include "JsonReport.h"
#include "LoadFailureTexts.h"
#include "TextReport.h"

namespace cli {

int RunShow(const std::vector<std::string>& files, ReportForm form, ReadOptions options) {
    int status = kAllSucceeded;
    JsonReport report;
    if (form == ReportForm::Csv) PrintCsvHeader(std::cout);
    for (const std::string& file : files) {
        const LoadedFile loaded(file, wave::WaveStream::Mode::ReadOnly, options);
        switch (form) {
            case ReportForm::Json: {
                const std::string_view line = report.Write(file, loaded);
                std::cout.write(line.data(), static_cast<std::streamsize>(line.size())).put('\n');
                break;
            }
            // A file that did not load has no cart to put in the row.
            case ReportForm::Csv:
                if (loaded.ok()) PrintCsvRow(std::cout, file, loaded);
                break;
            case ReportForm::Text: PrintTextReport(std::cout, file, loaded); break;
        }
        if (!loaded.ok()) {
            ReportError(file, texts::MessageFor(loaded.failure).text);
            status = kSomeFileFailed;
        }
    }
    return status;
}

}  // namespace cli
