// The commands run in process, through the console the caller gives them:
// each command's own options, its report and its error lines, and the field
// checks `set` and `apply` share.
#include <gtest/gtest.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <sstream>

#include "cli/Commands.h"
#include "tests/support/WaveBuilder.h"

namespace {

using fixture::ByteVector;

struct Ran {
    int status = -1;
    std::string out;
    std::string err;
};

using AddCommand = std::unique_ptr<cli::Command> (*)(CLI::App&);

// Parses ARGS (the command's name first) on an app holding only that
// command, then runs it with string streams for a console.
Ran RunCommand(AddCommand add, std::vector<std::string> args, const std::string& input = {}) {
    CLI::App app;
    const std::unique_ptr<cli::Command> command = add(app);
    std::reverse(args.begin(), args.end());  // CLI11 takes the last argument first
    app.parse(args);
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    cli::Console console{in, out, err};
    Ran ran;
    ran.status = command->Run(console);
    ran.out = out.str();
    ran.err = err.str();
    return ran;
}

// The file's cart as `show --csv` gives it: the header row and its row.
std::string CsvOf(const std::string& path) { return RunCommand(cli::AddShowCommand, {"show", "--csv", path}).out; }

TEST(InProcess, ShowPrintsTheFormItsFlagsNameAndAFailureAsAnErrorLine) {
    fixture::TempDir dir;
    const std::string good = dir.write("a.wav", fixture::TypicalWave()).string();
    const std::string missing = dir.file("missing.wav").string();

    const Ran csv = RunCommand(cli::AddShowCommand, {"show", "--csv", good, missing});
    EXPECT_EQ(csv.status, cli::kSomeFileFailed);
    EXPECT_TRUE(csv.out.starts_with("file,version,title,")) << csv.out;
    EXPECT_NE(csv.out.find("\r\n" + good + ",0101,Morning Jingle,"), std::string::npos) << csv.out;
    EXPECT_EQ(csv.err, "reelmarker-cli: " + missing + ": Unable to open file. Make sure it is not in use.\n");

    const Ran json = RunCommand(cli::AddShowCommand, {"show", "--json", "--encoding", "utf-8", good});
    EXPECT_EQ(json.status, cli::kAllSucceeded);
    EXPECT_TRUE(json.out.starts_with("{\"file\":\"" + good + "\",\"ok\":true,")) << json.out;
    EXPECT_EQ(json.err, "");

    EXPECT_THROW(RunCommand(cli::AddShowCommand, {"show", "--csv", "--json", good}), CLI::ExcludesError);
}

TEST(InProcess, SetWritesTheNamedFieldsAndRefusesACommandLineNamingNone) {
    fixture::TempDir dir;
    const std::string path = dir.write("a.wav", fixture::TypicalWave()).string();

    const Ran dry = RunCommand(cli::AddSetCommand, {"set", "--dry-run", "--timer", "2=AB:7", path});
    EXPECT_EQ(dry.out, path + ": would write Post timers; nothing written\n");
    const std::string before = CsvOf(path);

    const Ran set =
        RunCommand(cli::AddSetCommand, {"set", "--title", "News", "--timer", "2=AB:7", "--clear-timer", "3", path});
    EXPECT_EQ(set.status, cli::kAllSucceeded) << set.err;
    EXPECT_EQ(set.out, path + ": saved Title, Post timers\n");
    std::string expected = before;
    expected.replace(expected.find("Morning Jingle"), 14, "News");
    expected.replace(expected.find("SEC1:88200,EOD :132300"), 22, "AB:7,");
    EXPECT_EQ(CsvOf(path), expected);

    EXPECT_THROW(RunCommand(cli::AddSetCommand, {"set", path}), CLI::ValidationError);
}

TEST(InProcess, ApplyTakesJsonTimersFromTheConsolesInputAsTyped) {
    fixture::TempDir dir;
    const std::string a = dir.write("a.wav", fixture::TypicalWave()).string();
    const std::string b = dir.write("b.wav", fixture::TypicalWave()).string();
    const std::string before = CsvOf(a);
    // A usage code may hold what the "N=USAGE:SAMPLES" text separates.
    const std::string edits =
        "{\"file\":\"" + a +
        "\",\"cart\":{\"postTimers\":[{\"usage\":\"\",\"value\":5},{\"usage\":\"A=:B\",\"value\":4294967295}]}}\n"
        "{\"file\":\"" +
        b + "\",\"cart\":{\"postTimers\":[null,null,{\"usage\":\"MARKS\",\"value\":1}]}}\n";

    const Ran apply = RunCommand(cli::AddApplyCommand, {"apply", "-"}, edits);
    EXPECT_EQ(apply.status, cli::kSomeFileFailed);
    EXPECT_EQ(apply.out, a + ": saved Post timers\n");
    EXPECT_EQ(apply.err,
              "reelmarker-cli: " + b + ": line 2: column timer3: the usage code must be 1 to 4 characters\n");
    std::string expected = before;
    expected.replace(expected.find("MRK :44100,SEC1:88200"), 21, ",A=:B:4294967295");
    EXPECT_EQ(CsvOf(a), expected);
    EXPECT_EQ(CsvOf(b), std::string(before).replace(before.find(a), a.size(), b));
}

TEST(InProcess, TimerTextAndTypedTimersMeetTheSameChecks) {
    const wave::CartFieldRow& timers = wave::RowOf(wave::CartField::Timers);
    const auto charset = wave::Charset::Windows1252;
    const cli::CheckedValue typed = cli::CheckTimer({2, "MRK", 7}, charset);
    const cli::CheckedValue text = cli::CheckValue(timers, "2=MRK:7", charset);
    ASSERT_TRUE(typed.write && text.write);
    EXPECT_EQ(typed.write->value, std::string("MRK\0\7\0\0\0", 8));
    EXPECT_EQ(text.write->value, typed.write->value);
    ASSERT_TRUE(typed.write->part && text.write->part);
    EXPECT_EQ(typed.write->part->offset, wave::cart::kPostTimers + wave::cart::kPostTimerSize);
    EXPECT_EQ(text.write->part->offset, typed.write->part->offset);

    // Each part's limit in the order the parts come, whatever follows.
    EXPECT_EQ(cli::CheckValue(timers, "9=MARKS:x", charset).error, "the timer number must be 1 to 8");
    EXPECT_EQ(cli::CheckValue(timers, "1=MARKS:x", charset).error, "the usage code must be 1 to 4 characters");
    EXPECT_EQ(cli::CheckValue(timers, "1=MRK:x", charset).error,
              "the sample count must be a whole number from 0 to 4294967295");
    EXPECT_EQ(cli::CheckTimer({0, "MRK", 1}, charset).error, "the timer number must be 1 to 8");
    EXPECT_EQ(cli::ClearTimer(9).error, "the timer number must be 1 to 8");
}

}  // namespace
