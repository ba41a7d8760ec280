#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "wave/PostTimers.h"
#include "wave/WaveCheck.h"
#include "wave/WaveFormat.h"

// The records below hold the values the pages show, under the pages' own
// member names; each page derives from its record. Text members hold the
// file's 8-bit bytes unchanged.

struct InfoPageRecord {
    std::string m_strPath;
    std::optional<wave::WaveFormat> m_format;  // none until a format block was read
    std::optional<wave::Findings> m_findings;  // none until a file was checked
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
    wave::PostTimers m_timers{};
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

// A set of records owned together, for users without pages (tests).
struct OwnedPageRecords {
    InfoPageRecord info;
    EbuInfoRecord ebu;
    CartInfoRecord cart;
    CartInfo2Record cart2;
    PlayerRecord player;

    PageRecords refs() { return {info, ebu, cart, cart2, player}; }
};
