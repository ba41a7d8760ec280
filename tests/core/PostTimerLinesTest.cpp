// The post-timer list lines.
#include <gtest/gtest.h>

#include "wave/PostTimerLines.h"

namespace {

std::uint32_t Code(const char (&code)[5]) {
    return std::uint32_t{static_cast<unsigned char>(code[0])} |
           (std::uint32_t{static_cast<unsigned char>(code[1])} << 8) |
           (std::uint32_t{static_cast<unsigned char>(code[2])} << 16) |
           (std::uint32_t{static_cast<unsigned char>(code[3])} << 24);
}

TEST(PostTimerLines, WorkedLinesAt44100) {
    wave::PostTimers timers{};
    timers[0] = {Code("MRK "), 161472150};
    timers[1] = {Code("MRK1"), 0};
    timers[2] = {Code("MRK1"), 0};
    timers[3] = {Code("EOD1"), 99};
    timers[5] = {Code("SEC "), 4294967295u};
    timers[6] = {Code("mrk "), 1};
    const std::vector<std::string> lines = wave::PostTimerLines(timers, 44100);
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "1 - MRK     0 days, 01:01:01.50",
                         "2 - MRK1    0 days, 00:00:00.00",
                         "Working on it",
                         "4 - EOD1",
                         "5 - Unset",
                         "6 - SEC     1 days, 03:03:11.54",
                         "Working on it",
                         "8 - Unset",
                     }));
}

TEST(PostTimerLines, NumberedTagsMatchOnlyInSequenceEachKindOnItsOwn) {
    wave::PostTimers timers{};
    timers[0] = {Code("SEC1"), 44100};
    timers[1] = {Code("SEC2"), 88200};
    timers[2] = {Code("MRK2"), 0};
    timers[3] = {Code("SEC3"), 132300};
    timers[4] = {Code("MRK1"), 0};
    timers[5] = {Code("MRK "), 0};
    timers[6] = {Code("MRK2"), 22050};
    timers[7] = {Code("EOD "), 0};
    EXPECT_EQ(wave::PostTimerLines(timers, 44100), (std::vector<std::string>{
                                                       "1 - SEC1    0 days, 00:00:01.00",
                                                       "2 - SEC2    0 days, 00:00:02.00",
                                                       "Working on it",
                                                       "4 - SEC3    0 days, 00:00:03.00",
                                                       "5 - MRK1    0 days, 00:00:00.00",
                                                       "6 - MRK     0 days, 00:00:00.00",
                                                       "7 - MRK2    0 days, 00:00:00.50",
                                                       "8 - EOD     0 days, 00:00:00.00",
                                                   }));
}

TEST(PostTimerLines, EightUnsetTimers) {
    const std::vector<std::string> lines = wave::PostTimerLines({}, 48000);
    ASSERT_EQ(lines.size(), 8u);
    for (std::size_t k = 0; k < lines.size(); ++k) EXPECT_EQ(lines[k], std::to_string(k + 1) + " - Unset");
}

TEST(PostTimerLines, HundredthsComeFromTheDoubleQuotient) {
    // 0.29 s at 100 samples per second: the double quotient 0.29 times 100
    // is 28.999..., so the line shows .28 where the remainder says 29.
    wave::PostTimers timers{};
    timers[0] = {Code("MRK "), 29};
    EXPECT_EQ(wave::PostTimerLines(timers, 100)[0], "1 - MRK     0 days, 00:00:00.28");
}

TEST(PostTimerLines, ZeroSampleRateStillListsEveryTimer) {
    wave::PostTimers timers{};
    timers[0] = {Code("MRK "), 100};
    timers[1] = {Code("MRK1"), 100};
    timers[2] = {Code("EOD1"), 100};
    const std::vector<std::string> lines = wave::PostTimerLines(timers, 0);
    EXPECT_EQ(lines[0], "1 - MRK     no sample rate");
    EXPECT_EQ(lines[1], "2 - MRK1    no sample rate");
    EXPECT_EQ(lines[2], "3 - EOD1");
    EXPECT_EQ(lines[3], "4 - Unset");
}

}  // namespace
