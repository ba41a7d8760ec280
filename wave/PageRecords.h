#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace wave {

class WaveStream;

// The 16-byte format block at the start of the "fmt " data.
struct WaveFormat {
    std::uint16_t wFormatTag = 0;
    std::uint16_t nChannels = 0;
    std::uint32_t nSamplesPerSec = 0;
    std::uint32_t nAvgBytesPerSec = 0;
    std::uint16_t nBlockAlign = 0;
    std::uint16_t wBitsPerSample = 0;
};

struct PostTimer {
    std::uint32_t dwUsage = 0;  // four characters, the first in the lowest byte
    std::uint32_t dwValue = 0;  // a position in samples
};

using PostTimers = std::array<PostTimer, 8>;

// The records below hold the values the pages show, under the pages' own
// member names; each page derives from its record. Text members hold the
// file's 8-bit bytes unchanged.

struct InfoPageRecord {
    std::string m_strPath;
    std::optional<WaveFormat> m_format;  // none until a format block was read
};

struct EbuInfoRecord {
    std::string m_strDescription;
    std::string m_strOriginator;
    std::string m_strOriginatorRef;
    std::string m_strOriginationDate;
    std::string m_strOriginationTime;
    std::string m_strCodingHistory;
};

struct CartInfoRecord {
    bool m_bCartLoaded = false;
    std::string m_strVersion;
    std::string m_strTitle;
    std::string m_strArtist;
    std::string m_strClientID;
    std::string m_strCategory;
    std::string m_strClassification;
};

struct CartInfo2Record {
    bool m_bCartLoaded = false;
    bool m_bUrlSupported = false;
    PostTimers m_timers{};
    std::uint32_t m_nSampleRate = 0;
    std::string m_strUserDef;
    std::string m_strURL;
    std::string m_strProducerAppVer;
    std::string m_strProducerAppID;
    std::string m_strOutCue;
    std::uint32_t m_dwLevelReference = 0;
    std::uint32_t m_nStartHour = 0;
    std::uint32_t m_nStartMinute = 0;
    std::uint32_t m_nStartSecond = 0;
    std::uint32_t m_nStartDay = 1;
    std::uint32_t m_nStartMonth = 1;
    std::uint32_t m_nStartYear = 1900;
    std::uint32_t m_nEndDay = 1;
    std::uint32_t m_nEndHour = 0;
    std::uint32_t m_nEndMonth = 1;
    std::uint32_t m_nEndMinute = 0;
    std::uint32_t m_nEndSecond = 0;
    std::uint32_t m_nEndYear = 1900;
};

struct PlayerRecord {
    std::string m_strFile;
};

// The pages a load writes into.
struct PageRecords {
    InfoPageRecord& info;
    EbuInfoRecord& ebu;
    CartInfoRecord& cart;
    CartInfo2Record& cart2;
    PlayerRecord& player;
};

// A set of records owned together, for users without pages (the CLI, tests).
struct OwnedPageRecords {
    InfoPageRecord info;
    EbuInfoRecord ebu;
    CartInfoRecord cart;
    CartInfo2Record cart2;
    PlayerRecord player;

    PageRecords refs() { return {info, ebu, cart, cart2, player}; }
};

}  // namespace wave
