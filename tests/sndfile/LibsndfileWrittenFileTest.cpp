// Files written by libsndfile, an independent writer, load through our
// loader with the values libsndfile was given.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/sndfile/LibsndfileFiles.h"
#include "tests/support/PagesLoad.h"
#include "tests/support/WaveBuilder.h"
#include "wave/FieldCodecs.h"
#include "wave/PostTimerLines.h"
#include "wave/TextCodec.h"
#include "wave/WaveDocument.h"

namespace {

using sndfile_fixture::SetText;
using sndfile_fixture::Text;
using sndfile_fixture::WriteOptions;
using ::testing::ElementsAre;
using ::testing::StartsWith;

constexpr int kWav = SF_FORMAT_WAV;

class LibsndfileWrittenFile : public ::testing::Test {
protected:
    std::filesystem::path Write(const WriteOptions& options, const std::string& name = "written.wav") {
        const auto path = dir_.file(name);
        sndfile_fixture::WriteWithLibsndfile(path, options);
        return path;
    }

    static WriteOptions WithCartAndBext(const SF_CART_INFO& cart = sndfile_fixture::TypicalCartInfo(),
                                        const SF_BROADCAST_INFO& bext = sndfile_fixture::TypicalBroadcastInfo()) {
        WriteOptions options;
        options.cart = cart;
        options.bext = bext;
        return options;
    }

    wave::LoadFailure Open(const std::filesystem::path& path) {
        pages_.info.m_strPath = path.string();
        return fixture::OpenIntoPages(doc_, pages_.refs(), wave::WaveStream::Mode::ReadOnly);
    }

    fixture::TempDir dir_;
    OwnedPageRecords pages_;
    wave::WaveDocument doc_;
};

TEST_F(LibsndfileWrittenFile, CartTextFieldsReadAsWritten) {
    const SF_CART_INFO cart = sndfile_fixture::TypicalCartInfo();
    ASSERT_EQ(Open(Write(WithCartAndBext(cart))), wave::LoadFailure::None);

    EXPECT_TRUE(pages_.cart.m_bCartLoaded);
    EXPECT_TRUE(pages_.cart2.m_bCartLoaded);
    EXPECT_EQ(pages_.cart.m_strVersion, Text(cart.version));
    EXPECT_EQ(pages_.cart.m_strTitle, Text(cart.title));
    EXPECT_EQ(pages_.cart.m_strArtist, Text(cart.artist));
    EXPECT_EQ(pages_.cart.m_strClientID, Text(cart.client_id));
    EXPECT_EQ(pages_.cart.m_strCategory, Text(cart.category));
    EXPECT_EQ(pages_.cart.m_strClassification, Text(cart.classification));
    EXPECT_EQ(pages_.cart2.m_strOutCue, Text(cart.out_cue));
    EXPECT_EQ(pages_.cart2.m_strProducerAppID, Text(cart.producer_app_id));
    EXPECT_EQ(pages_.cart2.m_strProducerAppVer, Text(cart.producer_app_version));
    EXPECT_EQ(pages_.cart2.m_strUserDef, Text(cart.user_def));
}

TEST_F(LibsndfileWrittenFile, DatesAndTimesSplitIntoNumbers) {
    SF_CART_INFO cart = sndfile_fixture::TypicalCartInfo();
    SetText(cart.start_date, "2019-03-04");
    SetText(cart.start_time, "05:06:07");
    SetText(cart.end_date, "2038-12-31");
    SetText(cart.end_time, "23:59:58");
    ASSERT_EQ(Open(Write(WithCartAndBext(cart))), wave::LoadFailure::None);

    const CartInfo2Record& p = pages_.cart2;
    EXPECT_EQ((std::array{p.m_nStartYear, p.m_nStartMonth, p.m_nStartDay}), (std::array{2019u, 3u, 4u}));
    EXPECT_EQ((std::array{p.m_nStartHour, p.m_nStartMinute, p.m_nStartSecond}), (std::array{5u, 6u, 7u}));
    EXPECT_EQ((std::array{p.m_nEndYear, p.m_nEndMonth, p.m_nEndDay}), (std::array{2038u, 12u, 31u}));
    EXPECT_EQ((std::array{p.m_nEndHour, p.m_nEndMinute, p.m_nEndSecond}), (std::array{23u, 59u, 58u}));
}

TEST_F(LibsndfileWrittenFile, LevelReferenceAndPostTimers) {
    SF_CART_INFO cart = sndfile_fixture::TypicalCartInfo();
    cart.level_reference = 0x12345678;
    ASSERT_EQ(Open(Write(WithCartAndBext(cart))), wave::LoadFailure::None);

    EXPECT_EQ(pages_.cart2.m_dwLevelReference, 0x12345678u);
    std::vector<std::string> usages;
    std::vector<std::uint32_t> values;
    for (const wave::PostTimer& timer : pages_.cart2.m_timers) {
        usages.push_back(wave::UsageCode(timer.usage));
        values.push_back(timer.value);
    }
    const std::string unset(4, '\0');
    EXPECT_THAT(usages, ElementsAre("MRK ", "SEC1", "EOD1", "AUD1", unset, unset, unset, unset));
    EXPECT_THAT(values, ElementsAre(4800u, 96000u, 230400u, 2147483647u, 0u, 0u, 0u, 0u));
}

TEST_F(LibsndfileWrittenFile, PostTimerPositionsUseTheFilesSampleRate) {
    SF_CART_INFO cart = sndfile_fixture::TypicalCartInfo();
    sndfile_fixture::SetTimer(cart, 0, "MRK ", 3 * 22050 + 22050 / 2);
    WriteOptions options = WithCartAndBext(cart);
    options.sampleRate = 22050;
    ASSERT_EQ(Open(Write(options)), wave::LoadFailure::None);

    EXPECT_EQ(pages_.cart2.m_nSampleRate, 22050u);
    const auto lines = wave::PostTimerLines(pages_.cart2.m_timers, pages_.cart2.m_nSampleRate);
    EXPECT_THAT(lines.front(), ::testing::HasSubstr("00:00:03.50"));
}

TEST_F(LibsndfileWrittenFile, UrlReadWhenTheChunkHasOne) {
    for (const char* url : {"ftp://archive.example.net/a.wav", "10.1.2.3/spots/a.wav"}) {
        SCOPED_TRACE(url);
        SF_CART_INFO cart = sndfile_fixture::TypicalCartInfo();
        SetText(cart.url, url);
        ASSERT_EQ(Open(Write(WithCartAndBext(cart))), wave::LoadFailure::None);
        EXPECT_TRUE(pages_.cart2.m_bUrlSupported);
        EXPECT_EQ(pages_.cart2.m_strURL, url);
    }
}

TEST_F(LibsndfileWrittenFile, EmptyUrlAreaIsAnEmptyUrlToFillIn) {
    SF_CART_INFO cart = sndfile_fixture::TypicalCartInfo();
    SetText(cart.url, "");
    ASSERT_EQ(Open(Write(WithCartAndBext(cart))), wave::LoadFailure::None);
    EXPECT_TRUE(pages_.cart2.m_bUrlSupported);
    EXPECT_EQ(pages_.cart2.m_strURL, "");
    // The fields before the URL area are still read.
    EXPECT_EQ(pages_.cart.m_strTitle, Text(cart.title));
}

TEST_F(LibsndfileWrittenFile, BextFieldsAndCodingHistory) {
    const SF_BROADCAST_INFO bext = sndfile_fixture::TypicalBroadcastInfo();
    const auto path = Write(WithCartAndBext(sndfile_fixture::TypicalCartInfo(), bext));
    ASSERT_EQ(Open(path), wave::LoadFailure::None);

    const EbuInfoRecord& ebu = pages_.ebu;
    EXPECT_EQ(ebu.m_strDescription, Text(bext.description));
    EXPECT_EQ(ebu.m_strOriginator, Text(bext.originator));
    EXPECT_EQ(ebu.m_strOriginatorRef, Text(bext.originator_reference));
    EXPECT_EQ(ebu.m_strOriginationDate, Text(bext.origination_date));
    EXPECT_EQ(ebu.m_strOriginationTime, Text(bext.origination_time));

    // libsndfile adds a line of its own to the history, so the whole history
    // is what libsndfile itself reads back; ours starts with the line we gave.
    const auto view = sndfile_fixture::ReadWithLibsndfile(path);
    ASSERT_TRUE(view.bext.has_value());
    const std::string theirs(view.bext->coding_history,
                             ::strnlen(view.bext->coding_history, view.bext->coding_history_size));
    EXPECT_EQ(ebu.m_strCodingHistory, theirs);
    EXPECT_THAT(ebu.m_strCodingHistory, StartsWith(Text(bext.coding_history)));
}

TEST_F(LibsndfileWrittenFile, FullWidthFieldsDoNotRunIntoTheirNeighbours) {
    // Values filling the whole width carry no NUL in the file.
    SF_CART_INFO cart = sndfile_fixture::TypicalCartInfo();
    SetText(cart.version, "0102");
    SetText(cart.title, std::string(64, 'T'));
    SetText(cart.artist, std::string(64, 'A'));
    SetText(cart.classification, std::string(64, 'L'));
    SetText(cart.out_cue, std::string(64, 'O'));
    SetText(cart.user_def, std::string(64, 'U'));
    SetText(cart.url, std::string(1024, 'h'));
    SF_BROADCAST_INFO bext = sndfile_fixture::TypicalBroadcastInfo();
    SetText(bext.description, std::string(256, 'D'));
    SetText(bext.originator, std::string(32, 'R'));
    SetText(bext.originator_reference, std::string(32, 'F'));
    ASSERT_EQ(Open(Write(WithCartAndBext(cart, bext))), wave::LoadFailure::None);

    EXPECT_EQ(pages_.cart.m_strVersion, "0102");
    EXPECT_EQ(pages_.cart.m_strTitle, std::string(64, 'T'));
    EXPECT_EQ(pages_.cart.m_strArtist, std::string(64, 'A'));
    EXPECT_EQ(pages_.cart.m_strClassification, std::string(64, 'L'));
    EXPECT_EQ(pages_.cart2.m_strOutCue, std::string(64, 'O'));
    EXPECT_EQ(pages_.cart2.m_strUserDef, std::string(64, 'U'));
    EXPECT_EQ(pages_.cart2.m_strURL, std::string(1024, 'h'));
    EXPECT_EQ(pages_.cart2.m_nStartYear, 2019u);         // the field after Out Cue
    EXPECT_EQ(pages_.cart2.m_dwLevelReference, 32768u);  // the word after User Def
    EXPECT_EQ(pages_.ebu.m_strDescription, std::string(256, 'D'));
    EXPECT_EQ(pages_.ebu.m_strOriginator, std::string(32, 'R'));
    EXPECT_EQ(pages_.ebu.m_strOriginatorRef, std::string(32, 'F'));
    EXPECT_EQ(pages_.ebu.m_strOriginationDate, "2019-03-01");
}

TEST_F(LibsndfileWrittenFile, EightBitTextKeptByteForByte) {
    SF_CART_INFO cart = sndfile_fixture::TypicalCartInfo();
    SetText(cart.title, "Caf\xE9 \x80 \x81\xFF");
    ASSERT_EQ(Open(Write(WithCartAndBext(cart))), wave::LoadFailure::None);
    EXPECT_EQ(pages_.cart.m_strTitle, "Caf\xE9 \x80 \x81\xFF");
    EXPECT_EQ(wave::DecodeText(pages_.cart.m_strTitle), "Caf\u00E9 \u20AC \u0081\u00FF");
}

TEST_F(LibsndfileWrittenFile, CartDataIncludesTheTagText) {
    // A save writes back the cart data as loaded, so the loader must keep
    // every byte of it, the free text after the fixed fields included.
    SF_CART_INFO cart = sndfile_fixture::TypicalCartInfo();
    sndfile_fixture::SetTagText(cart, std::string(201, 'x'));  // odd, so libsndfile pads
    ASSERT_EQ(Open(Write(WithCartAndBext(cart))), wave::LoadFailure::None);
    ASSERT_TRUE(doc_.CartLoaded());
    EXPECT_EQ(doc_.loaded.cart->size(), doc_.loaded.cartSize);
    EXPECT_THAT(wave::ReadTextToEnd(*doc_.loaded.cart, wave::cart::kTagText), StartsWith(std::string(201, 'x')));
}

TEST_F(LibsndfileWrittenFile, CartWithoutBextLoads) {
    WriteOptions options;
    options.cart = sndfile_fixture::TypicalCartInfo();
    ASSERT_EQ(Open(Write(options)), wave::LoadFailure::None);
    EXPECT_EQ(pages_.cart.m_strTitle, Text(options.cart->title));
    EXPECT_EQ(pages_.ebu.m_strDescription, "");
    EXPECT_FALSE(doc_.loaded.bext.has_value());
}

TEST_F(LibsndfileWrittenFile, BextWithoutCartIsShownButNotEditable) {
    WriteOptions options;
    options.bext = sndfile_fixture::TypicalBroadcastInfo();
    EXPECT_EQ(Open(Write(options)), wave::LoadFailure::CartNotFound);
    EXPECT_EQ(pages_.ebu.m_strDescription, Text(options.bext->description));
    EXPECT_FALSE(pages_.cart.m_bCartLoaded);
    EXPECT_FALSE(pages_.cart2.m_bCartLoaded);
    EXPECT_FALSE(doc_.CartLoaded());
}

TEST_F(LibsndfileWrittenFile, PreviousFilesCartIsNotShownForAFileWithout) {
    ASSERT_EQ(Open(Write(WithCartAndBext(), "with-cart.wav")), wave::LoadFailure::None);
    WriteOptions plain;
    ASSERT_EQ(Open(Write(plain, "plain.wav")), wave::LoadFailure::DataBeforeCart);
    EXPECT_EQ(pages_.cart.m_strTitle, "");
    EXPECT_EQ(pages_.ebu.m_strDescription, "");
    EXPECT_FALSE(pages_.cart.m_bCartLoaded);
    EXPECT_FALSE(doc_.CartLoaded());
}

// libsndfile puts a PEAK chunk between "fmt " and the metadata of float
// files; the loader does not look past it, so such a file has no editable
// cart, and a save must fail without touching it.
TEST_F(LibsndfileWrittenFile, FloatFileHasNoEditableCart) {
    for (const int subtype : {SF_FORMAT_FLOAT, SF_FORMAT_DOUBLE}) {
        SCOPED_TRACE(subtype);
        WriteOptions options = WithCartAndBext();
        options.format = kWav | subtype;
        const auto path = Write(options, "float.wav");
        const fixture::ByteVector before = fixture::ReadFile(path);

        EXPECT_EQ(Open(path), wave::LoadFailure::CartNotFound);
        ASSERT_TRUE(pages_.info.m_format.has_value());
        EXPECT_EQ(pages_.info.m_format->formatTag, 3u);
        EXPECT_FALSE(pages_.cart.m_bCartLoaded);
        EXPECT_EQ(pages_.cart.m_strTitle, "");

        EXPECT_FALSE(doc_.SaveCart({{wave::CartField::Title, "changed"}}).ok);
        EXPECT_EQ(fixture::ReadFile(path), before);
    }
}

// Encodings libsndfile writes without a chunk between "fmt " and the
// metadata; some carry a longer "fmt " or a "fact" chunk.
struct Encoding {
    const char* name;
    int subtype;
    int channels;
    int sampleRate;
    std::uint16_t formatTag;
    std::uint16_t bitsPerSample;
};

void PrintTo(const Encoding& e, std::ostream* os) { *os << e.name; }

class LibsndfileEncoding : public LibsndfileWrittenFile, public ::testing::WithParamInterface<Encoding> {};

TEST_P(LibsndfileEncoding, LoadsFormatAndCart) {
    const Encoding& e = GetParam();
    WriteOptions options = WithCartAndBext();
    options.format = kWav | e.subtype;
    options.channels = e.channels;
    options.sampleRate = e.sampleRate;
    options.frames = 1001;  // odd, so 8-bit mono data needs a pad byte
    const auto path = Write(options);
    ASSERT_EQ(Open(path), wave::LoadFailure::None);

    const auto view = sndfile_fixture::ReadWithLibsndfile(path);
    ASSERT_TRUE(pages_.info.m_format.has_value());
    const wave::WaveFormat& format = *pages_.info.m_format;
    EXPECT_EQ(format.formatTag, e.formatTag);
    EXPECT_EQ(format.channels, view.info.channels);
    EXPECT_EQ(format.samplesPerSec, static_cast<std::uint32_t>(view.info.samplerate));
    EXPECT_EQ(format.bitsPerSample, e.bitsPerSample);
    EXPECT_EQ(pages_.cart2.m_nSampleRate, static_cast<std::uint32_t>(e.sampleRate));
    EXPECT_EQ(pages_.cart.m_strTitle, Text(options.cart->title));
    EXPECT_EQ(pages_.ebu.m_strOriginator, Text(options.bext->originator));
    EXPECT_TRUE(pages_.cart2.m_bUrlSupported);
}

INSTANTIATE_TEST_SUITE_P(IntegerAndCompanded, LibsndfileEncoding,
                         ::testing::Values(Encoding{"u8_mono_8000", SF_FORMAT_PCM_U8, 1, 8000, 1, 8},
                                           Encoding{"s16_stereo_44100", SF_FORMAT_PCM_16, 2, 44100, 1, 16},
                                           Encoding{"s24_stereo_96000", SF_FORMAT_PCM_24, 2, 96000, 1, 24},
                                           Encoding{"s32_six_48000", SF_FORMAT_PCM_32, 6, 48000, 1, 32},
                                           Encoding{"ulaw_mono_8000", SF_FORMAT_ULAW, 1, 8000, 7, 8},
                                           Encoding{"alaw_stereo_22050", SF_FORMAT_ALAW, 2, 22050, 6, 8}),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
