#include "wave/FieldDistribution.h"

namespace wave {

void FillEbuInfo(ConstBytes bext, EbuInfoRecord& ebu) {
    ebu.m_strDescription = ReadTextField(bext, bext::kDescription);
    ebu.m_strOriginator = ReadTextField(bext, bext::kOriginator);
    ebu.m_strOriginationDate = ReadTextField(bext, bext::kOriginationDate);
    ebu.m_strOriginationTime = ReadTextField(bext, bext::kOriginationTime);
    ebu.m_strOriginatorRef = ReadTextField(bext, bext::kOriginatorReference);
    ebu.m_strCodingHistory = ReadTextToEnd(bext, bext::kCodingHistory);
}

PostTimers ReadPostTimers(ConstBytes cart) {
    PostTimers timers{};
    for (std::size_t k = 0; k < timers.size(); ++k) {
        const std::size_t entry = cart::kPostTimers + k * cart::kPostTimerSize;
        timers[k] = {ReadU32(cart, entry), ReadU32(cart, entry + 4)};
    }
    return timers;
}

namespace {

// The page keeps the signed result of the split in unsigned members, so a
// negative number becomes a large unsigned one.
std::uint32_t AsMember(int value) { return static_cast<std::uint32_t>(value); }

}  // namespace

void FillCartPages(ConstBytes cart, CartInfoRecord& page1, CartInfo2Record& page2) {
    page1.m_strVersion = ReadTextField(cart, cart::kVersion);
    page1.m_strTitle = ReadTextField(cart, cart::kTitle);
    page1.m_strArtist = ReadTextField(cart, cart::kArtist);
    page1.m_strClientID = ReadTextField(cart, cart::kClientID);
    page1.m_strCategory = ReadTextField(cart, cart::kCategory);
    page1.m_strClassification = ReadTextField(cart, cart::kClassification);

    page2.m_strOutCue = ReadTextField(cart, cart::kOutCue);
    const DateParts start = SplitDate(ReadTextField(cart, cart::kStartDate));
    page2.m_nStartYear = AsMember(start.year);
    page2.m_nStartMonth = AsMember(start.month);
    page2.m_nStartDay = AsMember(start.day);
    const TimeParts startTime = SplitTime(ReadTextField(cart, cart::kStartTime));
    page2.m_nStartHour = AsMember(startTime.hour);
    page2.m_nStartMinute = AsMember(startTime.minute);
    page2.m_nStartSecond = AsMember(startTime.second);
    const DateParts end = SplitDate(ReadTextField(cart, cart::kEndDate));
    page2.m_nEndYear = AsMember(end.year);
    page2.m_nEndMonth = AsMember(end.month);
    page2.m_nEndDay = AsMember(end.day);
    const TimeParts endTime = SplitTime(ReadTextField(cart, cart::kEndTime));
    page2.m_nEndHour = AsMember(endTime.hour);
    page2.m_nEndMinute = AsMember(endTime.minute);
    page2.m_nEndSecond = AsMember(endTime.second);
    page2.m_strProducerAppID = ReadTextField(cart, cart::kProducerAppID);
    page2.m_strProducerAppVer = ReadTextField(cart, cart::kProducerAppVersion);
    page2.m_strUserDef = ReadTextField(cart, cart::kUserDef);
    page2.m_dwLevelReference = ReadU32(cart, cart::kLevelReference);
    page2.m_timers = ReadPostTimers(cart);

    // An area whose text does not read as a URL shows as an empty one, to be
    // filled in; only a chunk without the area has no URL to edit.
    page2.m_bUrlSupported = HoldsUrlArea(cart);
    if (!page2.m_bUrlSupported) {
        page2.m_strURL = kUrlNotSupported;
    } else {
        page2.m_strURL = UrlPresent(cart) ? ReadTextField(cart, cart::kURL) : std::string();
    }
}

}  // namespace wave
