#include "cli/Commands.h"
#include "cli/CsvReport.h"
#include "cli/ErrorLine.h"
#include "cli/JsonReport.h"
#include "cli/ReadOptionFlags.h"
#include "cli/TextReport.h"
#include "texts/LoadFailureTexts.h"

namespace cli {

namespace {

class ShowCommand : public Command {
public:
    explicit ShowCommand(CLI::App& show) : Command(show) {
        CLI::Option* jsonFlag = show.add_flag("--json", json_, "One JSON object per file, one per line");
        show.add_flag("--csv", csv_, "A header row, then one CSV row of cart fields per file, for apply")
            ->excludes(jsonFlag);
        read_.AddTo(show);
        show.add_option("FILE", files_, "WAV files")->required();
    }

    int Run(Console& console) const override {
        const ReportForm form = json_ ? ReportForm::Json : csv_ ? ReportForm::Csv : ReportForm::Text;
        return RunShow(files_, form, read_.Options(), console);
    }

private:
    std::vector<std::string> files_;
    bool json_ = false;
    bool csv_ = false;
    ReadOptionFlags read_;
};

}  // namespace

std::unique_ptr<Command> AddShowCommand(CLI::App& app) {
    return std::make_unique<ShowCommand>(
        *app.add_subcommand("show", "Print the format, bext and cart chunk of each file."));
}

int RunShow(const std::vector<std::string>& files, ReportForm form, ReadOptions options, Console& console) {
    int status = kAllSucceeded;
    JsonReport report;
    if (form == ReportForm::Csv) PrintCsvHeader(console.out);
    for (const std::string& file : files) {
        const LoadedFile loaded(file, wave::WaveStream::Mode::ReadOnly, options);
        switch (form) {
            case ReportForm::Json: {
                const std::string_view line = report.Write(file, loaded);
                console.out.write(line.data(), static_cast<std::streamsize>(line.size())).put('\n');
                break;
            }
            // A file that did not load has no cart to put in the row.
            case ReportForm::Csv:
                if (loaded.Ok()) PrintCsvRow(console.out, file, loaded);
                break;
            case ReportForm::Text: PrintTextReport(console.out, file, loaded); break;
        }
        if (!loaded.Ok()) {
            ReportError(console, file, texts::MessageFor(loaded.failure).text);
            status = kSomeFileFailed;
        }
    }
    return status;
}

}  // namespace cli
