// `reelmarker-cli set`: only the named fields change, every value is
// checked first, and a refused value writes nothing.
#include <gtest/gtest.h>

#include "tests/cli/CliRunner.h"
#include "tests/support/Unwritable.h"
#include "tests/support/WaveBuilder.h"
#include "wave/BextRead.h"
#include "wave/FieldCodecs.h"

namespace {

using fixture::ByteVector;
namespace cart = wave::cart;

// The typical wave: fmt, bext (631 bytes, unpadded), cart, data.
constexpr std::size_t kCartData = 12 + 8 + 16 + 8 + 631 + 8;

std::string FieldIn(const ByteVector& file, wave::Field field) {
    return wave::ReadTextField(ByteVector(file.begin() + kCartData, file.end()), field);
}

std::vector<std::size_t> Changed(const ByteVector& a, const ByteVector& b) {
    std::vector<std::size_t> at;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        if (a[i] != b[i]) at.push_back(i - kCartData);
    }
    return at;
}

struct SetFixture : testing::Test {
    std::string write(const ByteVector& bytes = fixture::TypicalWave(), const std::string& name = "a.wav") {
        before = bytes;
        return dir.write(name, bytes).string();
    }
    // Each option with a good one beside it: refused with exactly the message,
    // status 1, and the file untouched.
    using Cases = std::vector<std::pair<std::vector<std::string>, std::string>>;
    void ExpectEachRefused(const std::string& path, const std::vector<std::string>& good, const Cases& cases) {
        for (const auto& [option, message] : cases) {
            std::vector<std::string> args = {"set"};
            args.insert(args.end(), good.begin(), good.end());
            args.insert(args.end(), option.begin(), option.end());
            args.push_back(path);
            const CliRun run = RunCli(args);
            EXPECT_EQ(run.status, 1) << message;
            EXPECT_EQ(run.err, "reelmarker-cli: " + path + ": " + message + "\n");
            EXPECT_EQ(fixture::ReadFile(path), before) << message;
        }
    }
    fixture::TempDir dir;
    ByteVector before;
};

TEST_F(SetFixture, RewritesOnlyTheNamedFields) {
    const std::string path = write();
    const CliRun run =
        RunCli({"set", "--title", "Caf\xC3\xA9", "--start-date", "2002-3-4", "--end-time", "5:06:07", path});
    EXPECT_EQ(run.status, 0) << run.err;
    const ByteVector after = fixture::ReadFile(path);
    ASSERT_EQ(after.size(), before.size());
    for (const std::size_t offset : Changed(before, after)) {
        const bool title = offset >= 4 && offset < 68;
        const bool date = offset >= 452 && offset < 462;
        const bool time = offset >= 480 && offset < 488;
        EXPECT_TRUE(title || date || time) << "cart byte " << offset;
    }
    EXPECT_EQ(FieldIn(after, cart::kTitle), "Caf\xE9");
    EXPECT_EQ(FieldIn(after, cart::kStartDate), "2002-03-04");
    EXPECT_EQ(FieldIn(after, cart::kEndTime), "05:06:07");
    EXPECT_EQ(FieldIn(after, cart::kArtist), "The Station Band");
}

TEST_F(SetFixture, EachLimitIsNamedByItsOptionAndWritesNothing) {
    const std::string path = write();
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--title", std::string(65, 'x')}, "--title: the text is 65 bytes long; at most 64 bytes fit"},
        {{"--artist", std::string(33, '\xC3') + std::string(1, '\xA9')}, "--artist: the text is not valid UTF-8"},
        {{"--out-cue", "fade \xE2\x86\x92 out"},
         "--out-cue: the character \"\xE2\x86\x92\" (U+2192) cannot be stored in the file's 8-bit character set"},
        {{"--url", std::string(1025, 'u')}, "--url: the text is 1025 bytes long; at most 1024 bytes fit"},
        {{"--start-date", "1899-12-31"}, "--start-date: year 1899 is out of range (1900 to 9999)"},
        {{"--start-date", "10000-01-01"}, "--start-date: year 10000 is out of range (1900 to 9999)"},
        {{"--end-date", "2000-13-01"}, "--end-date: month 13 is out of range (1 to 12)"},
        {{"--end-date", "2000-00-01"}, "--end-date: month 0 is out of range (1 to 12)"},
        {{"--end-date", "2000-01-32"}, "--end-date: day 32 is out of range (1 to 31)"},
        {{"--end-date", "2026-02-31"}, "--end-date: February 2026 has 28 days"},
        {{"--start-date", "2020-04-31"}, "--start-date: April 2020 has 30 days"},
        {{"--start-date", "1900-02-29"}, "--start-date: February 1900 has 28 days"},
        {{"--start-time", "24:00:00"}, "--start-time: hour 24 is out of range (0 to 23)"},
        {{"--start-time", "23:60:00"}, "--start-time: minute 60 is out of range (0 to 59)"},
        {{"--end-time", "23:59:60"}, "--end-time: second 60 is out of range (0 to 59)"},
        {{"--start-date", "2001/05/06"}, "--start-date: \"2001/05/06\" is not a date of the form YYYY-MM-DD"},
        {{"--end-time", "12:00"}, "--end-time: \"12:00\" is not a time of the form HH:MM:SS"},
    };
    ExpectEachRefused(path, {"--category", "fine"}, cases);
}

TEST_F(SetFixture, FullWidthTextAndInRangeEdgesAreAccepted) {
    const std::string path = write();
    // 2000 is a leap year by the 400-year rule.
    const CliRun run = RunCli({"set", "--title", std::string(64, 'T'), "--start-date", "2000-02-29", "--end-date",
                               "9999-12-31", "--start-time", "00:00:00", "--end-time", "23:59:59", path});
    EXPECT_EQ(run.status, 0) << run.err;
    const ByteVector after = fixture::ReadFile(path);
    EXPECT_EQ(FieldIn(after, cart::kTitle), std::string(64, 'T'));
    EXPECT_EQ(after[kCartData + 68], 'T');  // Artist starts right after, untouched
    EXPECT_EQ(FieldIn(after, cart::kStartDate), "2000-02-29");
}

TEST_F(SetFixture, UrlOnlyWhereTheChunkHasAUrlArea) {
    const std::string withUrl = write();
    EXPECT_EQ(RunCli({"set", "--url", "https://example.com/new", withUrl}).status, 0);
    EXPECT_EQ(FieldIn(fixture::ReadFile(withUrl), cart::kURL), "https://example.com/new");

    const std::string without = write(fixture::TypicalWave(fixture::TypicalCart(2047)), "short.wav");
    const CliRun run = RunCli({"set", "--url", "https://example.com/new", without});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "reelmarker-cli: " + without + ": --url: the cart chunk of this file has no URL area\n");
    EXPECT_EQ(fixture::ReadFile(without), before);
}

TEST_F(SetFixture, FieldBeyondAShortChunkIsRefused) {
    const ByteVector full = fixture::TypicalCart();
    const std::string path = write(fixture::WaveBuilder()
                                       .chunk("fmt ", fixture::PcmFormat())
                                       .chunk("cart", ByteVector(full.begin(), full.begin() + 500))
                                       .bytes());
    const CliRun run = RunCli({"set", "--user-def", "x", path});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "reelmarker-cli: " + path + ": --user-def: The cart chunk of this file is too short to hold User Def.\n");
    EXPECT_EQ(fixture::ReadFile(path), before);
}

TEST_F(SetFixture, OneFailingFileDoesNotStopTheOthers) {
    const std::string bad = write({'n', 'o', 'p', 'e'}, "bad.wav");
    const std::string good = write(fixture::TypicalWave(), "good.wav");
    const CliRun run = RunCli({"set", "--artist", "New Artist", bad, good});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "reelmarker-cli: " + bad + ": This file is not a wave file.\n");
    EXPECT_EQ(FieldIn(fixture::ReadFile(good), cart::kArtist), "New Artist");
}

TEST_F(SetFixture, DryRunChecksAndWritesNothing) {
    const std::string path = write();
    const CliRun run = RunCli({"set", "--dry-run", "--title", "Would be", path});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("would write Title"), std::string::npos) << run.out;
    EXPECT_EQ(fixture::ReadFile(path), before);
    EXPECT_EQ(RunCli({"set", "--dry-run", "--start-date", "1800-01-01", path}).status, 1);
}

std::uint32_t WordIn(const ByteVector& file, std::size_t offset) {
    return wave::ReadU32(ByteVector(file.begin() + kCartData, file.end()), offset);
}

TEST_F(SetFixture, FieldsThePagesOnlyShowAreWrittenInPlace) {
    const std::string path = write(fixture::TypicalWave(fixture::TypicalCart(2100)));
    const CliRun run = RunCli({"set",
                               "--cut-id",
                               "CUT-7",
                               "--cart-version",
                               "0102",
                               "--producer-app-id",
                               "Ingest",
                               "--producer-app-version",
                               "2.5",
                               "--level-reference",
                               "-1",
                               "--timer",
                               "2=SEG:12345",
                               "--timer",
                               "8=AUDs:4294967295",
                               "--clear-timer",
                               "1",
                               "--tag-text",
                               "new tag",
                               path});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, path +
                           ": saved Version, Cut ID, Producer App ID, Producer App Ver, Level reference, Post timers, "
                           "Tag text\n");
    const ByteVector after = fixture::ReadFile(path);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(FieldIn(after, cart::kCutID), "CUT-7");
    EXPECT_EQ(FieldIn(after, cart::kVersion), "0102");
    EXPECT_EQ(FieldIn(after, cart::kProducerAppID), "Ingest");
    EXPECT_EQ(FieldIn(after, cart::kProducerAppVersion), "2.5");
    EXPECT_EQ(WordIn(after, cart::kLevelReference), 0xFFFFFFFFu);  // two's complement of -1
    const ByteVector timer1(after.begin() + kCartData + 684, after.begin() + kCartData + 692);
    EXPECT_EQ(timer1, ByteVector(8, 0));
    EXPECT_EQ(FieldIn(after, {692, 4}), "SEG");
    EXPECT_EQ(after[kCartData + 695], 0);  // the usage code is NUL-padded
    EXPECT_EQ(WordIn(after, 696), 12345u);
    EXPECT_EQ(FieldIn(after, {740, 4}), "AUDs");
    EXPECT_EQ(WordIn(after, 744), 4294967295u);
    EXPECT_EQ(wave::ReadTextToEnd(ByteVector(after.begin() + kCartData, after.end()), cart::kTagText), "new tag");
    for (const std::size_t offset : Changed(before, after)) {
        const bool timer3to7 = offset >= 700 && offset < 740;
        EXPECT_FALSE(timer3to7 || (offset >= 748 && offset < 2048)) << "cart byte " << offset;
        EXPECT_LT(offset, 2100u);
    }
}

TEST_F(SetFixture, NewFieldLimitsAreNamedAndWriteNothing) {
    const std::string path = write(fixture::TypicalWave(fixture::TypicalCart(2060)));
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--cart-version", "01020"}, "--cart-version: the text is 5 bytes long; at most 4 bytes fit"},
        {{"--cut-id", std::string(65, 'c')}, "--cut-id: the text is 65 bytes long; at most 64 bytes fit"},
        {{"--level-reference", "4294967296"},
         "--level-reference: \"4294967296\" is not a whole number from -2147483648 to 4294967295"},
        {{"--level-reference", "-2147483649"},
         "--level-reference: \"-2147483649\" is not a whole number from -2147483648 to 4294967295"},
        {{"--level-reference", "12dB"},
         "--level-reference: \"12dB\" is not a whole number from -2147483648 to 4294967295"},
        {{"--timer", "9=MRK:1"}, "--timer: the timer number must be 1 to 8"},
        {{"--timer", "0=MRK:1"}, "--timer: the timer number must be 1 to 8"},
        {{"--timer", "1=MARKS:1"}, "--timer: the usage code must be 1 to 4 characters"},
        {{"--timer", "1=:1"}, "--timer: the usage code must be 1 to 4 characters"},
        {{"--timer", "1=MRK:4294967296"}, "--timer: the sample count must be a whole number from 0 to 4294967295"},
        {{"--timer", "1=MRK"}, "--timer: \"1=MRK\" is not of the form N=USAGE:SAMPLES"},
        {{"--clear-timer", "9"}, "--clear-timer: the timer number must be 1 to 8"},
        {{"--tag-text", std::string(13, 't')},
         "--tag-text: Tag text is 13 bytes long; the field holds at most 12 bytes. (--grow enlarges the chunk)"},
    };
    ExpectEachRefused(path, {"--user-def", "fine"}, cases);
    EXPECT_EQ(RunCli({"set", "--tag-text", std::string(12, 't'), path}).status, 0);
}

TEST_F(SetFixture, TagTextIsRefusedWhereTheChunkHasNoneOrMoreThanWasRead) {
    const std::string bare = write(fixture::TypicalWave(fixture::TypicalCart(2048)), "bare.wav");
    const CliRun none = RunCli({"set", "--tag-text", "x", bare});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(
        none.err,
        "reelmarker-cli: " + bare +
            ": --tag-text: The cart chunk of this file is too short to hold Tag text. (--grow enlarges the chunk)\n");
    EXPECT_EQ(fixture::ReadFile(bare), before);

    const std::size_t huge = wave::kMaxCartData + 100;
    const std::string big = write(fixture::TypicalWave(fixture::TypicalCart(huge)), "big.wav");
    const CliRun longer = RunCli({"set", "--tag-text", "x", big});
    EXPECT_EQ(longer.status, 1);
    EXPECT_NE(longer.err.find("--tag-text: The cart chunk of this file is longer than the 131072 bytes read from it"),
              std::string::npos)
        << longer.err;
    EXPECT_EQ(fixture::ReadFile(big), before);
    EXPECT_EQ(RunCli({"set", "--level-reference", "7", big}).status, 0);  // the other fields still can be set
}

TEST_F(SetFixture, DryRunWorksOnAFileTheUserMayOnlyRead) {
    const std::string path = write();
    const fixture::Unwritable readOnly(path);
    if (!readOnly.Ok()) GTEST_SKIP() << "cannot make a file read-only here";
    const CliRun run = RunCli({"set", "--dry-run", "--title", "Would be", path});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, path + ": would write Title; nothing written\n");
    EXPECT_EQ(RunCli({"set", "--title", "Would be", path}).status, 1);
}

TEST_F(SetFixture, UrlAreaCanBeSetAndEmptiedButNotStartedWithPunctuation) {
    const std::string path = write(fixture::TypicalWave(fixture::TypicalCart().text(cart::kURL, "")));
    const CliRun set = RunCli({"set", "--url", "spots/1.wav", path});
    EXPECT_EQ(set.status, 0) << set.err;
    EXPECT_EQ(FieldIn(fixture::ReadFile(path), cart::kURL), "spots/1.wav");
    // Emptied, as the window empties it: the area stays, editable.
    EXPECT_EQ(RunCli({"set", "--url", "", path}).status, 0);
    EXPECT_EQ(FieldIn(fixture::ReadFile(path), cart::kURL), "");
    EXPECT_EQ(RunCli({"set", "--url", "spots/1.wav", path}).status, 0);

    const ByteVector stored = fixture::ReadFile(path);
    for (const char* url : {"/spots/1.wav", "\xC3\xA9t\xC3\xA9"}) {
        SCOPED_TRACE(url);
        const CliRun refused = RunCli({"set", "--url", url, path});
        EXPECT_EQ(refused.status, 1);
        EXPECT_EQ(refused.err,
                  "reelmarker-cli: " + path +
                      ": --url: a URL must start with an ASCII letter or digit; any other reads back as no URL\n");
        EXPECT_EQ(fixture::ReadFile(path), stored);
    }
}

TEST_F(SetFixture, RepeatableOptionsTakeOneValueEachAndLeaveTheFilesAfterThem) {
    const std::vector<std::pair<std::string, std::string>> options = {{"--timer", "6=SEG:3"}, {"--clear-timer", "1"}};
    for (const auto& [option, value] : options) {
        SCOPED_TRACE(option);
        const std::string a = write(fixture::TypicalWave(), "a.wav");
        const std::string b = write(fixture::TypicalWave(), "b.wav");
        const CliRun run = RunCli({"set", "--cut-id", "X", option, value, a, b});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, a + ": saved Cut ID, Post timers\n" + b + ": saved Cut ID, Post timers\n");
        for (const std::string& path : {a, b}) {
            const ByteVector after = fixture::ReadFile(path);
            EXPECT_EQ(FieldIn(after, cart::kCutID), "X") << path;
            if (option == "--timer") {
                EXPECT_EQ(FieldIn(after, {724, 4}), "SEG") << path;
            } else {
                EXPECT_EQ(ByteVector(after.begin() + kCartData + 684, after.begin() + kCartData + 692),
                          ByteVector(8, 0))
                    << path;
            }
        }
    }
}

TEST_F(SetFixture, UsageErrorsExitWithTwoAndTouchNothing) {
    const std::string path = write();
    EXPECT_EQ(RunCli({"set", path}).status, 2);            // no field named
    EXPECT_EQ(RunCli({"set", "--title", "x"}).status, 2);  // no file
    EXPECT_EQ(RunCli({"set", "--colour", "red", path}).status, 2);
    EXPECT_EQ(fixture::ReadFile(path), before);
}

}  // namespace
