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
    constexpr const char* kAnyLayoutHelp =
        "Find the fmt, bext and cart chunks in any order, also in RF64 and BW64 files";
    std::vector<std::string> showFiles;
    bool json = false;
    CLI::App* show = app.add_subcommand("show", "Print the format, bext and cart chunk of each file.");
    show->add_flag("--json", json, "One JSON object per file, one per line");
    show->add_flag("--any-layout", anyLayout, kAnyLayoutHelp);
    show->add_option("FILE", showFiles, "WAV files")->required();

    std::vector<std::string> setFiles;
    bool dryRun = false;
    std::map<const wave::CartFieldRow*, std::string> texts;
    std::vector<std::pair<const wave::CartFieldRow*, CLI::Option*>> fieldOptions;
    CLI::App* set = app.add_subcommand("set", "Rewrite the named cart fields of each file in place.");
    set->add_flag("--dry-run", dryRun, "Check and report; write nothing");
    set->add_flag("--any-layout", anyLayout, kAnyLayoutHelp);
    for (const wave::CartFieldRow* row : cli::SettableFields()) {
        fieldOptions.emplace_back(row, set->add_option(row->option, texts[row], cli::HelpFor(*row)));
    }
    set->add_option("FILE", setFiles, "WAV files")->required();

    try {
        app.parse(argc, argv);
        const wave::ChunkWalk walk = anyLayout ? wave::ChunkWalk::AnyLayout : wave::ChunkWalk::FixedOrder;
        if (set->parsed()) {
            std::vector<cli::RequestedValue> values;
            for (const auto& [field, option] : fieldOptions) {
                if (option->count() > 0) values.emplace_back(field, texts[field]);
            }
            if (values.empty()) throw CLI::ValidationError("set", "name at least one field to write");
            return Finish(cli::RunSet(values, setFiles, dryRun, walk));
        }
        return Finish(cli::RunShow(showFiles, json, walk));
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? 0 : cli::kUsageError;
    }
}
