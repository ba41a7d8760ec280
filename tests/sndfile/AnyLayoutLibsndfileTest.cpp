// The any-layout walk against libsndfile: RF64 and float files libsndfile
// wrote with bext and cart (layouts the default walk refuses) load with
// libsndfile's values, and an in-place save of such a file reads back
// through libsndfile with only the edited field changed.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/sndfile/LibsndfileFiles.h"
#include "tests/support/PagesLoad.h"
#include "tests/support/WaveBuilder.h"
#include "wave/WaveDocument.h"

namespace {

using namespace sndfile_fixture;
using NoFields = std::vector<std::string>;

class AnyLayoutAgainstLibsndfile : public testing::TestWithParam<int> {
protected:
    void SetUp() override {
        sndfile_fixture::WriteOptions options;
        options.format = GetParam();
        options.cart = sndfile_fixture::TypicalCartInfo();
        options.bext = sndfile_fixture::TypicalBroadcastInfo();
        sndfile_fixture::WriteWithLibsndfile(path_, options);
        before_ = ReadWithLibsndfile(path_);
        ASSERT_TRUE(before_.cart.has_value() && before_.bext.has_value());
    }

    wave::LoadFailure Open(wave::ChunkWalk walk) {
        pages_.info.m_strPath = path_.string();
        return fixture::OpenIntoPages(doc_, pages_.refs(), wave::WaveStream::Mode::ReadWrite, walk);
    }

    fixture::TempDir dir_;
    std::filesystem::path path_ = dir_.file("written.wav");
    sndfile_fixture::LibsndfileView before_;
    OwnedPageRecords pages_;
    wave::WaveDocument doc_;
};

TEST_P(AnyLayoutAgainstLibsndfile, LoadsTheValuesLibsndfileReads) {
    EXPECT_NE(Open(wave::ChunkWalk::FixedOrder), wave::LoadFailure::None);
    ASSERT_EQ(Open(wave::ChunkWalk::AnyLayout), wave::LoadFailure::None);

    const SF_CART_INFO& cart = *before_.cart;
    EXPECT_EQ(pages_.cart.m_strVersion, Text(cart.version));
    EXPECT_EQ(pages_.cart.m_strTitle, Text(cart.title));
    EXPECT_EQ(pages_.cart.m_strArtist, Text(cart.artist));
    EXPECT_EQ(pages_.cart2.m_strOutCue, Text(cart.out_cue));
    EXPECT_EQ(pages_.cart2.m_strURL, Text(cart.url));
    EXPECT_EQ(pages_.cart2.m_dwLevelReference, static_cast<std::uint32_t>(cart.level_reference));
    EXPECT_EQ(pages_.cart2.m_timers[0].value, static_cast<std::uint32_t>(cart.post_timers[0].value));
    const SF_BROADCAST_INFO& bext = *before_.bext;
    EXPECT_EQ(pages_.ebu.m_strDescription, Text(bext.description));
    EXPECT_EQ(pages_.ebu.m_strOriginator, Text(bext.originator));
    EXPECT_EQ(pages_.ebu.m_strCodingHistory, std::string(bext.coding_history, bext.coding_history_size).c_str());
    ASSERT_TRUE(pages_.info.m_format.has_value());
    EXPECT_EQ(pages_.info.m_format->samplesPerSec, static_cast<std::uint32_t>(before_.info.samplerate));
    EXPECT_EQ(pages_.info.m_format->channels, before_.info.channels);
}

TEST_P(AnyLayoutAgainstLibsndfile, SavedTitleReadsBackAndNothingElseChanged) {
    ASSERT_EQ(Open(wave::ChunkWalk::AnyLayout), wave::LoadFailure::None);
    const auto sizeBefore = std::filesystem::file_size(path_);
    const wave::SaveResult saved = doc_.SaveCart({{wave::CartField::Title, "Late Night Open"}});
    ASSERT_TRUE(saved.ok) << saved.error;

    const auto after = ReadWithLibsndfile(path_);
    ASSERT_TRUE(after.cart.has_value() && after.bext.has_value());
    SF_CART_INFO expected = *before_.cart;
    SetText(expected.title, "Late Night Open");
    EXPECT_EQ(DifferingCartFields(*after.cart, expected), NoFields{});
    EXPECT_EQ(DifferingBextFields(*after.bext, *before_.bext), NoFields{});
    EXPECT_TRUE(after.samples == before_.samples) << "the audio frames changed";
    EXPECT_EQ(std::filesystem::file_size(path_), sizeBefore);
}

INSTANTIATE_TEST_SUITE_P(Libsndfile, AnyLayoutAgainstLibsndfile,
                         testing::Values(SF_FORMAT_RF64 | SF_FORMAT_PCM_16, SF_FORMAT_WAV | SF_FORMAT_FLOAT),
                         [](const auto& format) {
                             return std::string((format.param & SF_FORMAT_TYPEMASK) == SF_FORMAT_RF64
                                                    ? "rf64_pcm16"
                                                    : "wav_float_peak");
                         });

}  // namespace
