#pragma once

#include <CLI/CLI.hpp>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/Console.h"
#include "cli/EditRows.h"
#include "cli/FieldOptions.h"
#include "cli/LoadedFile.h"
#include "cli/WriteOptionFlags.h"
#include "wave/WaveCheck.h"

namespace cli {

// Exit statuses of the tool.
inline constexpr int kAllSucceeded = 0;
inline constexpr int kSomeFileFailed = 1;
inline constexpr int kUsageError = 2;

// One command of the tool. Its Add function declares it and its options on
// the app; the command line fills them in, and the command it names runs.
class Command {
public:
    virtual ~Command() = default;
    Command(const Command&) = delete;
    Command& operator=(const Command&) = delete;

    // Whether the command line parsed named this command.
    bool Named() const { return command_->parsed(); }
    // Runs it with the options the command line gave; the exit status.
    virtual int Run(Console& console) const = 0;

protected:
    explicit Command(const CLI::App& command) : command_(&command) {}

private:
    const CLI::App* command_;
};

std::unique_ptr<Command> AddShowCommand(CLI::App& app);
std::unique_ptr<Command> AddSetCommand(CLI::App& app);
std::unique_ptr<Command> AddApplyCommand(CLI::App& app);
std::unique_ptr<Command> AddCheckCommand(CLI::App& app);
std::unique_ptr<Command> AddPeaksCommand(CLI::App& app);

// How `show` prints: labelled text, one JSON object per file, or one CSV
// row per file under a header row (after a UTF-8 byte order mark, which
// Excel needs to read anything but ASCII).
enum class ReportForm { Text, Json, Csv, CsvWithBom };

// Prints each file's format, bext and cart; opens files read-only.
int RunShow(const std::vector<std::string>& files, ReportForm form, ReadOptions options, Console& console);

// Writes the rows `show --csv` prints to a one-sheet .xlsx workbook whose
// cells are all text, so spreadsheets keep every value as it is.
int RunShowWorkbook(const std::vector<std::string>& files, const std::string& workbook, ReadOptions options,
                    Console& console);

// Rewrites the named fields of each file in place; every value is checked
// against each file before anything is written to it.
int RunSet(const std::vector<RequestedValue>& values, const std::vector<std::string>& files, WriteOptions write,
           ReadOptions options, Console& console);

// Rewrites the cart fields each row of the edits names (JSON Lines, CSV or a
// workbook; "-" for the console's input); each row is checked whole against
// its file first.
int RunApply(const std::string& edits, WriteOptions write, ReadOptions options, Console& console,
             CsvEncoding csvEncoding = CsvEncoding::Utf8);

// How `check` reports: JSON or text, and whether warnings fail a file.
struct CheckReportOptions {
    bool json = false;
    bool strict = false;
};

// Applies the rules to each file; 1 when any file has an error (or a
// warning, when strict) or cannot be opened.
int RunCheck(const std::vector<std::string>& files, const wave::CheckOptions& options, CheckReportOptions report,
             Console& console);

}  // namespace cli

namespace cli {

// What `peaks` writes: the JSON or the binary form of waveform data.
enum class PeaksOutput { Json, Dat };

// The form an output file's name asks for: .json or .dat; none otherwise.
std::optional<PeaksOutput> OutputForm(const std::string& name);

struct PeaksRequest {
    std::string file;
    std::optional<std::uint32_t> pixelsPerSecond;
    std::optional<std::uint32_t> samplesPerPixel;
    int bits = 16;
    std::string output;  // empty: JSON on the console's output
};

// Writes the file's peaks as waveform data; PCM is read straight from the
// data chunk, other codings are decoded.
int RunPeaks(const PeaksRequest& request, ReadOptions options, Console& console);

}  // namespace cli
