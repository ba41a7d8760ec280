#include <algorithm>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <cctype>
#include <fstream>

#include "cli/Commands.h"
#include "cli/CsvReport.h"
#include "cli/ErrorLine.h"
#include "cli/JsonReport.h"
#include "cli/OutputFile.h"
#include "cli/ReadOptionFlags.h"
#include "cli/SheetThread.h"
#include "cli/TextReport.h"
#include "cli/XlsxReader.h"
#include "texts/LoadFailureTexts.h"

namespace cli {

namespace {

// `show --xlsx *.wav`, the workbook's name forgotten, would write the
// workbook over the first WAV file: the name must say it is a workbook, and
// an existing file is replaced only when it is one.
std::string WorkbookNameProblem(const std::string& path) {
    std::string lower = path;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    if (!lower.ends_with(".xlsx")) return "the workbook's name must end in .xlsx: " + path;
    std::ifstream existing(path, std::ios::binary);
    char magic[4] = {};
    if (existing && (!existing.read(magic, sizeof magic) || !IsWorkbook(std::string_view(magic, sizeof magic))))
        return path + " exists and is not a workbook; it is not replaced";
    return {};
}

class ShowCommand : public Command {
public:
    explicit ShowCommand(CLI::App& show) : Command(show) {
        CLI::Option* jsonFlag = show.add_flag("--json", json_, "One JSON object per file, one per line");
        CLI::Option* csvFlag =
            show.add_flag("--csv", csv_, "A header row, then one CSV row of cart fields per file, for apply")
                ->excludes(jsonFlag);
        show.add_flag("--bom", bom_, "With --csv: start with a UTF-8 byte order mark, so Excel reads it as UTF-8")
            ->needs(csvFlag);
        show.add_option("--xlsx", xlsx_,
                        "Write the rows --csv prints to this .xlsx workbook instead, every cell as text, for apply")
            ->excludes(jsonFlag)
            ->excludes(csvFlag)
            ->check(CLI::Validator(WorkbookNameProblem, "OUT.xlsx"));
        read_.AddTo(show);
        show.add_option("FILE", files_, "WAV files")->required();
    }

    int Run(Console& console) const override {
        if (!xlsx_.empty()) return RunShowWorkbook(files_, xlsx_, read_.Options(), console);
        const ReportForm form = json_  ? ReportForm::Json
                                : csv_ ? (bom_ ? ReportForm::CsvWithBom : ReportForm::Csv)
                                       : ReportForm::Text;
        return RunShow(files_, form, read_.Options(), console);
    }

private:
    std::vector<std::string> files_;
    bool json_ = false;
    bool csv_ = false;
    bool bom_ = false;
    std::string xlsx_;
    ReadOptionFlags read_;
};

// The workbook's library compresses each file it zips with buffers of its
// own, freed after each one. glibc would hand that memory back to the
// system each time (a madvise, and a page fault per page for the next
// file); a run this short can keep it.
void KeepFreedMemory() {
#ifdef __GLIBC__
    constexpr int kKeep = 64 << 20;
    ::mallopt(M_TRIM_THRESHOLD, kKeep);
#endif
}

}  // namespace

std::unique_ptr<Command> AddShowCommand(CLI::App& app) {
    return std::make_unique<ShowCommand>(
        *app.add_subcommand("show", "Print the format, bext and cart chunk of each file."));
}

int RunShow(const std::vector<std::string>& files, ReportForm form, ReadOptions options, Console& console) {
    int status = kAllSucceeded;
    JsonReport report;
    if (form == ReportForm::CsvWithBom) console.out << kUtf8ByteOrderMark;
    if (form == ReportForm::Csv || form == ReportForm::CsvWithBom) PrintCsvHeader(console.out);
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
            case ReportForm::CsvWithBom:
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

int RunShowWorkbook(const std::vector<std::string>& files, const std::string& workbook, ReadOptions options,
                    Console& console) {
    int status = kAllSucceeded;
    KeepFreedMemory();
    // A workbook already there stays until the new one is whole.
    ReplacingFile output(workbook);
    if (output.Name().empty()) {
        ReportError(console, workbook, output.Commit());
        return kSomeFileFailed;
    }
    // The file column names the file; apply cannot change it.
    SheetThread sheet(output.Name(), 1);
    sheet.AddRow(CsvHeaderCells());
    for (const std::string& file : files) {
        const LoadedFile loaded(file, wave::WaveStream::Mode::ReadOnly, options);
        if (loaded.Ok()) {
            sheet.AddRow(CsvRowCells(file, loaded));
        } else {
            ReportError(console, file, texts::MessageFor(loaded.failure).text);
            status = kSomeFileFailed;
        }
    }
    if (const std::optional<std::string> error = sheet.Close()) {
        ReportError(console, workbook, *error);
        return kSomeFileFailed;
    }
    if (const std::string why = output.Commit(); !why.empty()) {
        ReportError(console, workbook, why);
        return kSomeFileFailed;
    }
    return status;
}

}  // namespace cli
