// Where each bext and cart field lands in the pages' records.
#include <gtest/gtest.h>

#include "pages/CartPageFields.h"
#include "pages/PageFilling.h"
#include "tests/core/LoadedFixture.h"

namespace {

using fixture::ChunkData;
namespace cart = wave::cart;

TEST(Distribution, EveryCartFieldReachesItsMember) {
    LoadedFixture loaded(fixture::TypicalWave());
    ASSERT_EQ(loaded.failure, wave::LoadFailure::None);
    const CartInfoRecord& p1 = loaded.records.cart;
    const CartInfo2Record& p2 = loaded.records.cart2;
    EXPECT_EQ(p1.m_strVersion, "0101");
    EXPECT_EQ(p1.m_strTitle, "Morning Jingle");
    EXPECT_EQ(p1.m_strArtist, "The Station Band");
    EXPECT_EQ(p1.m_strClientID, "Station One");
    EXPECT_EQ(p1.m_strCategory, "JINGLE");
    EXPECT_EQ(p1.m_strClassification, "ID");
    EXPECT_EQ(p2.m_strOutCue, "fade");
    EXPECT_EQ((std::vector<std::uint32_t>{p2.m_nStartYear, p2.m_nStartMonth, p2.m_nStartDay, p2.m_nStartHour,
                                          p2.m_nStartMinute, p2.m_nStartSecond}),
              (std::vector<std::uint32_t>{2001, 5, 6, 7, 8, 9}));
    EXPECT_EQ((std::vector<std::uint32_t>{p2.m_nEndYear, p2.m_nEndMonth, p2.m_nEndDay, p2.m_nEndHour, p2.m_nEndMinute,
                                          p2.m_nEndSecond}),
              (std::vector<std::uint32_t>{2099, 12, 31, 23, 59, 59}));
    EXPECT_EQ(p2.m_strProducerAppID, "Reelmarker tests");
    EXPECT_EQ(p2.m_strProducerAppVer, "1.0");
    EXPECT_EQ(p2.m_strUserDef, "user text");
    EXPECT_EQ(p2.m_dwLevelReference, 32768u);
    EXPECT_EQ(p2.m_timers[0].usage, 0x204B524Du);  // "MRK " with M in the lowest byte
    EXPECT_EQ(p2.m_timers[0].value, 44100u);
    EXPECT_EQ(p2.m_timers[2].value, 132300u);
    EXPECT_EQ(p2.m_timers[7].usage, 0u);
    EXPECT_EQ(p2.m_nSampleRate, 44100u);
    EXPECT_TRUE(p2.m_bUrlSupported);
    EXPECT_EQ(p2.m_strURL, "http://www.example.com/jingle");
}

TEST(Distribution, EveryBextFieldReachesItsMember) {
    LoadedFixture loaded(fixture::TypicalWave());
    const EbuInfoRecord& ebu = loaded.records.ebu;
    EXPECT_EQ(ebu.m_strDescription, "A short tone");
    EXPECT_EQ(ebu.m_strOriginator, "Reelmarker");
    EXPECT_EQ(ebu.m_strOriginatorRef, "REF-1");
    EXPECT_EQ(ebu.m_strOriginationDate, "2024-01-02");
    EXPECT_EQ(ebu.m_strOriginationTime, "10:11:12");
    EXPECT_EQ(ebu.m_strCodingHistory, "A=PCM,F=44100,W=16,M=stereo\r\n");
}

TEST(Distribution, UrlEditableWhereTheChunkHoldsItsAreaShownWhereItReadsAsOne) {
    CartInfoRecord p1;
    CartInfo2Record p2;
    ChunkData cart = fixture::TypicalCart(2048);
    FillCartPages(wave::CartValues(cart.bytes()), p1, p2);
    EXPECT_TRUE(p2.m_bUrlSupported);
    EXPECT_EQ(p2.m_strURL, "http://www.example.com/jingle");

    // An empty area, or one that reads as no URL, is an empty URL to fill in.
    for (const char* stored : {"", "/spots/1.wav"}) {
        cart.text(cart::kURL, stored);
        FillCartPages(wave::CartValues(cart.bytes()), p1, p2);
        EXPECT_TRUE(p2.m_bUrlSupported) << stored;
        EXPECT_EQ(p2.m_strURL, "") << stored;
    }

    FillCartPages(wave::CartValues(fixture::TypicalCart(2047).bytes()), p1, p2);
    EXPECT_FALSE(p2.m_bUrlSupported);
    EXPECT_EQ(p2.m_strURL, "Not supported in version 0100");
}

TEST(Distribution, BlankAndSignedDatesReachTheUnsignedMembersUnchanged) {
    CartInfoRecord p1;
    CartInfo2Record p2;
    ChunkData cart = fixture::TypicalCart();
    cart.text(cart::kStartDate, "").text(cart::kEndDate, "-001-02-03").text(cart::kStartTime, "2002-03-04");
    FillCartPages(wave::CartValues(cart.bytes()), p1, p2);
    EXPECT_EQ(p2.m_nStartYear, 0u);
    EXPECT_EQ(p2.m_nStartMonth, 0u);
    EXPECT_EQ(p2.m_nStartDay, 0u);
    EXPECT_EQ(p2.m_nEndYear, 0xFFFFFFFFu);
    EXPECT_EQ(p2.m_nEndMonth, 2u);
    EXPECT_EQ(p2.m_nStartHour, 2002u);
}

TEST(Distribution, ChunkShorterThanItsFieldsReadsEmptyAndZero) {
    CartInfoRecord p1;
    CartInfo2Record p2;
    const auto full = fixture::TypicalCart().bytes();
    const std::vector<std::uint8_t> shortCart(full.begin(), full.begin() + 462);  // ends after the start date
    FillCartPages(wave::CartValues(shortCart), p1, p2);
    EXPECT_EQ(p1.m_strTitle, "Morning Jingle");
    EXPECT_EQ(p2.m_nStartYear, 2001u);
    EXPECT_EQ(p2.m_nStartDay, 6u);
    EXPECT_EQ(p2.m_nStartHour, 0u);
    EXPECT_EQ(p2.m_strProducerAppID, "");
    EXPECT_EQ(p2.m_dwLevelReference, 0u);
    EXPECT_EQ(p2.m_timers[0].usage, 0u);
    EXPECT_FALSE(p2.m_bUrlSupported);

    EbuInfoRecord ebu;
    FillEbuInfo(std::vector<std::uint8_t>(300, 'd'), ebu);
    EXPECT_EQ(ebu.m_strDescription, std::string(256, 'd'));
    EXPECT_EQ(ebu.m_strOriginator, std::string(32, 'd'));
    EXPECT_EQ(ebu.m_strOriginatorRef, std::string(12, 'd'));  // cut where the data ends
    EXPECT_EQ(ebu.m_strOriginationDate, "");
    EXPECT_EQ(ebu.m_strCodingHistory, "");
}

}  // namespace
