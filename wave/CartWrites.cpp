#include "wave/CartWrites.h"

#include "wave/FieldCodecs.h"

namespace wave {

namespace {

// The members are unsigned; the date and time are formatted from them as
// signed numbers.
int Signed(std::uint32_t member) { return static_cast<int>(member); }

}  // namespace

CartWrites SaveWritesFrom(const CartInfoRecord& p1, const CartInfo2Record& p2) {
    CartWrites writes = {
        {CartField::Title, p1.m_strTitle},
        {CartField::Artist, p1.m_strArtist},
        {CartField::ClientID, p1.m_strClientID},
        {CartField::Category, p1.m_strCategory},
        {CartField::Classification, p1.m_strClassification},
        {CartField::OutCue, p2.m_strOutCue},
        {CartField::StartDate, FormatDate(Signed(p2.m_nStartYear), Signed(p2.m_nStartMonth), Signed(p2.m_nStartDay))},
        {CartField::StartTime,
         FormatTime(Signed(p2.m_nStartHour), Signed(p2.m_nStartMinute), Signed(p2.m_nStartSecond))},
        {CartField::EndDate, FormatDate(Signed(p2.m_nEndYear), Signed(p2.m_nEndMonth), Signed(p2.m_nEndDay))},
        {CartField::EndTime, FormatTime(Signed(p2.m_nEndHour), Signed(p2.m_nEndMinute), Signed(p2.m_nEndSecond))},
        {CartField::UserDef, p2.m_strUserDef},
    };
    if (p2.m_bUrlSupported) writes.push_back({CartField::URL, p2.m_strURL});
    return writes;
}

namespace {

bool PartsChanged(CartField field, const CartInfo2Record& now, const CartInfo2Record& then) {
    auto differ = [&](auto member) { return now.*member != then.*member; };
    using R = CartInfo2Record;
    switch (field) {
        case CartField::StartDate:
            return differ(&R::m_nStartYear) || differ(&R::m_nStartMonth) || differ(&R::m_nStartDay);
        case CartField::StartTime:
            return differ(&R::m_nStartHour) || differ(&R::m_nStartMinute) || differ(&R::m_nStartSecond);
        case CartField::EndDate: return differ(&R::m_nEndYear) || differ(&R::m_nEndMonth) || differ(&R::m_nEndDay);
        case CartField::EndTime: return differ(&R::m_nEndHour) || differ(&R::m_nEndMinute) || differ(&R::m_nEndSecond);
        case CartField::URL: return differ(&R::m_strURL);
        default: return true;
    }
}

}  // namespace

CartWrites SaveWritesFrom(const CartInfoRecord& p1, const CartInfo2Record& p2, const CartInfo2Record& asLoaded) {
    CartWrites writes = SaveWritesFrom(p1, p2);
    std::erase_if(writes, [&](const CartWrite& write) { return !PartsChanged(write.field, p2, asLoaded); });
    return writes;
}

}  // namespace wave
