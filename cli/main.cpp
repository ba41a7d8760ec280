// reelmarker-cli: shows and edits the broadcast metadata of WAV files in
// batch, with the desktop program's loader and saver.
#include <CLI/CLI.hpp>
#include <iostream>
#include <map>

#include "Commands.h"
#include "LoadedFile.h"

namespace {

// Standard output is flushed only before an error line and here, at the end,
// where a failed write still turns into a failure status.
int Finish(int status) {
    if (std::cout.flush()) return status;
    std::cerr << cli::kApplicationName << ": standard output could not be written\n";
    return cli::kSomeFileFailed;
}

// The file's character sets, as --encoding names them.
const std::map<std::string, wave::Charset> kCharsets = {
    {"windows-1252", wave::Charset::Windows1252}, {"latin-1", wave::Charset::Latin1}, {"utf-8", wave::Charset::Utf8}};

// A list option that takes one value each time it is given. Left as it is,
// it would also take the file names after it (and show "..." in the help).
void OneValueEach(CLI::Option* option) { option->expected(1)->allow_extra_args(false)->take_all(); }

}  // namespace

int main(int argc, char** argv) {
    // One large buffer of our own instead of a write, or a C library call,
    // per report.
    std::ios::sync_with_stdio(false);
    static char outputBuffer[std::size_t{1} << 16];
    std::cout.rdbuf()->pubsetbuf(outputBuffer, sizeof outputBuffer);
    CLI::App app{"Shows and edits the cart chunk of broadcast WAV files, in place.", cli::kApplicationName};
    app.set_version_flag("--version", std::string(cli::kApplicationName) + " " + REELMARKER_VERSION);
    app.require_subcommand(1);

    bool anyLayout = false;
    cli::ReadOptions readOptions;
    std::string encoding = "windows-1252";
    // How every command reads its files.
    auto addReadOptions = [&](CLI::App* command) {
        command->add_flag("--any-layout", anyLayout,
                          "Find the fmt, bext and cart chunks in any order, also in RF64 and BW64 files");
        command
            ->add_option("--encoding", encoding,
                         "Character set of the files' text: windows-1252 (default), latin-1 or utf-8; widths count "
                         "bytes")
            ->check(CLI::IsMember(kCharsets));
    };
    std::vector<std::string> showFiles;
    bool json = false;
    bool csv = false;
    CLI::App* show = app.add_subcommand("show", "Print the format, bext and cart chunk of each file.");
    CLI::Option* jsonFlag = show->add_flag("--json", json, "One JSON object per file, one per line");
    show->add_flag("--csv", csv, "A header row, then one CSV row of cart fields per file, for apply")
        ->excludes(jsonFlag);
    addReadOptions(show);
    show->add_option("FILE", showFiles, "WAV files")->required();

    std::vector<std::string> setFiles;
    bool dryRun = false;
    std::map<const wave::CartFieldRow*, std::string> texts;
    std::vector<std::pair<const wave::CartFieldRow*, CLI::Option*>> fieldOptions;
    std::vector<std::string> timers;
    std::vector<std::string> clearedTimers;
    const wave::CartFieldRow& timerRow = wave::RowOf(wave::CartField::Timers);
    CLI::App* set = app.add_subcommand("set", "Rewrite the named cart fields of each file in place.");
    set->add_flag("--dry-run", dryRun, "Check and report; write nothing");
    addReadOptions(set);
    for (const wave::CartFieldRow* row : cli::SettableFields()) {
        if (row == &timerRow) continue;
        fieldOptions.emplace_back(row, set->add_option(row->option, texts[row], cli::HelpFor(*row)));
    }
    OneValueEach(set->add_option(timerRow.option, timers, cli::HelpFor(timerRow)));
    OneValueEach(set->add_option(cli::kClearTimerOption, clearedTimers,
                                 "Clear post timer N (1 to 8) to eight NUL bytes; repeatable"));
    set->add_option("FILE", setFiles, "WAV files")->required();

    std::string edits;
    CLI::App* apply = app.add_subcommand("apply", "Rewrite the cart fields each row of an edits file names.");
    apply->add_flag("--dry-run", dryRun, "Check and report; write nothing");
    addReadOptions(apply);
    apply
        ->add_option("EDITS", edits,
                     "JSON Lines as show --json prints, or CSV as show --csv prints; - for standard input")
        ->required();

    try {
        app.parse(argc, argv);
        readOptions.charset = kCharsets.at(encoding);
        readOptions.walk = anyLayout ? wave::ChunkWalk::AnyLayout : wave::ChunkWalk::FixedOrder;
        if (apply->parsed()) return Finish(cli::RunApply(edits, dryRun, readOptions));
        if (set->parsed()) {
            std::vector<cli::RequestedValue> values;
            for (const auto& [field, option] : fieldOptions) {
                if (option->count() > 0) values.push_back({field, texts[field]});
            }
            for (const std::string& timer : timers) values.push_back({&timerRow, timer});
            for (const std::string& number : clearedTimers) values.push_back({&timerRow, number, true});
            if (values.empty()) throw CLI::ValidationError("set", "name at least one field to write");
            return Finish(cli::RunSet(values, setFiles, dryRun, readOptions));
        }
        const cli::ReportForm form = json ? cli::ReportForm::Json : csv ? cli::ReportForm::Csv : cli::ReportForm::Text;
        return Finish(cli::RunShow(showFiles, form, readOptions));
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? 0 : cli::kUsageError;
    }
}
