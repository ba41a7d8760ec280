// reelmarker-cli: shows and edits the broadcast metadata of WAV files in
// batch, with the desktop program's loader and saver.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <iostream>
#include <memory>

#include "cli/Commands.h"
#include "cli/LoadedFile.h"

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
    const std::unique_ptr<cli::Command> commands[] = {cli::AddShowCommand(app), cli::AddSetCommand(app),
                                                      cli::AddApplyCommand(app), cli::AddCheckCommand(app),
                                                      cli::AddPeaksCommand(app)};
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? 0 : cli::kUsageError;
    }
    // The app takes exactly one command.
    const auto& named = *std::ranges::find_if(commands, [](const auto& command) { return command->Named(); });
    cli::Console console{std::cin, std::cout, std::cerr};
    return Finish(named->Run(console));
}
