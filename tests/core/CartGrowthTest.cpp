// Adding a cart chunk or enlarging one: where it goes, what else stays byte
// for byte, and what is refused rather than repaired.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "tests/core/LoadedFixture.h"
#include "wave/CartPlacement.h"
#include "wave/ChunkIds.h"
#include "wave/ChunkSurvey.h"
#include "wave/FieldCodecs.h"

namespace {

using fixture::ByteVector;
using fixture::WaveBuilder;
using wave::CartField;
using wave::ChunkWalk;
using wave::LoadFailure;

const ByteVector kAudio(3001, 0x5A);  // odd, so the data chunk keeps a pad byte

// Where each chunk of a file begins, by ID, as the survey reads it.
std::vector<std::string> ChunkIds(const std::filesystem::path& path) {
    wave::WaveStream file;
    file.Open(path.string(), wave::WaveStream::Mode::ReadOnly);
    std::vector<std::string> ids;
    for (const wave::SurveyedChunk& chunk : wave::SurveyChunks(file).chunks)
        ids.push_back(wave::ChunkName(chunk.entry.id));
    return ids;
}

// The one chunk with this ID, as the survey reads it.
wave::SurveyedChunk Chunk(const std::filesystem::path& path, const std::string& id) {
    wave::WaveStream file;
    file.Open(path.string(), wave::WaveStream::Mode::ReadOnly);
    for (const wave::SurveyedChunk& chunk : wave::SurveyChunks(file).chunks) {
        if (wave::ChunkName(chunk.entry.id) == id) return chunk;
    }
    return {};
}

// The bytes of the one chunk with this ID, header included.
ByteVector ChunkBytes(const std::filesystem::path& path, const std::string& id) {
    const ByteVector all = fixture::ReadFile(path);
    const wave::SurveyedChunk chunk = Chunk(path, id);
    return {all.begin() + chunk.entry.offset, all.begin() + chunk.end};
}

// The file read again by a fresh load of the given walk.
std::string TitleAfterReload(const std::filesystem::path& path, ChunkWalk walk) {
    wave::WaveDocument doc;
    if (doc.OpenWave(path.string(), wave::WaveStream::Mode::ReadOnly, walk) != LoadFailure::None) return "<no cart>";
    return doc.Cart().Text(CartField::Title);
}

const wave::CartWrites kTitle = {{CartField::Title, "Added"}};

TEST(CartGrowth, AddsACartBeforeDataByRewriteKeepingEveryOtherChunk) {
    LoadedFixture loaded(WaveBuilder()
                             .chunk("fmt ", fixture::PcmFormat())
                             .chunk("data", kAudio)
                             .chunk("LIST", ByteVector(40, 'L'))
                             .bytes());
    ASSERT_EQ(loaded.failure, LoadFailure::DataBeforeCart);
    const ByteVector data = ChunkBytes(loaded.path, "data");
    const std::int64_t dataWas = Chunk(loaded.path, "data").entry.offset;
    ASSERT_FALSE(loaded.document.file.IsOpen());  // the refusal's row closes it
    ASSERT_TRUE(loaded.document.CanAddCart());
    EXPECT_FALSE(loaded.document.file.IsOpen());  // and asking leaves it so
    ASSERT_TRUE(loaded.document.GrowCart(kTitle, false).ok);

    EXPECT_EQ(ChunkIds(loaded.path), (std::vector<std::string>{"fmt ", "cart", "JUNK", "data", "LIST"}));
    EXPECT_EQ(ChunkBytes(loaded.path, "data"), data);
    // The audio moves by whole blocks, the filler taking what the cart
    // chunk leaves of them.
    EXPECT_EQ((Chunk(loaded.path, "data").entry.offset - dataWas) % wave::kRewriteAlignment, 0);
    EXPECT_GE(ChunkBytes(loaded.path, "JUNK").size(), 8u + wave::kRewriteFillerSize);
    EXPECT_LT(ChunkBytes(loaded.path, "JUNK").size(), 8u + wave::kRewriteFillerSize + wave::kRewriteAlignment);
    EXPECT_EQ(TitleAfterReload(loaded.path, ChunkWalk::FixedOrder), "Added");
    EXPECT_EQ(loaded.document.Cart().Text(CartField::Version), "0101");
    // Nothing but the file itself is left in its folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(loaded.dir.path()), {}), 1);
}

TEST(CartGrowth, TakesAFillerBeforeDataWithoutChangingTheLength) {
    LoadedFixture loaded(WaveBuilder()
                             .chunk("fmt ", fixture::PcmFormat())
                             .chunk("FLLR", ByteVector(3000, 0))
                             .chunk("data", kAudio)
                             .bytes());
    const ByteVector before = loaded.fileBytes();
    ASSERT_TRUE(loaded.document.GrowCart(kTitle, false).ok);
    const ByteVector after = loaded.fileBytes();
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(ChunkIds(loaded.path), (std::vector<std::string>{"fmt ", "cart", "FLLR", "data"}));
    EXPECT_TRUE(std::equal(after.end() - 3010, after.end(), before.end() - 3010));  // the audio stays
    EXPECT_EQ(TitleAfterReload(loaded.path, ChunkWalk::FixedOrder), "Added");
}

TEST(CartGrowth, LongerTagTextTakesTheFillerAfterTheCart) {
    LoadedFixture loaded(WaveBuilder()
                             .chunk("fmt ", fixture::PcmFormat())
                             .chunk("cart", fixture::TypicalCart())
                             .chunk("JUNK", ByteVector(500, 0))
                             .chunk("data", kAudio)
                             .bytes());
    const std::string text(300, 't');
    const wave::CartWrites tag = {{CartField::TagText, text}};
    std::vector<std::uint8_t> image;
    ASSERT_FALSE(loaded.document.PrepareCart(tag, image).ok);  // never without the user's word
    ASSERT_TRUE(loaded.document.NeedsGrowth(tag));
    const std::size_t length = loaded.fileBytes().size();
    ASSERT_TRUE(loaded.document.GrowCart(tag, false).ok);
    EXPECT_EQ(loaded.fileBytes().size(), length);
    EXPECT_EQ(ChunkIds(loaded.path), (std::vector<std::string>{"fmt ", "cart", "JUNK", "data"}));
    EXPECT_EQ(loaded.document.Cart().Text(CartField::TagText), text);
    EXPECT_EQ(loaded.document.Cart().Text(CartField::Title), "Morning Jingle");
}

TEST(CartGrowth, ALastCartMovesToTheEndAndTheOldOneBecomesFiller) {
    for (const bool append : {false, true}) {
        const ByteVector layout = append ? WaveBuilder()
                                               .chunk("fmt ", fixture::PcmFormat())
                                               .chunk("cart", fixture::TypicalCart())
                                               .chunk("data", kAudio)
                                               .bytes()
                                         : WaveBuilder()
                                               .chunk("fmt ", fixture::PcmFormat())
                                               .chunk("data", kAudio)
                                               .chunk("cart", fixture::TypicalCart())
                                               .bytes();
        LoadedFixture loaded(layout, "case.wav", ChunkWalk::AnyLayout);
        const std::string text(100, 'x');
        const wave::SaveResult grown = loaded.document.GrowCart({{CartField::TagText, text}}, append);
        ASSERT_TRUE(grown.ok) << append << grown.error;
        const std::vector<std::string> ids = ChunkIds(loaded.path);
        EXPECT_EQ(ids.back(), "cart") << append;
        EXPECT_EQ(std::count(ids.begin(), ids.end(), "cart"), 1) << append;
        EXPECT_EQ(std::count(ids.begin(), ids.end(), "JUNK"), 1) << append;
        const ByteVector bytes = loaded.fileBytes();
        EXPECT_EQ(wave::ReadU32(bytes, 4) + 8u, bytes.size()) << append;  // the RIFF size takes it in
        EXPECT_EQ(loaded.document.Cart().Text(CartField::TagText), text) << append;
    }
}

TEST(CartGrowth, RefusesLayoutsItCannotPlaceAChunkInSafely) {
    const struct {
        ByteVector bytes;
        const char* said;
    } cases[] = {
        {WaveBuilder().chunk("fmt ", fixture::PcmFormat()).chunk("data", kAudio).chunk("data", kAudio).bytes(),
         "second \"data\""},
        {WaveBuilder().chunk("fmt ", fixture::PcmFormat()).chunkDeclaring("data", 90000, kAudio).bytes(),
         "runs past the end"},
        {WaveBuilder().chunk("fmt ", fixture::PcmFormat()).chunk("data", kAudio).riffSize(100).bytes(),
         "smaller than its chunks"},
    };
    for (const auto& c : cases) {
        LoadedFixture loaded(c.bytes);
        const ByteVector before = loaded.fileBytes();
        const wave::SaveResult grown = loaded.document.GrowCart(kTitle, false);
        EXPECT_FALSE(grown.ok) << c.said;
        EXPECT_NE(grown.error.find(c.said), std::string::npos) << grown.error;
        EXPECT_NE(grown.error.find("unchanged"), std::string::npos) << grown.error;
        EXPECT_EQ(loaded.fileBytes(), before) << c.said;
    }
}

TEST(CartGrowth, RefusesAFileChangedSinceItWasLoaded) {
    LoadedFixture loaded(WaveBuilder().chunk("fmt ", fixture::PcmFormat()).chunk("data", kAudio).bytes());
    ByteVector changed = loaded.fileBytes();
    changed.push_back(0);
    fixture::WriteFile(loaded.path, changed);  // same file, new length
    EXPECT_FALSE(loaded.document.GrowCart(kTitle, false).ok);
    EXPECT_EQ(loaded.fileBytes(), changed);
}

}  // namespace
