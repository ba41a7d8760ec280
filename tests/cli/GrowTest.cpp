// `set` and `apply` with `--grow` and `--append`: a cart chunk is added or enlarged only on the
// user's word, and the refusal without it says which word.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/cli/CliRunner.h"
#include "tests/support/WaveBuilder.h"

namespace {

using fixture::ByteVector;
using fixture::WaveBuilder;

ByteVector PlainPcm() {
    return WaveBuilder().chunk("fmt ", fixture::PcmFormat()).chunk("data", ByteVector(400, 0x11)).bytes();
}

ByteVector Text(const std::string& text) { return {text.begin(), text.end()}; }

TEST(Grow, AFileWithoutCartIsRefusedUntilGrowIsGiven) {
    fixture::TempDir dir;
    const std::string path = dir.write("a.wav", PlainPcm()).string();

    const CliRun refused = RunCli({"set", "--title", "News", path});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("--grow adds one"), std::string::npos) << refused.err;
    EXPECT_EQ(fixture::ReadFile(path), PlainPcm());

    const CliRun dry = RunCli({"set", "--grow", "--dry-run", "--title", "News", path});
    EXPECT_EQ(dry.status, 0) << dry.err;
    EXPECT_NE(dry.out.find("would write Title (cart chunk added); nothing written"), std::string::npos) << dry.out;
    EXPECT_EQ(fixture::ReadFile(path), PlainPcm());

    const CliRun grown = RunCli({"set", "--grow", "--title", "News", path});
    EXPECT_EQ(grown.status, 0) << grown.err;
    EXPECT_NE(grown.out.find("saved Title (cart chunk added)"), std::string::npos) << grown.out;
    const CliRun shown = RunCli({"show", "--json", path});
    EXPECT_NE(shown.out.find("\"title\":\"News\""), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("\"version\":\"0101\""), std::string::npos) << shown.out;
}

TEST(Grow, LongTagTextNamesGrowAndAppendPutsTheChunkLast) {
    fixture::TempDir dir;
    const std::string path = dir.write("a.wav", fixture::TypicalWave()).string();
    const std::string text(600, 'q');

    const CliRun refused = RunCli({"set", "--tag-text", text, path});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("(--grow enlarges the chunk)"), std::string::npos) << refused.err;

    const CliRun appended = RunCli({"set", "--append", "--tag-text", text, path});
    EXPECT_EQ(appended.status, 0) << appended.err;
    EXPECT_NE(appended.out.find("(cart chunk enlarged)"), std::string::npos) << appended.out;
    // The enlarged chunk is last, so the fixed-order walk no longer reaches it.
    const CliRun shown = RunCli({"show", "--json", "--any-layout", path});
    EXPECT_NE(shown.out.find("\"tagText\":\"" + text + "\""), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("\"title\":\"Morning Jingle\""), std::string::npos) << shown.out;
}

TEST(Grow, AHardLinkedFileIsNotRewrittenButCanBeAppendedTo) {
    fixture::TempDir dir;
    const std::string path = dir.write("a.wav", PlainPcm()).string();
    std::filesystem::create_hard_link(path, dir.path() / "b.wav");

    const CliRun refused = RunCli({"set", "--grow", "--title", "News", path});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("2 hard links"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("--append"), std::string::npos) << refused.err;
    EXPECT_EQ(fixture::ReadFile(path), PlainPcm());

    EXPECT_EQ(RunCli({"set", "--append", "--title", "News", path}).status, 0);
    EXPECT_EQ(fixture::ReadFile(dir.path() / "b.wav"), fixture::ReadFile(path));  // still one file
}

TEST(Grow, ApplyAddsACartOnlyWhereARowChangesAFieldOfTheNewOne) {
    fixture::TempDir dir;
    const std::string a = dir.write("a.wav", PlainPcm()).string();
    const std::string b = dir.write("b.wav", PlainPcm()).string();
    // b's row holds only what a new cart chunk would hold anyway.
    const std::string edits =
        dir.write("edits.csv", Text("file,version,title\r\n" + a + ",0101,News\r\n" + b + ",0101,\r\n")).string();

    const CliRun refused = RunCli({"apply", edits});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find(a + ": line 2: This is a valid wave file but cart chunk not found. (--grow adds one)"),
              std::string::npos)
        << refused.err;
    EXPECT_EQ(fixture::ReadFile(a), PlainPcm());

    const CliRun grown = RunCli({"apply", "--grow", edits});
    EXPECT_EQ(grown.status, 0) << grown.err;
    EXPECT_NE(grown.out.find(a + ": saved Title (cart chunk added)"), std::string::npos) << grown.out;
    EXPECT_NE(grown.out.find(b + ": nothing to change"), std::string::npos) << grown.out;
    EXPECT_EQ(fixture::ReadFile(b), PlainPcm());
    EXPECT_NE(RunCli({"show", "--json", a}).out.find("\"title\":\"News\""), std::string::npos);

    // Fed back, the file's own values change nothing, also with --grow.
    const std::string shown = dir.write("shown.jsonl", Text(RunCli({"show", "--json", a}).out)).string();
    const ByteVector before = fixture::ReadFile(a);
    EXPECT_NE(RunCli({"apply", "--grow", shown}).out.find("nothing to change"), std::string::npos);
    EXPECT_EQ(fixture::ReadFile(a), before);
}

}  // namespace
