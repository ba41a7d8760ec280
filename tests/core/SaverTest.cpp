// Writing the cart data back in place: which bytes change, which stay, and
// that no failure is reported as success.
#include <gtest/gtest.h>

#include <algorithm>

#include "pages/CartPageFields.h"
#include "tests/core/LoadedFixture.h"
#include "wave/FieldCodecs.h"

namespace {

using fixture::ByteVector;
using fixture::WaveBuilder;
using wave::CartField;
namespace cart = wave::cart;

ByteVector LayoutExample(const ByteVector& cartData) {
    return WaveBuilder()
        .chunk("fmt ", fixture::PcmFormat())
        .chunk("bext", fixture::ChunkData(602))
        .chunk("cart", cartData)
        .chunk("data", ByteVector(300, 0x33))
        .bytes();
}

// Offsets at which two files of equal length differ.
std::vector<std::size_t> Differences(const ByteVector& a, const ByteVector& b) {
    std::vector<std::size_t> at;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i]) at.push_back(i);
    }
    return at;
}

wave::CartWrites PageWrites(const LoadedFixture& loaded) {
    return SaveWritesFrom(loaded.records.cart, loaded.records.cart2);
}

TEST(Saver, RewritesOnlyTheCartDataOfTheLayoutExample) {
    const ByteVector before = LayoutExample(fixture::TypicalCart(2048));
    LoadedFixture loaded(before);
    loaded.records.cart.m_strTitle = "New title";
    loaded.records.cart2.m_nStartYear = 2002;
    loaded.records.cart2.m_nStartMonth = 3;
    loaded.records.cart2.m_nStartDay = 4;
    loaded.records.cart2.m_nStartHour = 5;
    loaded.records.cart2.m_nStartMinute = 6;
    loaded.records.cart2.m_nStartSecond = 7;
    ASSERT_TRUE(loaded.document.SaveCart(PageWrites(loaded)).ok);

    const ByteVector after = loaded.fileBytes();
    ASSERT_EQ(after.size(), before.size());
    for (const std::size_t at : Differences(before, after)) {
        EXPECT_GE(at, 654u);
        EXPECT_LE(at, 2701u);
    }
    const auto field = [&after](wave::Field f) {
        return std::string(after.begin() + 654 + static_cast<long>(f.offset),
                           after.begin() + 654 + static_cast<long>(f.offset + f.width));
    };
    EXPECT_EQ(field(cart::kTitle), std::string("New title") + std::string(55, '\0'));
    EXPECT_EQ(field(cart::kStartDate), "2002-03-04");
    EXPECT_EQ(field(cart::kStartTime), "05:06:07");
    EXPECT_EQ(*loaded.document.loaded.cart, ByteVector(after.begin() + 654, after.begin() + 2702));
}

TEST(Saver, NoOpSaveKeepsEveryByteOfAWellFormedChunk) {
    const ByteVector before = LayoutExample(fixture::TypicalCart(2100));
    LoadedFixture loaded(before);
    ASSERT_TRUE(loaded.document.SaveCart(PageWrites(loaded)).ok);
    EXPECT_EQ(loaded.fileBytes(), before);
}

TEST(Saver, NoOpSaveNormalisesDatesAndKeepsTheKeptFields) {
    fixture::ChunkData data = fixture::TypicalCart(2048);
    data.text(cart::kStartDate, "2001-5- 6").raw(cart::kTitle.offset + 10, std::string("\0junk", 5));
    const ByteVector before = LayoutExample(data);
    LoadedFixture loaded(before);
    ASSERT_TRUE(loaded.document.SaveCart(PageWrites(loaded)).ok);
    const ByteVector after = loaded.fileBytes();
    const std::vector<std::size_t> changed = Differences(before, after);
    ASSERT_FALSE(changed.empty());
    for (const std::size_t at : changed) {
        const std::size_t offset = at - 654;
        const bool inTitle = offset >= cart::kTitle.offset && offset < cart::kTitle.offset + cart::kTitle.width;
        const bool inStartDate = offset >= cart::kStartDate.offset && offset < cart::kStartDate.offset + 10;
        EXPECT_TRUE(inTitle || inStartDate) << "byte " << offset << " of the cart data changed";
    }
    EXPECT_EQ(wave::ReadTextField(ByteVector(after.begin() + 654, after.end()), cart::kStartDate), "2001-05-06");
}

TEST(Saver, UrlAreaThatReadsAsNoUrlGoesBackAsLoadedUntilEdited) {
    fixture::ChunkData data = fixture::TypicalCart(2048);
    data.raw(cart::kURL.offset, "/not-a-url-start");
    const ByteVector before = LayoutExample(data);
    LoadedFixture loaded(before);
    ASSERT_EQ(loaded.records.cart2.m_strURL, "");
    const CartInfo2Record asLoaded = loaded.records.cart2;
    loaded.records.cart.m_strTitle = "Only the title";
    ASSERT_TRUE(loaded.document.SaveCart(SaveWritesFrom(loaded.records.cart, loaded.records.cart2, asLoaded)).ok);
    const ByteVector after = loaded.fileBytes();
    EXPECT_TRUE(std::equal(before.begin() + 654 + 1024, before.begin() + 654 + 2048, after.begin() + 654 + 1024));

    loaded.records.cart2.m_strURL = "spots/1.wav";
    ASSERT_TRUE(loaded.document.SaveCart(SaveWritesFrom(loaded.records.cart, loaded.records.cart2, asLoaded)).ok);
    EXPECT_EQ(wave::ReadTextField(loaded.fileBytes(), {654 + 1024, 1024}), "spots/1.wav");
}

TEST(Saver, ChunkRunningPastTheEndWritesBackOnlyWhatWasRead) {
    const ByteVector full = fixture::TypicalCart(2048);
    const ByteVector before = WaveBuilder()
                                  .chunk("fmt ", fixture::PcmFormat())
                                  .chunkDeclaring("cart", 4096, ByteVector(full.begin(), full.begin() + 1000))
                                  .bytes();
    LoadedFixture loaded(before);
    ASSERT_EQ(loaded.document.loaded.cart->size(), 1000u);
    ASSERT_TRUE(loaded.document.SaveCart({{CartField::Title, "Cut short"}}).ok);
    const ByteVector after = loaded.fileBytes();
    EXPECT_EQ(after.size(), before.size());
    EXPECT_EQ(wave::ReadTextField(ByteVector(after.begin() + 44, after.end()), cart::kTitle), "Cut short");
}

TEST(Saver, RefusesValuesThatWouldNotReadBackWholeAndWritesNothing) {
    const ByteVector full = fixture::TypicalCart(2048);
    const ByteVector before = WaveBuilder()
                                  .chunk("fmt ", fixture::PcmFormat())
                                  .chunk("cart", ByteVector(full.begin(), full.begin() + 100))
                                  .bytes();
    LoadedFixture loaded(before);
    ASSERT_EQ(loaded.failure, wave::LoadFailure::None);

    const wave::SaveResult tooLong = loaded.document.SaveCart({{CartField::Title, std::string(65, 'x')}});
    EXPECT_FALSE(tooLong.ok);
    EXPECT_EQ(tooLong.field, CartField::Title);
    EXPECT_EQ(tooLong.error, "Title is 65 bytes long; the field holds at most 64 bytes.");

    // Artist has 32 of its 64 bytes in this chunk.
    EXPECT_TRUE(loaded.document.SaveCart({{CartField::Artist, "fits in 32"}}).ok);
    const wave::SaveResult cut = loaded.document.SaveCart({{CartField::Artist, std::string(40, 'a')}});
    EXPECT_FALSE(cut.ok);
    EXPECT_EQ(cut.error, "The cart chunk of this file is too short to hold Artist.");
    // Empty fields wholly beyond the data read back as empty: a page save works.
    EXPECT_TRUE(loaded.document.SaveCart({{CartField::UserDef, ""}}).ok);
    EXPECT_FALSE(loaded.document.SaveCart({{CartField::EndDate, "2000-01-01"}}).ok);

    ByteVector expected = before;
    const auto artist = expected.begin() + 44 + 68;  // cart data at 44; 32 bytes of Artist
    std::fill_n(std::copy_n("fits in 32", 10, artist), 22, 0);
    EXPECT_EQ(loaded.fileBytes(), expected);
}

TEST(Saver, RefusesWhenAnotherProgramChangedTheFile) {
    const ByteVector before = LayoutExample(fixture::TypicalCart(2048));
    {
        LoadedFixture loaded(before);
        ByteVector moved = before;
        moved[650] = 'X';  // the cart size the loader saw is gone
        fixture::WriteFile(loaded.path, moved);
        const wave::SaveResult result = loaded.document.SaveCart({{CartField::Title, "lost?"}});
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.error, "The file was changed by another program since it was loaded.");
        EXPECT_EQ(loaded.fileBytes(), moved);
    }
    {
        // Saved by another program through a new file renamed over the path.
        LoadedFixture loaded(before);
        const auto replacement = loaded.dir.write("new.wav", before);
        std::filesystem::rename(replacement, loaded.path);
        EXPECT_FALSE(loaded.document.SaveCart({{CartField::Title, "lost?"}}).ok);
        EXPECT_EQ(loaded.fileBytes(), before);
    }
    {
        // The same, with the stream reopened by its path before the save, as
        // playback and a batch's sync threads reopen it.
        LoadedFixture loaded(before);
        std::filesystem::rename(loaded.dir.write("new.wav", before), loaded.path);
        ASSERT_TRUE(loaded.document.file.Open(loaded.path.string(), wave::WaveStream::Mode::ReadWrite));
        EXPECT_FALSE(loaded.document.SaveCart({{CartField::Title, "lost?"}}).ok);
        EXPECT_EQ(loaded.fileBytes(), before);
    }
    {
        LoadedFixture loaded(before);
        std::filesystem::resize_file(loaded.path, 1000);
        EXPECT_FALSE(loaded.document.SaveCart({{CartField::Title, "lost?"}}).ok);
        EXPECT_EQ(std::filesystem::file_size(loaded.path), 1000u);
    }
}

TEST(Saver, ReportsAFailedWriteInsteadOfSuccess) {
    LoadedFixture loaded(fixture::TypicalWave());
    loaded.document.file.Open(loaded.path.string(), wave::WaveStream::Mode::ReadOnly);
    const wave::SaveResult result = loaded.document.SaveCart({{CartField::Title, "x"}});
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("The cart chunk could not be written ("), std::string::npos) << result.error;
}

TEST(Saver, NothingToSaveWithoutACartChunkOrAnOpenFile) {
    wave::WaveDocument empty;
    EXPECT_EQ(empty.SaveCart({}).error, "No cart chunk is loaded.");

    LoadedFixture loaded(fixture::TypicalWave());
    ASSERT_EQ(loaded.failure, wave::LoadFailure::None);
    fixture::WriteFile(loaded.path, WaveBuilder().chunk("fmt ", fixture::PcmFormat()).chunk("data", {}).bytes());
    loaded.reload();  // the image of the earlier file is still there, its position is not
    EXPECT_FALSE(loaded.document.SaveCart({}).ok);

    LoadedFixture closed(fixture::TypicalWave());
    closed.document.file.Close();
    EXPECT_EQ(closed.document.SaveCart({}).error, "The file is not open.");
}

TEST(Saver, SaveWritesComeInTheSaversOrderWithTheUrlOnlyWhenPresent) {
    CartInfoRecord p1;
    CartInfo2Record p2;
    p2.m_nEndYear = 12345;  // out of range values are cut, never written long
    std::vector<CartField> order;
    for (const wave::CartWrite& write : SaveWritesFrom(p1, p2)) order.push_back(write.field);
    EXPECT_EQ(order, (std::vector<CartField>{CartField::Title, CartField::Artist, CartField::ClientID,
                                             CartField::Category, CartField::Classification, CartField::OutCue,
                                             CartField::StartDate, CartField::StartTime, CartField::EndDate,
                                             CartField::EndTime, CartField::UserDef}));
    EXPECT_EQ(SaveWritesFrom(p1, p2)[8].value, "12345-01-0");
    p2.m_bUrlSupported = true;
    EXPECT_EQ(SaveWritesFrom(p1, p2).back().field, CartField::URL);
}

TEST(Saver, DatesAndTimesTheUserDidNotChangeKeepTheirStoredBytes) {
    const ByteVector cartData = fixture::TypicalCart()
                                    .text(cart::kStartDate, "2001-5-6")
                                    .text(cart::kStartTime, "1:2:3")
                                    .text(cart::kEndDate, "1900/01/01")
                                    .text(cart::kEndTime, "23:59:59");
    const ByteVector before = fixture::TypicalWave(cartData);
    LoadedFixture loaded(before);
    const CartInfo2Record asLoaded = loaded.records.cart2;
    loaded.records.cart.m_strTitle = "Only the title";
    loaded.records.cart2.m_nEndMinute = 58;
    ASSERT_TRUE(loaded.document.SaveCart(SaveWritesFrom(loaded.records.cart, loaded.records.cart2, asLoaded)).ok);

    const ByteVector after = loaded.fileBytes();
    const auto cartAt = static_cast<std::size_t>(loaded.document.loaded.cartPos);
    const auto field = [&](const ByteVector& file, wave::Field f) {
        return std::string(file.begin() + static_cast<long>(cartAt + f.offset),
                           file.begin() + static_cast<long>(cartAt + f.offset + f.width));
    };
    EXPECT_EQ(field(after, cart::kStartDate), field(before, cart::kStartDate));
    EXPECT_EQ(field(after, cart::kStartTime), field(before, cart::kStartTime));
    EXPECT_EQ(field(after, cart::kEndDate), field(before, cart::kEndDate));
    EXPECT_EQ(field(after, cart::kEndTime), "23:58:59");
    EXPECT_EQ(field(after, cart::kTitle).substr(0, 14), "Only the title");
}

}  // namespace
