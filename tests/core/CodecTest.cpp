// The 8-bit text codec between file bytes and UTF-8.
#include <gtest/gtest.h>

#include "wave/TextCodec.h"

namespace {

TEST(TextCodec, EveryByteRoundTrips) {
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const wave::EncodedText back = wave::EncodeText(wave::DecodeText(byte));
        ASSERT_TRUE(back.ok) << "byte " << b;
        EXPECT_EQ(back.bytes, byte) << "byte " << b;
    }
}

TEST(TextCodec, DecodesWindows1252AndKeepsUnassignedBytesAsControls) {
    EXPECT_EQ(wave::DecodeText("\x80"), "\u20AC");
    EXPECT_EQ(wave::DecodeText("Caf\xE9"), "Café");
    EXPECT_EQ(wave::DecodeText("\x9F"), "\u0178");
    EXPECT_EQ(wave::DecodeText("\x81\x8D\x8F\x90\x9D"), "\u0081\u008D\u008F\u0090\u009D");
    EXPECT_EQ(wave::EncodeText("“quoted” – €5").bytes,
              "\x93quoted\x94 \x96 \x80"
              "5");
}

TEST(TextCodec, WidthsCountEncodedBytes) {
    // Two UTF-8 bytes on screen, one byte in the file.
    EXPECT_EQ(wave::EncodeText("ééé").bytes.size(), 3u);
}

TEST(TextCodec, RefusesWhatTheSetCannotHold) {
    const wave::EncodedText cyrillic = wave::EncodeText("abcНд");
    EXPECT_FALSE(cyrillic.ok);
    EXPECT_EQ(cyrillic.refused, U'Н');
    EXPECT_EQ(wave::DescribeRefusal(cyrillic),
              "the character \"Н\" (U+041D) cannot be stored in the file's 8-bit character set");
    EXPECT_FALSE(wave::EncodeText("tea ☕").ok);
    EXPECT_FALSE(wave::EncodeText("\U0001F600").ok);
}

TEST(TextCodec, RefusesMalformedUtf8) {
    for (const char* bad : {"\xC0\x80", "\xED\xA0\x80", "\xE2\x82", "\xFF", "\x80", "\xF4\x90\x80\x80"}) {
        const wave::EncodedText result = wave::EncodeText(bad);
        EXPECT_FALSE(result.ok);
        EXPECT_TRUE(result.invalidUtf8);
    }
}

using wave::Charset;

TEST(TextCodec, Latin1ReadsHighControlsAsC1AndRoundTripsEveryByte) {
    EXPECT_EQ(wave::DecodeText("\x80\x9F\xE9", Charset::Latin1), "\u0080\u009F\u00E9");
    EXPECT_EQ(wave::EncodeText("\u0080", Charset::Latin1).bytes, "\x80");
    EXPECT_FALSE(wave::EncodeText("\u20AC", Charset::Latin1).ok);  // the euro sign is Windows-1252's 0x80 only
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(wave::EncodeText(wave::DecodeText(byte, Charset::Latin1), Charset::Latin1).bytes, byte) << b;
    }
}

TEST(TextCodec, Utf8KeepsBytesAndShowsEachInvalidByteAsReplacement) {
    EXPECT_EQ(wave::DecodeText("Caf\xC3\xA9 \xE2\x86\x92", Charset::Utf8), "Café →");
    // A lone lead byte, a stray continuation byte, and a character cut at the end of its field.
    EXPECT_EQ(wave::DecodeText("a\xC3z\x80\xE2\x86", Charset::Utf8), "a\uFFFDz\uFFFD\uFFFD\uFFFD");
    const wave::EncodedText arrow = wave::EncodeText("→", Charset::Utf8);
    EXPECT_TRUE(arrow.ok);
    EXPECT_EQ(arrow.bytes, "\xE2\x86\x92");
    EXPECT_TRUE(wave::EncodeText("\xE2\x86", Charset::Utf8).invalidUtf8);
}

}  // namespace
