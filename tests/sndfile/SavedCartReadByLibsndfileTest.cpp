// Files our saver edited read back through libsndfile, an independent
// reader: the new values where we wrote, everything else as it was.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>

#include "pages/CartPageFields.h"
#include "tests/sndfile/LibsndfileFiles.h"
#include "tests/support/PagesLoad.h"
#include "tests/support/WaveBuilder.h"
#include "wave/CartWrites.h"
#include "wave/FieldCodecs.h"
#include "wave/TextCodec.h"
#include "wave/TimerUsage.h"
#include "wave/WaveDocument.h"

namespace {

using sndfile_fixture::DifferingBextFields;
using sndfile_fixture::DifferingCartFields;
using sndfile_fixture::ReadWithLibsndfile;
using sndfile_fixture::SetText;
using sndfile_fixture::SetTimer;
using sndfile_fixture::Text;
using sndfile_fixture::WriteOptions;
using wave::CartField;
using NoFields = std::vector<std::string>;

WriteOptions Typical(int subtype = SF_FORMAT_PCM_16, int channels = 2, sf_count_t frames = 4800) {
    WriteOptions options;
    options.format = SF_FORMAT_WAV | subtype;
    options.channels = channels;
    options.frames = frames;
    options.cart = sndfile_fixture::TypicalCartInfo();
    options.bext = sndfile_fixture::TypicalBroadcastInfo();
    return options;
}

class SavedCartReadByLibsndfile : public ::testing::Test {
protected:
    // Writes the file with libsndfile and keeps what libsndfile reads of it
    // and its bytes, to compare the edited file with.
    void Prepare(const WriteOptions& options) {
        path_ = dir_.file("edit.wav");
        sndfile_fixture::WriteWithLibsndfile(path_, options);
        before_ = ReadWithLibsndfile(path_);
        ASSERT_TRUE(before_.cart.has_value());
        ASSERT_TRUE(before_.bext.has_value());
        beforeBytes_ = fixture::ReadFile(path_);
    }

    void SetUp() override { Prepare(Typical()); }

    wave::LoadFailure Open(wave::WaveStream::Mode mode = wave::WaveStream::Mode::ReadWrite) {
        pages_.info.m_strPath = path_.string();
        return fixture::OpenIntoPages(doc_, pages_.refs(), mode);
    }

    // The file's bytes with the cart data cut out, so that what lies around
    // it can be compared.
    fixture::ByteVector BytesOutsideCart(const fixture::ByteVector& bytes) const {
        const auto from = static_cast<std::size_t>(doc_.loaded.cartPos);
        const std::size_t to = std::min(bytes.size(), from + doc_.loaded.cartSize);
        fixture::ByteVector out(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(from));
        out.insert(out.end(), bytes.begin() + static_cast<std::ptrdiff_t>(to), bytes.end());
        return out;
    }

    fixture::TempDir dir_;
    std::filesystem::path path_;
    sndfile_fixture::LibsndfileView before_;
    fixture::ByteVector beforeBytes_;
    OwnedPageRecords pages_;
    wave::WaveDocument doc_;
};

TEST_F(SavedCartReadByLibsndfile, EditedFieldsReadBackAndTheRestIsKept) {
    ASSERT_EQ(Open(), wave::LoadFailure::None);
    const wave::SaveResult saved = doc_.SaveCart({
        {CartField::Title, "Late Night Open"},
        {CartField::StartDate, wave::FormatDate(2031, 7, 8)},
        {CartField::StartTime, wave::FormatTime(9, 10, 11)},
        {CartField::URL, "https://cdn.example.com/late.wav"},
    });
    ASSERT_TRUE(saved.ok) << saved.error;

    const auto after = ReadWithLibsndfile(path_);
    ASSERT_TRUE(after.cart.has_value());
    EXPECT_EQ(Text(after.cart->title), "Late Night Open");
    EXPECT_EQ(Text(after.cart->start_date), "2031-07-08");
    EXPECT_EQ(Text(after.cart->start_time), "09:10:11");
    EXPECT_EQ(Text(after.cart->url), "https://cdn.example.com/late.wav");

    SF_CART_INFO expected = *before_.cart;
    SetText(expected.title, "Late Night Open");
    SetText(expected.start_date, "2031-07-08");
    SetText(expected.start_time, "09:10:11");
    SetText(expected.url, "https://cdn.example.com/late.wav");
    EXPECT_EQ(DifferingCartFields(*after.cart, expected), NoFields{});
    ASSERT_TRUE(after.bext.has_value());
    EXPECT_EQ(DifferingBextFields(*after.bext, *before_.bext), NoFields{});
}

TEST_F(SavedCartReadByLibsndfile, AudioLengthAndSurroundingBytesUnchanged) {
    ASSERT_EQ(Open(), wave::LoadFailure::None);
    const wave::SaveResult saved = doc_.SaveCart({{CartField::Title, "Another title"}});
    ASSERT_TRUE(saved.ok) << saved.error;

    const auto after = ReadWithLibsndfile(path_);
    EXPECT_EQ(after.info.frames, before_.info.frames);
    EXPECT_TRUE(after.samples == before_.samples) << "the audio frames changed";
    const fixture::ByteVector afterBytes = fixture::ReadFile(path_);
    EXPECT_EQ(afterBytes.size(), beforeBytes_.size());
    EXPECT_TRUE(BytesOutsideCart(afterBytes) == BytesOutsideCart(beforeBytes_)) << "bytes outside the cart changed";
}

TEST_F(SavedCartReadByLibsndfile, ClearedAndFullWidthValues) {
    ASSERT_EQ(Open(), wave::LoadFailure::None);
    const wave::SaveResult saved = doc_.SaveCart({
        {CartField::Title, ""},
        {CartField::Artist, std::string(64, 'A')},
        {CartField::Category, std::string(64, 'C')},
        {CartField::UserDef, std::string(64, 'U')},
        {CartField::EndTime, wave::FormatTime(23, 59, 59)},
    });
    ASSERT_TRUE(saved.ok) << saved.error;

    const auto after = ReadWithLibsndfile(path_);
    ASSERT_TRUE(after.cart.has_value());
    SF_CART_INFO expected = *before_.cart;
    SetText(expected.title, "");
    SetText(expected.artist, std::string(64, 'A'));
    SetText(expected.category, std::string(64, 'C'));
    SetText(expected.user_def, std::string(64, 'U'));
    SetText(expected.end_time, "23:59:59");
    EXPECT_EQ(DifferingCartFields(*after.cart, expected), NoFields{});
}

TEST_F(SavedCartReadByLibsndfile, RefusedValueLeavesTheFileUntouched) {
    ASSERT_EQ(Open(), wave::LoadFailure::None);
    const wave::SaveResult saved = doc_.SaveCart({
        {CartField::Artist, "fits"},
        {CartField::Title, std::string(65, 'T')},
    });
    EXPECT_FALSE(saved.ok);
    EXPECT_EQ(saved.field, CartField::Title);
    EXPECT_TRUE(fixture::ReadFile(path_) == beforeBytes_) << "a refused save changed the file";
}

TEST_F(SavedCartReadByLibsndfile, SaveThroughReadOnlyOpenFailsAndSaysSo) {
    ASSERT_EQ(Open(wave::WaveStream::Mode::ReadOnly), wave::LoadFailure::None);
    const wave::SaveResult saved = doc_.SaveCart({{CartField::Title, "not stored"}});
    EXPECT_FALSE(saved.ok);
    EXPECT_NE(saved.error, "");
    EXPECT_TRUE(fixture::ReadFile(path_) == beforeBytes_);
}

TEST_F(SavedCartReadByLibsndfile, FileReplacedSinceLoadIsNotWritten) {
    ASSERT_EQ(Open(), wave::LoadFailure::None);
    // Another program writes a new file and renames it over the loaded one.
    const auto replacement = dir_.file("replacement.wav");
    sndfile_fixture::WriteWithLibsndfile(replacement, Typical());
    const fixture::ByteVector replacementBytes = fixture::ReadFile(replacement);
    ASSERT_EQ(std::rename(replacement.c_str(), path_.c_str()), 0);

    EXPECT_FALSE(doc_.SaveCart({{CartField::Title, "stale edit"}}).ok);
    EXPECT_TRUE(fixture::ReadFile(path_) == replacementBytes);
}

TEST_F(SavedCartReadByLibsndfile, FileRewrittenInPlaceSinceLoadIsNotWritten) {
    ASSERT_EQ(Open(), wave::LoadFailure::None);
    // The same file (same inode) rewritten without a bext chunk: the cart
    // now starts where the loaded position points into other bytes.
    WriteOptions rewritten = Typical();
    rewritten.bext.reset();
    sndfile_fixture::WriteWithLibsndfile(path_, rewritten);
    const fixture::ByteVector rewrittenBytes = fixture::ReadFile(path_);

    EXPECT_FALSE(doc_.SaveCart({{CartField::Title, "stale edit"}}).ok);
    EXPECT_TRUE(fixture::ReadFile(path_) == rewrittenBytes);
}

TEST_F(SavedCartReadByLibsndfile, ApplyingUnchangedPagesLeavesTheFileIdentical) {
    ASSERT_EQ(Open(), wave::LoadFailure::None);
    const wave::SaveResult saved = doc_.SaveCart(SaveWritesFrom(pages_.cart, pages_.cart2));
    ASSERT_TRUE(saved.ok) << saved.error;
    EXPECT_TRUE(fixture::ReadFile(path_) == beforeBytes_) << "an unchanged apply rewrote some field";
}

TEST_F(SavedCartReadByLibsndfile, PageEditsReachLibsndfileAndOurLoader) {
    ASSERT_EQ(Open(), wave::LoadFailure::None);
    const wave::EncodedText title = wave::EncodeText("Caf\u00E9 \u2013 live");
    ASSERT_TRUE(title.ok);
    pages_.cart.m_strTitle = title.bytes;
    pages_.cart.m_strClassification = "Outro";
    pages_.cart2.m_nEndYear = 2040;
    pages_.cart2.m_nEndMonth = 2;
    pages_.cart2.m_nEndDay = 29;
    pages_.cart2.m_nEndHour = 1;
    pages_.cart2.m_nEndMinute = 2;
    pages_.cart2.m_nEndSecond = 3;
    pages_.cart2.m_strURL = "http://new.example.org/";
    const wave::SaveResult saved = doc_.SaveCart(SaveWritesFrom(pages_.cart, pages_.cart2));
    ASSERT_TRUE(saved.ok) << saved.error;

    const auto after = ReadWithLibsndfile(path_);
    ASSERT_TRUE(after.cart.has_value());
    SF_CART_INFO expected = *before_.cart;
    SetText(expected.title, "Caf\xE9 \x96 live");
    SetText(expected.classification, "Outro");
    SetText(expected.end_date, "2040-02-29");
    SetText(expected.end_time, "01:02:03");
    SetText(expected.url, "http://new.example.org/");
    EXPECT_EQ(DifferingCartFields(*after.cart, expected), NoFields{});

    OwnedPageRecords reloaded;
    wave::WaveDocument again;
    reloaded.info.m_strPath = path_.string();
    ASSERT_EQ(fixture::OpenIntoPages(again, reloaded.refs(), wave::WaveStream::Mode::ReadOnly),
              wave::LoadFailure::None);
    EXPECT_EQ(wave::DecodeText(reloaded.cart.m_strTitle), "Caf\u00E9 \u2013 live");
    EXPECT_EQ(reloaded.cart2.m_nEndYear, 2040u);
    EXPECT_EQ(reloaded.cart2.m_nEndDay, 29u);
    EXPECT_EQ(reloaded.cart2.m_strURL, "http://new.example.org/");
}

TEST_F(SavedCartReadByLibsndfile, MarkerEditsReachLibsndfileAsExactlyThoseTimers) {
    ASSERT_EQ(Open(), wave::LoadFailure::None);
    const CartInfo2Record asLoaded = pages_.cart2;
    // As the markers list leaves them: one moved, one deleted, one added.
    pages_.cart2.m_timers[1].value = 48000;
    pages_.cart2.m_timers[2] = {};
    pages_.cart2.m_timers[5] = {*wave::UsageWordOf("INTs"), 1200};
    const wave::SaveResult saved = doc_.SaveCart(SaveWritesFrom(pages_.cart, pages_.cart2, asLoaded));
    ASSERT_TRUE(saved.ok) << saved.error;

    const auto after = ReadWithLibsndfile(path_);
    ASSERT_TRUE(after.cart.has_value());
    SF_CART_INFO expected = *before_.cart;
    SetTimer(expected, 1, "SEC1", 48000);
    SetTimer(expected, 2, "", 0);
    SetTimer(expected, 5, "INTs", 1200);
    EXPECT_EQ(DifferingCartFields(*after.cart, expected), NoFields{});
    EXPECT_TRUE(after.samples == before_.samples) << "the audio frames changed";
}

TEST_F(SavedCartReadByLibsndfile, FileWithoutUrlKeepsItsUrlAreaEmpty) {
    WriteOptions options = Typical();
    SetText(options.cart->url, "");
    Prepare(options);
    ASSERT_EQ(Open(), wave::LoadFailure::None);
    ASSERT_EQ(pages_.cart2.m_strURL, "");

    pages_.cart.m_strTitle = "Retitled";
    const wave::SaveResult saved = doc_.SaveCart(SaveWritesFrom(pages_.cart, pages_.cart2));
    ASSERT_TRUE(saved.ok) << saved.error;

    const auto after = ReadWithLibsndfile(path_);
    ASSERT_TRUE(after.cart.has_value());
    SF_CART_INFO expected = *before_.cart;
    SetText(expected.title, "Retitled");
    EXPECT_EQ(DifferingCartFields(*after.cart, expected), NoFields{});
}

TEST_F(SavedCartReadByLibsndfile, SecondSaveKeepsTheFirst) {
    ASSERT_EQ(Open(), wave::LoadFailure::None);
    ASSERT_TRUE(doc_.SaveCart({{CartField::Title, "First"}}).ok);
    ASSERT_TRUE(doc_.SaveCart({{CartField::Artist, "Second"}}).ok);

    const auto after = ReadWithLibsndfile(path_);
    ASSERT_TRUE(after.cart.has_value());
    SF_CART_INFO expected = *before_.cart;
    SetText(expected.title, "First");
    SetText(expected.artist, "Second");
    EXPECT_EQ(DifferingCartFields(*after.cart, expected), NoFields{});
}

// Layouts differ by encoding: a longer "fmt ", a "fact" chunk, odd-sized
// audio with a pad byte.
struct Encoding {
    const char* name;
    int subtype;
    int channels;
    sf_count_t frames;
};

void PrintTo(const Encoding& e, std::ostream* os) { *os << e.name; }

class SavedCartEncoding : public SavedCartReadByLibsndfile, public ::testing::WithParamInterface<Encoding> {
protected:
    void SetUp() override {
        const Encoding& e = GetParam();
        Prepare(Typical(e.subtype, e.channels, e.frames));
    }
};

TEST_P(SavedCartEncoding, EditedInPlace) {
    ASSERT_EQ(Open(), wave::LoadFailure::None);
    const wave::SaveResult saved =
        doc_.SaveCart({{CartField::Title, "Encoded"}, {CartField::EndDate, wave::FormatDate(2050, 1, 2)}});
    ASSERT_TRUE(saved.ok) << saved.error;

    const auto after = ReadWithLibsndfile(path_);
    ASSERT_TRUE(after.cart.has_value());
    SF_CART_INFO expected = *before_.cart;
    SetText(expected.title, "Encoded");
    SetText(expected.end_date, "2050-01-02");
    EXPECT_EQ(DifferingCartFields(*after.cart, expected), NoFields{});
    EXPECT_EQ(after.info.frames, before_.info.frames);
    EXPECT_TRUE(after.samples == before_.samples) << "the audio frames changed";
    const fixture::ByteVector afterBytes = fixture::ReadFile(path_);
    EXPECT_EQ(afterBytes.size(), beforeBytes_.size());
    EXPECT_TRUE(BytesOutsideCart(afterBytes) == BytesOutsideCart(beforeBytes_));
}

INSTANTIATE_TEST_SUITE_P(Layouts, SavedCartEncoding,
                         ::testing::Values(Encoding{"u8_mono_odd", SF_FORMAT_PCM_U8, 1, 1001},
                                           Encoding{"s24_stereo", SF_FORMAT_PCM_24, 2, 1000},
                                           Encoding{"s32_six", SF_FORMAT_PCM_32, 6, 333},
                                           Encoding{"ulaw_mono_odd", SF_FORMAT_ULAW, 1, 777},
                                           Encoding{"alaw_stereo", SF_FORMAT_ALAW, 2, 500}),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
