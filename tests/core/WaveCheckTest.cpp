// `check`'s rules: each file below breaks one rule, built in code, and the
// rule's ID and severity must be among its findings; a typical file and a
// clean one break none.
#include <gtest/gtest.h>

#include <set>

#include "tests/support/WaveBuilder.h"
#include "wave/ChunkLayout.h"
#include "wave/WaveCheck.h"

namespace {

using fixture::ByteVector;
using fixture::ChunkData;
using fixture::WaveBuilder;
using wave::Severity;

// "ID severity" of each finding.
std::set<std::string> Found(const ByteVector& bytes, wave::CheckOptions options = {}) {
    const fixture::TempDir dir;
    wave::WaveStream file;
    file.Open(dir.write("check.wav", bytes).string(), wave::WaveStream::Mode::ReadOnly);
    std::set<std::string> found;
    for (const wave::Finding& finding : wave::CheckWave(file, options))
        found.insert(finding.rule + " " + wave::SeverityName(finding.severity));
    return found;
}

ByteVector Audio(std::size_t size = 400) { return ByteVector(size, 0x11); }

ByteVector FormatWith(std::size_t offset, std::uint8_t value) {
    ByteVector format = fixture::PcmFormat();
    format[offset] = value;
    return format;
}

// "fmt ", the bext and cart given, then data.
ByteVector WaveWith(const ByteVector& bext, const ByteVector& cart, const ByteVector& format = fixture::PcmFormat()) {
    return WaveBuilder().chunk("fmt ", format).chunk("bext", bext).chunk("cart", cart).chunk("data", Audio()).bytes();
}

ByteVector WithCart(const ChunkData& cart) { return WaveWith(fixture::TypicalBext(), cart); }
ByteVector WithBext(const ChunkData& bext) { return WaveWith(bext, fixture::TypicalCart()); }

ByteVector InsertAt(ByteVector bytes, std::size_t at, std::uint8_t value) {
    bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), value);
    return bytes;
}

const ByteVector kOddList{'a', 'b', 'c'};

struct RuleCase {
    const char* expected;
    ByteVector bytes;
};

TEST(WaveCheck, EachBrokenRuleIsFoundWithItsSeverity) {
    const ByteVector oddThenData =
        WaveBuilder().chunk("fmt ", fixture::PcmFormat()).chunk("LIST", kOddList).chunk("data", Audio()).bytes();
    const std::size_t afterList = 12 + 24 + 8 + 3;
    const RuleCase cases[] = {
        {"S1 error", WaveBuilder().formType("AVI ").chunk("data", Audio()).bytes()},
        {"S2 warning", WaveBuilder().chunk("fmt ", fixture::PcmFormat()).chunk("data", Audio()).riffSize(100).bytes()},
        {"S3 error", WaveBuilder().chunk("fmt ", fixture::PcmFormat()).chunkDeclaring("data", 9000, Audio()).bytes()},
        {"S4 error", InsertAt(oddThenData, afterList, 0x07)},
        {"S5 warning", oddThenData},
        {"S6 error", WaveBuilder()
                         .chunk("fmt ", fixture::PcmFormat())
                         .chunk("LIST", Audio(4))
                         .chunk("LIST", Audio(4))
                         .chunk("data", Audio())
                         .bytes()},
        {"S7 error",
         WaveBuilder().chunk("fmt ", fixture::PcmFormat()).chunk("data", Audio()).chunk("data", Audio()).bytes()},
        {"S8 error", WaveBuilder().chunk("fmt ", FormatWith(12, 3)).chunk("data", Audio()).bytes()},
        {"S9 warning",
         WaveBuilder().chunk("fmt ", fixture::PcmFormat()).chunk("data", Audio(402)).chunk("JUNK", Audio(2)).bytes()},
        {"S10 error", WaveBuilder().fileId("RF64").chunk("fmt ", fixture::PcmFormat()).chunk("data", Audio()).bytes()},
        {"S11 info",
         WaveBuilder().chunk("fmt ", fixture::PcmFormat()).chunk("LIST", Audio(4)).chunk("data", Audio()).bytes()},
        {"B1 error", WaveWith(ByteVector(100, 0), fixture::TypicalCart())},
        {"B2 warning", WithBext(fixture::TypicalBext().u32(346, 7))},
        {"B3 warning", WithBext(fixture::TypicalBext().raw(0, std::string_view("abc\0def", 7)))},
        {"B4 warning", WithBext(fixture::TypicalBext().text(wave::bext::kOriginationDate, "2026-02-30"))},
        {"B5 info",
         WithBext(fixture::TypicalBext().text(wave::bext::kOriginatorReference, "GBABC123456789012999999123456789"))},
        {"B6 warning", WithBext(fixture::TypicalBext("A=PCM,F=44100\n"))},
        {"B6 warning", WithBext(fixture::TypicalBext("A=TAPE,M=stereo\r\n"))},
        {"B7 warning", WithBext(fixture::TypicalBext().u32(338, 86400u * 44100u))},
        {"C1 warning", WithCart(fixture::TypicalCart().text(wave::cart::kVersion, "01A1"))},
        {"C1 info", WithCart(fixture::TypicalCart().text(wave::cart::kVersion, "0100"))},
        {"C2 error", WithCart(fixture::TypicalCart(1500))},
        {"C3 warning", WithCart(fixture::TypicalCart().raw(wave::cart::kTitle.offset, std::string_view("ab\0c", 4)))},
        {"C4 warning", WithCart(fixture::TypicalCart().text(wave::cart::kStartDate, "2001/05/06"))},
        {"C4 error", WithCart(fixture::TypicalCart().text(wave::cart::kStartDate, "May 6 2001"))},
        {"C5 error", WithCart(fixture::TypicalCart().text(wave::cart::kEndDate, "2099-02-30"))},
        {"C5 error", WithCart(fixture::TypicalCart().text(wave::cart::kStartTime, "25:00:00"))},
        {"C6 warning", WithCart(fixture::TypicalCart().text(wave::cart::kEndDate, "2000-01-01"))},
        {"C7 info", WithCart(fixture::TypicalCart().text(wave::cart::kEndDate, "9999-12-31"))},
        {"C14 info", WithCart(fixture::TypicalCart().u32(wave::cart::kLevelReference, 0xFFFFFF00u))},
        {"C15 info", WithCart(fixture::TypicalCart().raw(800, "x"))},
        {"C16 warning", WithCart(fixture::TypicalCart().raw(1020, "http://example.org/a"))},
        {"C17 info", fixture::TypicalWave(fixture::TypicalCart(), false)},
        {"C18 info", WaveWith(fixture::TypicalBext(), fixture::TypicalCart(), fixture::FormatBlock(0x50, 2, 48000, 0))},
        {"C info", WaveBuilder().chunk("fmt ", fixture::PcmFormat()).chunk("data", Audio()).bytes()},
    };
    for (const RuleCase& rule : cases) {
        EXPECT_TRUE(Found(rule.bytes).contains(rule.expected)) << rule.expected;
    }
}

TEST(WaveCheck, ACleanFileBreaksNoRule) {
    // An even coding history (the typical one is odd and unpadded), zero
    // reserved bytes, no timers; unset dates and times are fine.
    const ByteVector bext = fixture::TypicalBext("A=PCM,F=44100,W=16,M=stereo,T=AB\r\n");
    ChunkData cart = fixture::TypicalCart()
                         .raw(748, std::string(32, '\0'))
                         .text(wave::cart::kStartDate, "")
                         .text(wave::cart::kStartTime, "")
                         .text(wave::cart::kEndDate, "          ")
                         .text(wave::cart::kEndTime, "");
    for (std::size_t k = 0; k < wave::cart::kPostTimerCount; ++k) cart.timer(k, "", 0);
    EXPECT_EQ(Found(WaveWith(bext, cart)), std::set<std::string>{});
    EXPECT_EQ(Found(fixture::TypicalWave()), (std::set<std::string>{"C15 info", "S5 warning"}));
}

TEST(WaveCheck, ACartChunkOutOfFixedOrderIsCheckedOnlyWithAnyLayout) {
    const ByteVector late = WaveBuilder()
                                .chunk("fmt ", fixture::PcmFormat())
                                .chunk("data", Audio())
                                .chunk("cart", fixture::TypicalCart().text(wave::cart::kEndDate, "2000-01-01"))
                                .bytes();
    EXPECT_EQ(Found(late), (std::set<std::string>{"C info"}));
    EXPECT_TRUE(Found(late, {.anyLayout = true}).contains("C6 warning"));
}

TEST(WaveCheck, SummaryCountsErrorsAndWarnings) {
    wave::Findings findings;
    EXPECT_EQ(wave::FindingsSummary(findings), "No problems found");
    findings.push_back({"C17", Severity::Info, "", {}});
    EXPECT_EQ(wave::FindingsSummary(findings), "No problems found");
    findings.push_back({"S3", Severity::Error, "", {}});
    findings.push_back({"S3", Severity::Error, "", {}});
    findings.push_back({"C6", Severity::Warning, "", {}});
    EXPECT_EQ(wave::FindingsSummary(findings), "2 errors, 1 warning");
}

}  // namespace
