// Timer usage codes, typed times and the checks on timer edits.
#include <gtest/gtest.h>

#include "wave/TimerChecks.h"
#include "wave/TimerTime.h"
#include "wave/TimerUsage.h"

namespace {

using wave::TimerRole;
using wave::TimerType;

std::uint32_t Word(std::string_view code) { return wave::UsageWordOf(code).value(); }

TEST(TimerGrammar, ReadsEveryTypeWithEachRoleAndRoundTripsItsBytes) {
    for (const TimerType type : wave::kTimerTypes) {
        const std::string code{wave::TypeCode(type)};
        for (const auto& [last, role, number] : {std::tuple{'s', TimerRole::Start, 0},
                                                 {'e', TimerRole::End, 0},
                                                 {' ', TimerRole::Plain, 0},
                                                 {'7', TimerRole::Numbered, 7}}) {
            const std::uint32_t word = Word(code + last);
            const auto parsed = wave::ParseUsage(word);
            ASSERT_TRUE(parsed) << code + last;
            EXPECT_EQ(*parsed, (wave::TimerUsage{type, role, number})) << code + last;
            EXPECT_EQ(wave::UsageWord(*parsed), word) << code + last;
        }
    }
}

TEST(TimerGrammar, CodesOutsideTheGrammarAreNotRead) {
    EXPECT_FALSE(wave::ParseUsage(0));
    for (const char* code : {"seg ", "SEGx", "SEG", "XYZs", "AUD\x01", "M"})
        EXPECT_FALSE(wave::ParseUsage(Word(code))) << code;
    // The first byte lowest, as the file stores it.
    EXPECT_EQ(Word("INTs"), 0x73544E49u);
    EXPECT_FALSE(wave::UsageWordOf(""));
    EXPECT_FALSE(wave::UsageWordOf("SEGs1"));
    EXPECT_FALSE(wave::UsageWordOf(std::string_view("\0AB", 3)));
}

TEST(TimerTime, FormatsMinutesAndCutsMilliseconds) {
    EXPECT_EQ(wave::MinutesText(0, 48000), "0:00.000");
    EXPECT_EQ(wave::MinutesText(47999, 48000), "0:00.999");
    EXPECT_EQ(wave::MinutesText(48000 * 3725 + 24000, 48000), "62:05.500");
    EXPECT_EQ(wave::MinutesText(1, 0), "-");
}

TEST(TimerTime, ParsesTypedTimesToTheNearestFrame) {
    EXPECT_EQ(wave::FramesOfTime("1:02.5", 48000), 62 * 48000 + 24000);
    EXPECT_EQ(wave::FramesOfTime("1:00:00", 44100), 3600u * 44100);
    EXPECT_EQ(wave::FramesOfTime("90", 1000), 90000u);
    EXPECT_EQ(wave::FramesOfTime("0.0000113", 44100), 0u);
    EXPECT_EQ(wave::FramesOfTime("0.0000114", 44100), 1u);
    // What MinutesText shows reads back within a millisecond.
    const auto back = wave::FramesOfTime(wave::MinutesText(123456789, 44100), 44100);
    ASSERT_TRUE(back);
    EXPECT_LE(123456789u - *back, 44u);
    for (const char* bad : {"", "1:60", "1:2:3:4", "a", "1.", ".5", "-1", "1:-2", "99999999:00", "1..2"})
        EXPECT_FALSE(wave::FramesOfTime(bad, 48000)) << bad;
    EXPECT_FALSE(wave::FramesOfTime("1", 0));
}

TEST(TimerChecks, ValuesPastTheAudioAreRefusedTheLastFrameIsNot) {
    EXPECT_FALSE(wave::ValueRefusal(48000, 48000, 48000));
    const auto why = wave::ValueRefusal(48001, 48000, 48000);
    ASSERT_TRUE(why);
    EXPECT_NE(why->find("past the end"), std::string::npos);
}

TEST(TimerChecks, WarnsOfAStartAfterItsEndPerType) {
    wave::PostTimers timers{};
    timers[0] = {Word("INTe"), 100};
    timers[1] = {Word("INTs"), 200};
    timers[2] = {Word("SEGs"), 5};
    timers[3] = {Word("SEGe"), 5};
    timers[4] = {Word("AUDs"), 900};
    timers[5] = {Word("MRKe"), 1};
    EXPECT_EQ(wave::OrderWarnings(timers, 100), (std::vector<std::string>{"INTs (0:02.000) is after INTe (0:01.000)"}));
}

}  // namespace
