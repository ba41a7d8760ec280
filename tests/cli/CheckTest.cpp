// `reelmarker-cli check` as a script uses it: one line a finding and a
// count, JSON lines, and the exit status that tells a batch what failed.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tests/cli/CliRunner.h"
#include "tests/support/WaveBuilder.h"

namespace {

using fixture::ByteVector;
using fixture::WaveBuilder;

// A typical file whose end lies before its start: one warning, and the
// typical file's unpadded bext and reserved bytes.
ByteVector EndBeforeStart() {
    return fixture::TypicalWave(fixture::TypicalCart().text(wave::cart::kEndDate, "2000-01-01"));
}

ByteVector Truncated() {
    return WaveBuilder().chunk("fmt ", fixture::PcmFormat()).chunkDeclaring("data", 9000, ByteVector(40)).bytes();
}

TEST(Check, PrintsEachFindingAndACountAndFailsOnlyOnErrorsUnlessStrict) {
    const fixture::TempDir dir;
    const std::string warned = dir.write("warned.wav", EndBeforeStart()).string();
    const std::string broken = dir.write("broken.wav", Truncated()).string();

    const CliRun lenient = RunCli({"check", warned});
    EXPECT_EQ(lenient.status, 0) << lenient.err;
    EXPECT_NE(lenient.out.find(warned + ": warning C6: cart: the end (2000-01-01 23:59:59) is before the start "
                                        "(2001-05-06 07:08:09) (at byte "),
              std::string::npos)
        << lenient.out;
    EXPECT_NE(lenient.out.find(warned + ": 2 warnings\n"), std::string::npos) << lenient.out;
    EXPECT_EQ(RunCli({"check", "--strict", warned}).status, 1);

    const CliRun failed = RunCli({"check", warned, broken});
    EXPECT_EQ(failed.status, 1);
    EXPECT_NE(failed.out.find(broken + ": error S3: the \"data\" chunk declares 9000 bytes; the file holds 40 of "
                                       "them (at byte 36)"),
              std::string::npos)
        << failed.out;
    EXPECT_EQ(RunCli({"check", "--profile", "nosuch", warned}).status, 2);
}

TEST(Check, JsonGivesOneObjectAFileAndAnUnreadableFileItsError) {
    const fixture::TempDir dir;
    const std::string broken = dir.write("broken.wav", Truncated()).string();
    const std::string missing = (dir.path() / "missing.wav").string();

    const CliRun run = RunCli({"check", "--json", broken, missing});
    EXPECT_EQ(run.status, 1);
    std::istringstream lines(run.out);
    std::string line;
    ASSERT_TRUE(std::getline(lines, line));
    const nlohmann::json first = nlohmann::json::parse(line);
    EXPECT_EQ(first["file"], broken);
    EXPECT_EQ(first["errors"], 1);
    EXPECT_EQ(first["findings"][0]["rule"], "S3");
    EXPECT_EQ(first["findings"][0]["severity"], "error");
    EXPECT_EQ(first["findings"][0]["offset"], 36);
    ASSERT_TRUE(std::getline(lines, line));
    const nlohmann::json second = nlohmann::json::parse(line);
    EXPECT_EQ(second["findings"], nlohmann::json::array());
    EXPECT_EQ(second["error"], nlohmann::json::parse(RunCli({"show", "--json", missing}).out)["error"]);
}

}  // namespace
