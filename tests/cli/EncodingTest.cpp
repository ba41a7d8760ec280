// `--encoding`: the file's text read and written in the named character set,
// widths counted in the file's bytes.
#include <gtest/gtest.h>

#include "tests/cli/CliRunner.h"
#include "tests/support/WaveBuilder.h"
#include "wave/FieldCodecs.h"

namespace {

using fixture::ByteVector;
namespace cart = wave::cart;

constexpr std::size_t kCartData = 12 + 8 + 16 + 8 + 631 + 8;

std::string TitleIn(const std::string& path) {
    const ByteVector file = fixture::ReadFile(path);
    return wave::ReadTextField(ByteVector(file.begin() + kCartData, file.end()), cart::kTitle);
}

TEST(Encoding, Utf8IsStoredAsItsBytesAndNeverCutInsideACharacter) {
    fixture::TempDir dir;
    const std::string path = dir.write("a.wav", fixture::TypicalWave()).string();
    std::string e32;
    for (int i = 0; i < 32; ++i) e32 += "\xC3\xA9";
    const CliRun fits = RunCli({"set", "--encoding", "utf-8", "--title", e32, "--timer", "1=\xC3\xA9:5", path});
    ASSERT_EQ(fits.status, 0) << fits.err;
    EXPECT_EQ(TitleIn(path), e32);

    const ByteVector before = fixture::ReadFile(path);
    const CliRun tooLong = RunCli({"set", "--encoding", "utf-8", "--title", e32 + "x", path});
    EXPECT_EQ(tooLong.status, 1);
    EXPECT_EQ(tooLong.err, "reelmarker-cli: " + path + ": --title: the text is 65 bytes long; at most 64 bytes fit\n");
    const CliRun usage = RunCli({"set", "--encoding", "utf-8", "--timer", "1=\xC3\xA9\xC3\xA9\xC3\xA9:5", path});
    EXPECT_EQ(usage.err, "reelmarker-cli: " + path + ": --timer: the usage code must be 1 to 4 characters\n");
    EXPECT_EQ(RunCli({"set", "--encoding", "utf-8", "--title", "\xC3", path}).status, 1);
    EXPECT_EQ(fixture::ReadFile(path), before);

    const CliRun shown = RunCli({"show", "--json", "--encoding", "utf-8", path});
    EXPECT_NE(shown.out.find("\"title\":\"" + e32 + "\""), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("{\"usage\":\"\xC3\xA9\",\"value\":5}"), std::string::npos) << shown.out;
}

TEST(Encoding, EachSetReadsTheSameBytesItsOwnWay) {
    fixture::TempDir dir;
    const std::string path =
        dir.write("a.wav", fixture::TypicalWave(fixture::TypicalCart().text(cart::kTitle, "\x80\xE9"))).string();
    auto titleShownAs = [&](const char* encoding) {
        const CliRun run = RunCli({"show", "--encoding", encoding, path});
        const std::size_t at = run.out.find("Title:");
        return run.out.substr(at, run.out.find('\n', at) - at);
    };
    EXPECT_EQ(titleShownAs("windows-1252"), "Title:                  \u20AC\u00E9");
    EXPECT_EQ(titleShownAs("latin-1"), "Title:                  \u0080\u00E9");
    EXPECT_EQ(titleShownAs("utf-8"), "Title:                  \uFFFD\uFFFD");
    EXPECT_EQ(RunCli({"show", "--encoding", "koi8-r", path}).status, 2);
}

}  // namespace
