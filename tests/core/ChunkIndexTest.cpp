// The chunk index a load keeps, and the look past a fixed-order refusal:
// the any-layout walk of the same open file, kept aside until taken.
#include <gtest/gtest.h>

#include "tests/core/LoadedFixture.h"
#include "wave/ChunkIds.h"

using fixture::ByteVector;
using fixture::WaveBuilder;
using wave::ChunkEntry;
using wave::LoadFailure;
namespace id = wave::chunk_id;

namespace {

ByteVector PeakBeforeCart() {
    return WaveBuilder()
        .chunk("fmt ", fixture::PcmFormat())
        .chunk("PEAK", ByteVector(24, 0))
        .chunk("cart", fixture::TypicalCart())
        .chunk("data", ByteVector(64, 0))
        .bytes();
}

}  // namespace

TEST(ChunkIndex, ListsTheChunksTheFixedOrderWalkMetWithPadBytesSkipped) {
    const LoadedFixture loaded(WaveBuilder()
                                   .chunk("fmt ", fixture::PcmFormat())
                                   .chunkDeclaring("fact", 3, ByteVector(4, 0))  // and its pad byte
                                   .chunk("cart", fixture::TypicalCart())
                                   .chunk("data", ByteVector(64, 0))
                                   .bytes());
    ASSERT_EQ(loaded.failure, LoadFailure::None);
    const std::vector<ChunkEntry> expected{{id::kFmt, 12, 16}, {id::kFact, 36, 3}, {id::kCart, 48, 2048}};
    EXPECT_EQ(loaded.document.loaded.chunks, expected);
}

TEST(ChunkIndex, EndsWithTheChunkThatStoppedTheWalk) {
    const LoadedFixture loaded(PeakBeforeCart());
    EXPECT_EQ(loaded.failure, LoadFailure::CartNotFound);
    const std::vector<ChunkEntry> expected{{id::kFmt, 12, 16}, {wave::FourCC("PEAK"), 36, 24}};
    EXPECT_EQ(loaded.document.loaded.chunks, expected);
}

TEST(ChunkIndex, GivesRf64SizesFromDs64) {
    const LoadedFixture loaded(WaveBuilder()
                                   .fileId("RF64")
                                   .riffSize(0xFFFFFFFF)
                                   .chunk("ds64", fixture::Ds64(0, 64))
                                   .chunk("fmt ", fixture::PcmFormat())
                                   .chunkDeclaring("data", 0xFFFFFFFF, ByteVector(64, 0))
                                   .chunk("cart", fixture::TypicalCart())
                                   .bytes(),
                               "case.wav", wave::ChunkWalk::AnyLayout);
    ASSERT_EQ(loaded.failure, LoadFailure::None);
    ASSERT_EQ(loaded.document.loaded.chunks.size(), 4u);
    EXPECT_EQ(loaded.document.loaded.chunks[2], (ChunkEntry{id::kData, 72, 64}));
}

TEST(LookPastRefusal, KeepsTheCartAsideUntilTakenAndLeavesTheRefusalShown) {
    LoadedFixture loaded(PeakBeforeCart());
    EXPECT_FALSE(loaded.document.CartPastRefusal());  // only when asked for
    loaded.document.lookPastRefusal = true;
    ASSERT_EQ(loaded.reload(), LoadFailure::CartNotFound);
    EXPECT_EQ(loaded.document.CartPastRefusal(), std::optional<std::int64_t>{76});
    EXPECT_FALSE(loaded.records.cart.m_bCartLoaded);
    EXPECT_FALSE(loaded.document.CartLoaded());

    EXPECT_EQ(loaded.document.TakePastRefusal(), LoadFailure::None);
    EXPECT_FALSE(loaded.document.CartPastRefusal());
    EXPECT_FALSE(loaded.document.loaded.stoppedAt);
    EXPECT_EQ(loaded.document.Cart().Text(wave::CartField::Title), "Morning Jingle");
    EXPECT_TRUE(loaded.document.file.IsOpen());  // a save needs it
}

TEST(LookPastRefusal, DeclinedClosesTheStreamAsTheRefusalWould) {
    LoadedFixture loaded(PeakBeforeCart());
    loaded.document.lookPastRefusal = true;
    ASSERT_EQ(loaded.reload(), LoadFailure::CartNotFound);
    EXPECT_TRUE(loaded.document.file.IsOpen());
    loaded.document.DeclinePastRefusal();
    EXPECT_FALSE(loaded.document.file.IsOpen());
    EXPECT_FALSE(loaded.document.CartPastRefusal());
}
