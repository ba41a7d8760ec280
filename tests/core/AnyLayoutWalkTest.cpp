// The any-layout walk: the layouts real writers produce load with their
// values, the default walk keeps refusing them with its rows, and the saver
// rewrites a cart chunk found anywhere, in RIFF and RF64 files alike.
#include <gtest/gtest.h>

#include <fstream>

#include "tests/core/LoadedFixture.h"
#include "tests/support/PagesLoad.h"
#include "wave/ChunkIds.h"

namespace {

using fixture::ByteVector;
using fixture::ChunkData;
using fixture::WaveBuilder;
using wave::ChunkWalk;
using wave::LoadFailure;

const ByteVector kPcm = fixture::PcmFormat();
const ByteVector kBext = fixture::TypicalBext();
const ByteVector kCart = fixture::TypicalCart();
const ByteVector kAudio(100, 0x22);
constexpr std::uint32_t kSizeInDs64 = 0xFFFFFFFFu;

ByteVector Filled(std::size_t n, std::uint8_t value = 0x41) { return ByteVector(n, value); }

WaveBuilder Rf64(const std::string& id, std::uint64_t dataSize,
                 const std::vector<std::pair<std::string, std::uint64_t>>& table = {}) {
    return WaveBuilder().fileId(id).riffSize(kSizeInDs64).chunk("ds64", fixture::Ds64(0, dataSize, table));
}

struct LayoutCase {
    const char* name;
    ByteVector file;
    LoadFailure fixedOrderRow;  // what the default walk makes of it
    const char* stoppedAt;      // the chunk the default walk stopped at
};

std::vector<LayoutCase> LoadingLayouts() {
    return {
        {"libsndfile_float_peak_first",
         WaveBuilder()
             .chunk("fmt ", fixture::FormatBlock(3, 2, 48000, 32))
             .chunk("fact", Filled(4))
             .chunk("PEAK", Filled(24))
             .chunk("bext", kBext)
             .chunk("cart", kCart)
             .chunk("data", kAudio)
             .bytes(),
         LoadFailure::CartNotFound, "PEAK"},
        {"list_info_before_bext_and_cart",
         WaveBuilder()
             .chunk("fmt ", kPcm)
             .chunk("LIST", Filled(30))
             .chunk("bext", kBext)
             .chunk("cart", kCart)
             .chunk("data", kAudio)
             .bytes(),
         LoadFailure::CartNotFound, "LIST"},
        {"metadata_before_fmt",
         WaveBuilder()
             .chunk("bext", kBext)
             .chunk("iXML", Filled(40))
             .chunk("cart", kCart)
             .chunk("fmt ", kPcm)
             .chunk("data", kAudio)
             .bytes(),
         LoadFailure::NoFormatChunk, "bext"},
        {"junk_first_as_rf64_auto_writes",
         WaveBuilder()
             .chunk("JUNK", Filled(28, 0))
             .chunk("fmt ", kPcm)
             .chunk("bext", kBext)
             .chunk("cart", kCart)
             .chunk("data", kAudio)
             .bytes(),
         LoadFailure::NoFormatChunk, "JUNK"},
        {"metadata_after_audio_padded",
         WaveBuilder()
             .chunk("fmt ", kPcm)
             .chunk("data", kAudio)
             .chunk("LIST", Filled(9))
             .padByte()
             .chunk("bext", kBext)
             .chunk("cart", kCart)
             .bytes(),
         LoadFailure::DataBeforeCart, "data"},
        {"rf64_data_size_from_ds64",
         Rf64("RF64", kAudio.size())
             .chunk("fmt ", kPcm)
             .chunk("bext", kBext)
             .chunkDeclaring("data", kSizeInDs64, kAudio)
             .chunk("cart", kCart)
             .bytes(),
         LoadFailure::NotWave, "RF64"},
        {"bw64_chunk_size_from_ds64_table",
         Rf64("BW64", kAudio.size(), {{"JUNK", 10}, {"iXML", 33}})
             .chunk("fmt ", kPcm)
             .chunkDeclaring("iXML", kSizeInDs64, Filled(33))
             .padByte()
             .chunk("bext", kBext)
             .chunkDeclaring("data", kSizeInDs64, kAudio)
             .chunk("cart", kCart)
             .bytes(),
         LoadFailure::NotWave, "BW64"},
    };
}

class LoadingLayout : public testing::TestWithParam<LayoutCase> {};

TEST_P(LoadingLayout, LoadsOnlyByTheAnyLayoutWalk) {
    const LayoutCase& layout = GetParam();
    const LoadedFixture any(layout.file, "any.wav", ChunkWalk::AnyLayout);
    ASSERT_EQ(any.failure, LoadFailure::None);
    EXPECT_TRUE(any.records.cart.m_bCartLoaded && any.records.cart2.m_bCartLoaded);
    EXPECT_EQ(any.records.cart.m_strTitle, "Morning Jingle");
    EXPECT_EQ(any.records.ebu.m_strDescription, "A short tone");
    ASSERT_TRUE(any.records.info.m_format.has_value());
    EXPECT_EQ(any.records.cart2.m_nSampleRate, any.records.info.m_format->samplesPerSec);
    EXPECT_EQ(any.records.player.m_strFile, any.path.string());
    EXPECT_EQ(*any.document.loaded.cart, kCart);

    const LoadedFixture fixedOrder(layout.file, "fixed-order.wav");
    EXPECT_EQ(fixedOrder.failure, layout.fixedOrderRow);
    // What the desktop program names when it offers the other walk.
    if (layout.stoppedAt == nullptr) {
        EXPECT_FALSE(fixedOrder.document.loaded.stoppedAt.has_value());
    } else {
        ASSERT_TRUE(fixedOrder.document.loaded.stoppedAt.has_value());
        EXPECT_EQ(wave::ChunkName(*fixedOrder.document.loaded.stoppedAt), layout.stoppedAt);
    }
    EXPECT_FALSE(any.document.loaded.stoppedAt.has_value());
}

INSTANTIATE_TEST_SUITE_P(AnyLayoutWalk, LoadingLayout, testing::ValuesIn(LoadingLayouts()),
                         [](const auto& param) { return std::string(param.param.name); });

struct RowCase {
    const char* name;
    ByteVector file;
    LoadFailure row;
    bool formatShown;
    bool bextShown;
};

// fmt, then `count` empty chunks, then the cart chunk: the cart is the
// count + 2nd chunk of the walk.
ByteVector CartAfterEmptyChunks(int count) {
    WaveBuilder builder;
    builder.chunk("fmt ", kPcm);
    for (int i = 0; i < count; ++i) builder.chunk("JUNK", {});
    return builder.chunk("cart", kCart).bytes();
}

std::vector<RowCase> RowCases() {
    const ByteVector rf64NoDs64 = WaveBuilder()
                                      .fileId("RF64")
                                      .chunk("fmt ", kPcm)
                                      .chunkDeclaring("data", kSizeInDs64, kAudio)
                                      .chunk("cart", kCart)
                                      .bytes();
    return {
        {"rifx_id", WaveBuilder().fileId("RIFX").chunk("fmt ", kPcm).chunk("cart", kCart).bytes(), LoadFailure::NotWave,
         false, false},
        {"ends_inside_riff_size", {'R', 'F', '6', '4', 1, 0}, LoadFailure::PrematureEnd, false, false},
        {"form_type_not_wave", WaveBuilder().formType("AVI ").chunk("fmt ", kPcm).bytes(),
         LoadFailure::InvalidRiffHeader, false, false},
        {"no_fmt_anywhere", WaveBuilder().chunk("bext", kBext).chunk("cart", kCart).chunk("data", kAudio).bytes(),
         LoadFailure::NoFormatChunk, false, false},
        {"fmt_running_past_the_end", WaveBuilder().chunk("cart", kCart).chunkDeclaring("fmt ", 100, kPcm).bytes(),
         LoadFailure::NoFormatChunk, false, false},
        {"ffmpeg_default_bext_no_cart",
         WaveBuilder().chunk("fmt ", kPcm).chunk("bext", kBext).chunk("LIST", Filled(26)).chunk("data", kAudio).bytes(),
         LoadFailure::CartNotFound, true, true},
        {"cart_behind_a_chunk_past_the_end",
         WaveBuilder().chunk("fmt ", kPcm).chunkDeclaring("data", 5000, kAudio).chunk("cart", kCart).bytes(),
         LoadFailure::CartNotFound, true, false},
        {"rf64_data_size_without_ds64", rf64NoDs64, LoadFailure::CartNotFound, true, false},
        {"cart_size_zero_after_audio",
         WaveBuilder().chunk("fmt ", kPcm).chunk("data", kAudio).chunk("cart", {}).bytes(),
         LoadFailure::InvalidCartHeader, true, false},
        {"cart_size_negative", WaveBuilder().chunk("fmt ", kPcm).chunkDeclaring("cart", 0xFFFFFFF0u, kCart).bytes(),
         LoadFailure::InvalidCartHeader, true, false},
        {"cart_as_the_10000th_chunk", CartAfterEmptyChunks(9998), LoadFailure::None, true, false},
        {"cart_as_the_10001st_chunk", CartAfterEmptyChunks(9999), LoadFailure::CartNotFound, true, false},
    };
}

class AnyLayoutRows : public testing::TestWithParam<RowCase> {};

TEST_P(AnyLayoutRows, EndTheLoadWithTheRowsOfTheDefaultWalk) {
    const RowCase& row = GetParam();
    const LoadedFixture loaded(row.file, "case.wav", ChunkWalk::AnyLayout);
    EXPECT_EQ(loaded.failure, row.row);
    EXPECT_EQ(loaded.document.file.IsOpen(), wave::StreamStaysOpen(row.row));
    EXPECT_EQ(loaded.records.info.m_format.has_value(), row.formatShown);
    EXPECT_EQ(loaded.records.ebu.m_strDescription, row.bextShown ? "A short tone" : "");
    EXPECT_EQ(loaded.document.CartLoaded(), row.row == LoadFailure::None);
}

INSTANTIATE_TEST_SUITE_P(AnyLayoutWalk, AnyLayoutRows, testing::ValuesIn(RowCases()),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(AnyLayoutWalk, TakesTheFirstOfEachChunkAndAFormatBlockCutShortReadsAsZero) {
    const ByteVector shortFmt(kPcm.begin(), kPcm.begin() + 8);  // tag, channels, rate only
    const LoadedFixture loaded(WaveBuilder()
                                   .chunk("cart", kCart)
                                   .chunk("fmt ", shortFmt)
                                   .chunk("cart", ChunkData(2048).text(wave::cart::kTitle, "second"))
                                   .chunk("fmt ", fixture::FormatBlock(3, 1, 8000, 8))
                                   .bytes(),
                               "case.wav", ChunkWalk::AnyLayout);
    ASSERT_EQ(loaded.failure, LoadFailure::None);
    EXPECT_EQ(loaded.records.cart.m_strTitle, "Morning Jingle");
    EXPECT_EQ(loaded.records.info.m_format->samplesPerSec, 44100u);
    EXPECT_EQ(loaded.records.info.m_format->bitsPerSample, 0u);
}

TEST(AnyLayoutWalk, KeepsAtMost64KiBOfCodingHistoryAndFindsTheCartBehindIt) {
    const std::string history(100 * 1024, 'h');
    const LoadedFixture loaded(
        WaveBuilder().chunk("fmt ", kPcm).chunk("bext", fixture::TypicalBext(history)).chunk("cart", kCart).bytes(),
        "case.wav", ChunkWalk::AnyLayout);
    ASSERT_EQ(loaded.failure, LoadFailure::None);
    EXPECT_EQ(loaded.records.ebu.m_strCodingHistory.size(), 64u * 1024u);
    EXPECT_EQ(loaded.records.cart.m_strTitle, "Morning Jingle");
}

// The saver's position check and single write need nothing of the walk:
// only the cart data changes, and the file reads back with the new value.
TEST(AnyLayoutWalk, SaveRewritesOnlyACartChunkAfterTheAudio) {
    const ByteVector file = WaveBuilder().chunk("fmt ", kPcm).chunk("data", kAudio).chunk("cart", kCart).bytes();
    LoadedFixture loaded(file, "case.wav", ChunkWalk::AnyLayout);
    ASSERT_EQ(loaded.failure, LoadFailure::None);
    const auto pos = static_cast<std::size_t>(loaded.document.loaded.cartPos);
    ASSERT_TRUE(loaded.document.SaveCart({{wave::CartField::Title, "Evening News"}}).ok);

    ByteVector expected = file;
    std::copy_n("Evening News\0\0", 14,
                expected.begin() + static_cast<std::ptrdiff_t>(pos + wave::cart::kTitle.offset));
    EXPECT_EQ(loaded.fileBytes(), expected);
    ASSERT_EQ(loaded.reload(), LoadFailure::None);
    EXPECT_EQ(loaded.records.cart.m_strTitle, "Evening News");
}

// RF64 as recorders write it past 4 GiB: the data size only in ds64, the
// cart chunk after the audio. The audio is a hole where the file system
// allows one.
TEST(AnyLayoutWalk, LoadsAndSavesTheCartAfter5GiBOfRf64Audio) {
    constexpr std::uint64_t kAudioSize = 5ull << 30;
    fixture::TempDir dir;
    const auto path = dir.file("large.wav");
    const ByteVector head = Rf64("RF64", kAudioSize)
                                .chunk("fmt ", kPcm)
                                .chunk("bext", kBext)
                                .chunkDeclaring("data", kSizeInDs64, {})
                                .bytes();
    ByteVector tail = {'c', 'a', 'r', 't'};
    fixture::PutLE(tail, static_cast<std::uint32_t>(kCart.size()), 4);
    tail.insert(tail.end(), kCart.begin(), kCart.end());
    if (!fixture::WriteSparseFile(path, head, kAudioSize, tail)) GTEST_SKIP() << "no room for a 5 GiB file here";

    OwnedPageRecords records;
    records.info.m_strPath = path.string();
    wave::WaveDocument doc;
    ASSERT_EQ(fixture::OpenIntoPages(doc, records.refs(), wave::WaveStream::Mode::ReadWrite, ChunkWalk::AnyLayout),
              LoadFailure::None);
    const auto cartPos = static_cast<std::int64_t>(head.size() + kAudioSize + 8);
    EXPECT_EQ(doc.loaded.cartPos, cartPos);
    EXPECT_EQ(records.cart.m_strTitle, "Morning Jingle");
    ASSERT_TRUE(doc.SaveCart({{wave::CartField::Title, "Evening News"}}).ok);

    EXPECT_EQ(std::filesystem::file_size(path), head.size() + kAudioSize + tail.size());
    std::ifstream in(path, std::ios::binary);
    in.seekg(cartPos + static_cast<std::int64_t>(wave::cart::kTitle.offset));
    std::string title(16, '\0');
    in.read(title.data(), 16);
    EXPECT_EQ(title, std::string("Evening News\0\0\0\0", 16));
}

}  // namespace
