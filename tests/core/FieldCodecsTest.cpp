// Fixed-width text fields, dates and times, words and URL presence.
#include <gtest/gtest.h>

#include <vector>

#include "wave/CalendarDates.h"
#include "wave/FieldCodecs.h"

namespace {

using wave::Field;
using Buffer = std::vector<std::uint8_t>;

TEST(TextField, ShortValueIsNulFilledAndNeighboursStay) {
    Buffer data(200, 0xAA);
    wave::WriteTextField(data, wave::cart::kTitle, "abc");
    EXPECT_EQ(data[3], 0xAA);
    EXPECT_EQ(std::string(data.begin() + 4, data.begin() + 7), "abc");
    for (std::size_t i = 7; i < 68; ++i) ASSERT_EQ(data[i], 0) << i;
    EXPECT_EQ(data[68], 0xAA);
    EXPECT_EQ(wave::ReadTextField(data, wave::cart::kTitle), "abc");
}

TEST(TextField, FullWidthValueHasNoTerminatorAndReadsWhole) {
    Buffer data(200, 0xAA);
    const std::string full(64, 'x');
    wave::WriteTextField(data, wave::cart::kTitle, full);
    EXPECT_EQ(data[68], 0xAA);
    EXPECT_EQ(wave::ReadTextField(data, wave::cart::kTitle), full);

    Buffer version = {'0', '1', '0', '1', 'T', 'i'};
    EXPECT_EQ(wave::ReadTextField(version, wave::cart::kVersion), "0101");
}

TEST(TextField, LongerValueIsCutToTheWidth) {
    Buffer data(10, 0xAA);
    wave::WriteTextField(data, Field{2, 4}, "abcdef");
    EXPECT_EQ(std::string(data.begin() + 2, data.begin() + 6), "abcd");
    EXPECT_EQ(data[6], 0xAA);
}

TEST(TextField, NothingBeyondTheDataIsReadOrWritten) {
    Buffer data(70, 0);
    data[68] = 'A';
    data[69] = 'B';
    EXPECT_EQ(wave::ReadTextField(data, wave::cart::kArtist), "AB");
    EXPECT_EQ(wave::ReadTextField(data, wave::cart::kURL), "");
    wave::WriteTextField(data, wave::cart::kArtist, "xyz");  // two bytes of room
    EXPECT_EQ(data.size(), 70u);
    EXPECT_EQ(data[69], 'y');
    wave::WriteTextField(data, wave::cart::kURL, "http://x");  // no room at all
    EXPECT_EQ(wave::ReadU32(data, 68), 0x7978u);
    EXPECT_EQ(wave::ReadU32(data, 680), 0u);
}

TEST(TextField, TextToEndStopsAtNulOrEnd) {
    const Buffer data = {'a', 'b', 'c', 0, 'd'};
    EXPECT_EQ(wave::ReadTextToEnd(data, 1), "bc");
    EXPECT_EQ(wave::ReadTextToEnd(data, 4), "d");
    EXPECT_EQ(wave::ReadTextToEnd(data, 9), "");
}

TEST(DateTime, SplitsAsTheCLibraryReadsNumbers) {
    auto date = [](std::string_view text) {
        const wave::DateParts d = wave::SplitDate(text);
        return std::vector<int>{d.year, d.month, d.day};
    };
    EXPECT_EQ(date("2001-05-06"), (std::vector<int>{2001, 5, 6}));
    EXPECT_EQ(date("1999-12-31"), (std::vector<int>{1999, 12, 31}));
    EXPECT_EQ(date(""), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(date("2001"), (std::vector<int>{2001, 0, 0}));
    EXPECT_EQ(date(" 200-+5--6"), (std::vector<int>{200, 5, -6}));
    EXPECT_EQ(date("abcd-xx-yy"), (std::vector<int>{0, 0, 0}));
    const wave::TimeParts t = wave::SplitTime("07:08:09");
    EXPECT_EQ((std::vector<int>{t.hour, t.minute, t.second}), (std::vector<int>{7, 8, 9}));
}

TEST(DateTime, FormatsZeroFilledAndCutToTheField) {
    EXPECT_EQ(wave::FormatDate(1900, 1, 1), "1900-01-01");
    EXPECT_EQ(wave::FormatDate(0, 0, 0), "0000-00-00");
    EXPECT_EQ(wave::FormatTime(0, 5, 9), "00:05:09");
    EXPECT_EQ(wave::FormatTime(5, 6, 7), "05:06:07");
    // More digits than the place holds: cut, never longer than the field.
    EXPECT_EQ(wave::FormatDate(123456, 1, 1), "123456-01-");
    EXPECT_EQ(wave::FormatDate(-1, 1, 1), "-0001-01-0");
    EXPECT_EQ(wave::FormatTime(100, 1, 1), "100:01:0");
}

TEST(UrlPresence, NeedsTheWholeAreaAndALetterOrDigitFirst) {
    Buffer data(2048, 0);
    EXPECT_FALSE(wave::UrlPresent(data));  // empty URL
    data[1024] = 'h';
    EXPECT_TRUE(wave::UrlPresent(data));
    data[1024] = '7';
    EXPECT_TRUE(wave::UrlPresent(data));
    data[1024] = '/';
    EXPECT_FALSE(wave::UrlPresent(data));
    data[1024] = 0xE9;  // a letter in the 8-bit set, but not an ASCII one
    EXPECT_FALSE(wave::UrlPresent(data));
    Buffer shortChunk(2047, 0);
    shortChunk[1024] = 'h';
    EXPECT_FALSE(wave::UrlPresent(shortChunk));
}

}  // namespace

TEST(CalendarDatesTest, DayIsCheckedAgainstMonthAndLeapYear) {
    EXPECT_EQ(wave::ImpossibleDate(2026, 2, 31), "February 2026 has 28 days");
    EXPECT_EQ(wave::ImpossibleDate(2020, 4, 31), "April 2020 has 30 days");
    EXPECT_EQ(wave::ImpossibleDate(1900, 2, 29), "February 1900 has 28 days");
    EXPECT_EQ(wave::ImpossibleDate(2000, 2, 29), std::nullopt);
    EXPECT_EQ(wave::ImpossibleDate(2024, 2, 29), std::nullopt);
    EXPECT_EQ(wave::ImpossibleDate(2026, 12, 31), std::nullopt);
}
