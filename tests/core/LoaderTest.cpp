// The chunk walk: what each file layout loads to, and which failure row
// ends it with what message and stream state.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/core/LoadedFixture.h"
#include "tests/support/PagesLoad.h"
#include "texts/LoadFailureTexts.h"
#include "wave/FormatTexts.h"

namespace {

using fixture::ByteVector;
using fixture::WaveBuilder;
using texts::MessageIcon;
using wave::LoadFailure;

// The literal's bytes, NULs included, without its terminator.
template <std::size_t N>
ByteVector Bytes(const char (&text)[N]) {
    return {text, text + N - 1};
}

ByteVector Data() { return ByteVector(64, 0x22); }

struct RowCase {
    const char* name;
    ByteVector file;
    LoadFailure row;
    const char* text;
    const char* caption;
    MessageIcon icon;
    bool streamOpen;
};

std::vector<RowCase> RowCases() {
    const ByteVector pcm = fixture::PcmFormat();
    const ByteVector cart = fixture::TypicalCart();
    return {
        {"empty_file",
         {},
         LoadFailure::NotWave,
         "This file is not a wave file.",
         "Reelmarker",
         MessageIcon::Error,
         true},
        {"ends_inside_riff_size", Bytes("RIFF\x10\x00"), LoadFailure::PrematureEnd, "Premature end of file.",
         "Reelmarker", MessageIcon::Error, true},
        {"riff_size_negative", WaveBuilder().riffSize(0x80000000u).chunk("fmt ", pcm).bytes(),
         LoadFailure::PrematureEnd, "Premature end of file.", "Reelmarker", MessageIcon::Error, true},
        {"form_type_not_wave", WaveBuilder().formType("AVI ").chunk("fmt ", pcm).bytes(),
         LoadFailure::InvalidRiffHeader, "Invalid RIFF header.", "Reelmarker", MessageIcon::Error, true},
        {"riff_header_only", WaveBuilder().bytes(), LoadFailure::NoFormatChunk,
         "Invalid wave file.\nWave header not found.", "Reelmarker", MessageIcon::Error, true},
        {"first_chunk_not_fmt", WaveBuilder().chunk("LIST", Data()).chunk("fmt ", pcm).bytes(),
         LoadFailure::NoFormatChunk, "Invalid wave file.\nWave header not found.", "Reelmarker", MessageIcon::Error,
         true},
        {"ends_inside_format_block", Bytes("RIFF\x20\0\0\0WAVEfmt \x10\0\0\0\x01\0\x02\0"), LoadFailure::PrematureEnd,
         "Premature end of file.", "Reelmarker", MessageIcon::Error, true},
        {"data_after_fmt", WaveBuilder().chunk("fmt ", pcm).chunk("data", Data()).bytes(), LoadFailure::DataBeforeCart,
         "This is a valid wave file\nbut cart chunk not found.", "Reelmarker", MessageIcon::Error, false},
        {"data_after_fact_and_mext",
         WaveBuilder()
             .chunk("fmt ", pcm)
             .chunk("fact", ByteVector(4))
             .chunk("mext", ByteVector(12))
             .chunk("data", Data())
             .bytes(),
         LoadFailure::DataBeforeCart, "This is a valid wave file\nbut cart chunk not found.", "Reelmarker",
         MessageIcon::Error, false},
        {"data_after_bext",
         WaveBuilder().chunk("fmt ", pcm).chunk("bext", fixture::TypicalBext()).chunk("data", Data()).bytes(),
         LoadFailure::CartNotFound, "Cart chunk NOT found.\n\nNOT EDITABLE", "Warning", MessageIcon::Exclamation,
         false},
        {"list_before_cart", WaveBuilder().chunk("fmt ", pcm).chunk("LIST", Data()).chunk("cart", cart).bytes(),
         LoadFailure::CartNotFound, "Cart chunk NOT found.\n\nNOT EDITABLE", "Warning", MessageIcon::Exclamation,
         false},
        {"mext_before_fact",
         WaveBuilder()
             .chunk("fmt ", pcm)
             .chunk("mext", ByteVector(12))
             .chunk("fact", ByteVector(4))
             .chunk("cart", cart)
             .bytes(),
         LoadFailure::CartNotFound, "Cart chunk NOT found.\n\nNOT EDITABLE", "Warning", MessageIcon::Exclamation,
         false},
        {"second_fact",
         WaveBuilder()
             .chunk("fmt ", pcm)
             .chunk("fact", ByteVector(4))
             .chunk("fact", ByteVector(4))
             .chunk("cart", cart)
             .bytes(),
         LoadFailure::CartNotFound, "Cart chunk NOT found.\n\nNOT EDITABLE", "Warning", MessageIcon::Exclamation,
         false},
        {"file_ends_after_fmt", WaveBuilder().chunk("fmt ", pcm).bytes(), LoadFailure::CartNotFound,
         "Cart chunk NOT found.\n\nNOT EDITABLE", "Warning", MessageIcon::Exclamation, false},
        {"cart_size_zero", WaveBuilder().chunk("fmt ", pcm).chunk("cart", {}).bytes(), LoadFailure::InvalidCartHeader,
         "Invalid cart chunk header.", "Warning", MessageIcon::Error, false},
        {"cart_size_negative", WaveBuilder().chunk("fmt ", pcm).chunkDeclaring("cart", 0xFFFFFFF0u, cart).bytes(),
         LoadFailure::InvalidCartHeader, "Invalid cart chunk header.", "Warning", MessageIcon::Error, false},
    };
}

class FailureRows : public testing::TestWithParam<RowCase> {};

TEST_P(FailureRows, EndTheLoadWithTheirMessageAndStreamState) {
    const RowCase& row = GetParam();
    LoadedFixture loaded(row.file);
    EXPECT_EQ(loaded.failure, row.row);
    const texts::FailureMessage& message = texts::MessageFor(loaded.failure);
    EXPECT_STREQ(message.text, row.text);
    EXPECT_STREQ(texts::CaptionFor(loaded.failure, "app"), row.caption);
    EXPECT_EQ(message.icon, row.icon);
    EXPECT_EQ(loaded.document.file.IsOpen(), row.streamOpen);
    EXPECT_FALSE(loaded.records.cart.m_bCartLoaded);
    EXPECT_FALSE(loaded.records.cart2.m_bCartLoaded);
    EXPECT_EQ(loaded.document.loaded.cartPos, -1);
}

INSTANTIATE_TEST_SUITE_P(Loader, FailureRows, testing::ValuesIn(RowCases()),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(Loader, FileThatCannotBeOpenedIsRowOneWithTheApplicationsNameAndNothingCreated) {
    fixture::TempDir dir;
    OwnedPageRecords records;
    records.info.m_strPath = dir.file("missing.wav").string();
    wave::WaveDocument document;
    EXPECT_EQ(fixture::OpenIntoPages(document, records.refs()), LoadFailure::OpenFailed);
    EXPECT_STREQ(texts::MessageFor(LoadFailure::OpenFailed).text, "Unable to open file.\nMake sure it is not in use.");
    EXPECT_STREQ(texts::CaptionFor(LoadFailure::OpenFailed, "reelmarker"), "reelmarker");
    EXPECT_EQ(texts::MessageFor(LoadFailure::OpenFailed).icon, MessageIcon::None);
    EXPECT_FALSE(document.file.IsOpen());
    EXPECT_FALSE(std::filesystem::exists(records.info.m_strPath));

    records.info.m_strPath = dir.path().string();  // a folder is no file
    EXPECT_EQ(fixture::OpenIntoPages(document, records.refs()), LoadFailure::OpenFailed);
}

TEST(Loader, LayoutExampleRemembersTheCartDataAt654) {
    const ByteVector file = WaveBuilder()
                                .chunk("fmt ", fixture::PcmFormat())
                                .chunk("bext", fixture::ChunkData(602))
                                .chunk("cart", fixture::TypicalCart(2048))
                                .chunk("data", Data())
                                .bytes();
    LoadedFixture loaded(file);
    ASSERT_EQ(loaded.failure, LoadFailure::None);
    EXPECT_EQ(loaded.document.loaded.cartPos, 654);
    EXPECT_EQ(loaded.document.loaded.cartSize, 2048u);
    EXPECT_EQ(*loaded.document.loaded.cart, ByteVector(file.begin() + 654, file.begin() + 2702));
    EXPECT_TRUE(loaded.document.file.IsOpen());
    EXPECT_TRUE(loaded.records.cart.m_bCartLoaded);
    EXPECT_TRUE(loaded.records.cart2.m_bCartLoaded);
    EXPECT_EQ(loaded.records.player.m_strFile, loaded.path.string());
}

TEST(Loader, OptionalChunksAreReadInTheirOrder) {
    const ByteVector all = WaveBuilder()
                               .chunk("fmt ", fixture::PcmFormat())
                               .chunk("fact", ByteVector(4, 1))
                               .chunk("mext", ByteVector(12, 2))
                               .chunk("bext", fixture::TypicalBext())
                               .chunk("cart", fixture::TypicalCart())
                               .bytes();
    LoadedFixture full(all);
    EXPECT_EQ(full.failure, LoadFailure::None);
    EXPECT_EQ(full.records.ebu.m_strDescription, "A short tone");
    EXPECT_EQ(full.records.cart.m_strTitle, "Morning Jingle");

    LoadedFixture cartOnly(
        WaveBuilder().chunk("fmt ", fixture::PcmFormat()).chunk("cart", fixture::TypicalCart()).bytes());
    EXPECT_EQ(cartOnly.failure, LoadFailure::None);
    EXPECT_EQ(cartOnly.records.ebu.m_strDescription, "");
    EXPECT_FALSE(cartOnly.document.loaded.bext.has_value());
}

TEST(Loader, FormatChunkLongerOrShorterThanTheBlock) {
    ByteVector longFmt = fixture::FormatBlock(1, 2, 48000, 24);
    longFmt.insert(longFmt.end(), {0x16, 0x00});  // cbSize of an 18-byte fmt
    LoadedFixture eighteen(WaveBuilder().chunk("fmt ", longFmt).chunk("cart", fixture::TypicalCart()).bytes());
    EXPECT_EQ(eighteen.failure, LoadFailure::None);
    EXPECT_EQ(eighteen.records.cart2.m_nSampleRate, 48000u);

    // A declared size of 14 is still read as 16 bytes, which run into the
    // next header; the walk then finds no cart chunk.
    const ByteVector block = fixture::PcmFormat();
    const ByteVector file = WaveBuilder()
                                .chunk("fmt ", ByteVector(block.begin(), block.begin() + 14))
                                .chunk("cart", fixture::TypicalCart())
                                .bytes();
    LoadedFixture fourteen(file);
    EXPECT_TRUE(fourteen.records.info.m_format.has_value());
    EXPECT_EQ(fourteen.failure, LoadFailure::CartNotFound);
}

TEST(Loader, FormatIsShownSignedButTheBitCountAndNamedByTag) {
    auto texts = [](ByteVector block) {
        LoadedFixture loaded(WaveBuilder().chunk("fmt ", block).chunk("cart", fixture::TypicalCart()).bytes());
        return wave::TextsOf(*loaded.records.info.m_format);
    };
    ByteVector odd = fixture::FormatBlock(3, 2, 44100, 32);
    odd[12] = odd[13] = 0xFF;  // block align 0xFFFF
    const wave::FormatTexts f = texts(odd);
    EXPECT_EQ(f.formatTag, "NOT PCM");
    EXPECT_EQ(f.channels, "2");
    EXPECT_EQ(f.blockAlign, "-1");
    EXPECT_EQ(f.sampleRate, "44100");
    EXPECT_EQ(f.bitsPerSample, "32");
    EXPECT_EQ(f.avgBytesPerSec, "352800");
    EXPECT_EQ(texts(fixture::FormatBlock(0x50, 1, 48000, 0)).formatTag, "MPEG");
    EXPECT_EQ(texts(fixture::FormatBlock(1, 1, 8000, 8)).formatTag, "PCM");
    EXPECT_EQ(texts(fixture::FormatBlock(1, 1, 0x80000000u, 8)).sampleRate, "-2147483648");
    // Bits per sample is a count, and MPEG files store 0xFFFF there.
    EXPECT_EQ(texts(fixture::FormatBlock(0x50, 2, 48000, 0xFFFF)).bitsPerSample, "65535");
}

TEST(Loader, PadBytesAfterOddChunksAreSkippedWhetherOrNotPresent) {
    const ByteVector oddBext = fixture::TypicalBext("odd");  // 605 bytes
    ASSERT_EQ(oddBext.size() % 2, 1u);
    const ByteVector padded = WaveBuilder()
                                  .chunk("fmt ", fixture::PcmFormat())
                                  .chunk("fact", ByteVector(3))
                                  .padByte()
                                  .chunk("mext", ByteVector(5))
                                  .padByte()
                                  .chunk("bext", oddBext)
                                  .padByte()
                                  .chunk("cart", fixture::TypicalCart())
                                  .bytes();
    LoadedFixture withPads(padded);
    EXPECT_EQ(withPads.failure, LoadFailure::None);
    EXPECT_EQ(withPads.records.ebu.m_strCodingHistory, "odd");

    const ByteVector unpadded = WaveBuilder()
                                    .chunk("fmt ", fixture::PcmFormat())
                                    .chunk("fact", ByteVector(3))
                                    .chunk("bext", oddBext)
                                    .chunk("cart", fixture::TypicalCart())
                                    .bytes();
    LoadedFixture withoutPads(unpadded);
    EXPECT_EQ(withoutPads.failure, LoadFailure::None);
    EXPECT_EQ(withoutPads.records.cart.m_strTitle, "Morning Jingle");
}

// Long coding histories and tag texts are kept up to a bound and passed
// over beyond it; the chunk after them is still found.
TEST(Loader, LongBextAndCartDataAreKeptUpToABound) {
    const std::string history(200 * 1024, 'h');
    fixture::ChunkData cart = fixture::TypicalCart(200 * 1024);
    cart.raw(wave::cart::kTagText, std::string(190 * 1024, 't'));
    LoadedFixture loaded(WaveBuilder()
                             .chunk("fmt ", fixture::PcmFormat())
                             .chunk("bext", fixture::TypicalBext(history))
                             .chunk("cart", cart)
                             .bytes());
    ASSERT_EQ(loaded.failure, LoadFailure::None);
    EXPECT_EQ(loaded.document.loaded.bext->size(), 602u + 64 * 1024);
    EXPECT_EQ(loaded.records.ebu.m_strCodingHistory, history.substr(0, 64 * 1024));
    EXPECT_EQ(loaded.records.cart.m_strTitle, "Morning Jingle");
    EXPECT_EQ(loaded.document.loaded.cartSize, 200u * 1024);
    EXPECT_EQ(loaded.document.loaded.cart->size(), 128u * 1024);

    const ByteVector before = loaded.fileBytes();
    ASSERT_TRUE(loaded.document.SaveCart({{wave::CartField::Title, "Evening"}}).ok);
    ByteVector expected = before;
    const std::size_t title = 12 + 8 + 16 + 8 + 602 + history.size() + 8 + wave::cart::kTitle.offset;
    const auto field = expected.begin() + static_cast<std::ptrdiff_t>(title);
    std::fill_n(field, wave::cart::kTitle.width, 0);
    std::copy_n("Evening", 7, field);
    EXPECT_EQ(loaded.fileBytes(), expected);
}

TEST(Loader, HugeDeclaredSizesLoadWhatIsThereWithoutAllocatingTheClaim) {
    ByteVector bext = fixture::TypicalBext();
    const ByteVector file =
        WaveBuilder().chunk("fmt ", fixture::PcmFormat()).chunkDeclaring("bext", 0x7FFFFFFFu, bext).bytes();
    LoadedFixture loaded(file);
    EXPECT_EQ(loaded.failure, LoadFailure::CartNotFound);
    ASSERT_TRUE(loaded.document.loaded.bext.has_value());
    EXPECT_EQ(loaded.document.loaded.bext->size(), bext.size());
    EXPECT_EQ(loaded.records.ebu.m_strOriginator, "Reelmarker");

    const ByteVector cart = fixture::TypicalCart(2048);
    const ByteVector cartPastEnd =
        WaveBuilder()
            .chunk("fmt ", fixture::PcmFormat())
            .chunkDeclaring("cart", 0x40000000u, ByteVector(cart.begin(), cart.begin() + 500))
            .bytes();
    LoadedFixture shortCart(cartPastEnd);
    EXPECT_EQ(shortCart.failure, LoadFailure::None);
    EXPECT_EQ(shortCart.document.loaded.cartSize, 0x40000000u);
    EXPECT_EQ(shortCart.document.loaded.cart->size(), 500u);
    EXPECT_EQ(shortCart.records.cart.m_strTitle, "Morning Jingle");
    EXPECT_EQ(shortCart.records.cart2.m_strUserDef, "");  // beyond the bytes there
}

TEST(Loader, EachLoadStartsFromTheReset) {
    LoadedFixture loaded(fixture::TypicalWave());
    ASSERT_EQ(loaded.failure, LoadFailure::None);
    ASSERT_TRUE(loaded.records.cart2.m_bUrlSupported);

    fixture::WriteFile(loaded.path, Bytes("not a wave at all"));
    EXPECT_EQ(loaded.reload(), LoadFailure::NotWave);
    EXPECT_FALSE(loaded.records.cart.m_bCartLoaded);
    EXPECT_FALSE(loaded.records.cart2.m_bCartLoaded);
    EXPECT_FALSE(loaded.records.info.m_format.has_value());
    EXPECT_EQ(loaded.records.cart.m_strTitle, "");
    EXPECT_EQ(loaded.records.ebu.m_strDescription, "");
    EXPECT_EQ(loaded.records.cart2.m_nStartYear, 1900u);
    EXPECT_EQ(loaded.records.cart2.m_nStartDay, 1u);
    EXPECT_EQ(loaded.records.cart2.m_nEndHour, 0u);
    EXPECT_EQ(loaded.records.cart2.m_strURL, "");
    EXPECT_EQ(loaded.records.player.m_strFile, "");
    EXPECT_EQ(loaded.document.loaded.cartPos, -1);
    EXPECT_FALSE(loaded.document.loaded.bext.has_value());  // the bext chunk was never reached
    // Left alone by the reset; hidden while no cart chunk is loaded.
    EXPECT_TRUE(loaded.records.cart2.m_bUrlSupported);
    EXPECT_EQ(loaded.records.cart2.m_nSampleRate, 44100u);
}

TEST(Loader, FilesBetweenTwoAndFourGibibytesAreWhole) {
    // The RIFF size of such a file is negative as a signed number; only a
    // file shorter than its size has ended early.
    constexpr std::uint32_t kRiffSize = 0xBFFFFFF8u;
    LoadedFixture large(WaveBuilder()
                            .riffSize(kRiffSize)
                            .chunk("fmt ", fixture::PcmFormat())
                            .chunk("cart", fixture::TypicalCart())
                            .bytes());
    EXPECT_EQ(large.failure, LoadFailure::PrematureEnd);
    std::filesystem::resize_file(large.path, std::uintmax_t{kRiffSize} + 8);  // sparse
    EXPECT_EQ(large.reload(), LoadFailure::None);
    EXPECT_EQ(large.records.cart.m_strTitle, "Morning Jingle");
}

TEST(Loader, WaveWithoutCartKeepsFormatPlayerPathAndBext) {
    LoadedFixture loaded(WaveBuilder()
                             .chunk("fmt ", fixture::PcmFormat())
                             .chunk("bext", fixture::TypicalBext())
                             .chunk("data", Data())
                             .bytes());
    EXPECT_EQ(loaded.failure, LoadFailure::CartNotFound);
    EXPECT_TRUE(loaded.records.info.m_format.has_value());
    EXPECT_EQ(loaded.records.player.m_strFile, loaded.path.string());
    EXPECT_EQ(loaded.records.ebu.m_strOriginationDate, "2024-01-02");
    EXPECT_EQ(loaded.records.ebu.m_strOriginationTime, "10:11:12");
}

}  // namespace
