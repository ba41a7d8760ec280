#include "pages/CartPageFields.h"

#include <algorithm>

#include "pages/TimerWrites.h"
#include "wave/FieldCodecs.h"
#include "wave/Overloaded.h"

namespace {

using F = wave::CartField;
using wave::Overloaded;
using R1 = CartInfoRecord;
using R2 = CartInfo2Record;

// clang-format off
constexpr std::array<CartPageField, 17> kFields = {{
    {F::Version,            Page1Text{&R1::m_strVersion},                                       false},
    {F::Title,              Page1Text{&R1::m_strTitle},                                         true},
    {F::Artist,             Page1Text{&R1::m_strArtist},                                        true},
    {F::ClientID,           Page1Text{&R1::m_strClientID},                                      true},
    {F::Category,           Page1Text{&R1::m_strCategory},                                      true},
    {F::Classification,     Page1Text{&R1::m_strClassification},                                true},
    {F::OutCue,             Page2Text{&R2::m_strOutCue},                                        true},
    {F::StartDate,          Page2Parts{&R2::m_nStartYear, &R2::m_nStartMonth, &R2::m_nStartDay},   true},
    {F::StartTime,          Page2Parts{&R2::m_nStartHour, &R2::m_nStartMinute, &R2::m_nStartSecond}, true},
    {F::EndDate,            Page2Parts{&R2::m_nEndYear, &R2::m_nEndMonth, &R2::m_nEndDay},         true},
    {F::EndTime,            Page2Parts{&R2::m_nEndHour, &R2::m_nEndMinute, &R2::m_nEndSecond},     true},
    {F::ProducerAppID,      Page2Text{&R2::m_strProducerAppID},                                 false},
    {F::ProducerAppVersion, Page2Text{&R2::m_strProducerAppVer},                                false},
    {F::UserDef,            Page2Text{&R2::m_strUserDef},                                       true},
    {F::LevelReference,     Page2Number{&R2::m_dwLevelReference},                               false},
    {F::Timers,             Page2Timers{&R2::m_timers},                                         false},
    {F::URL,                Page2Text{&R2::m_strURL},                                           true},
}};
// clang-format on

// The pages show every field the table gives a label, and only those.
constexpr bool BindsEveryLabelledField() {
    std::size_t next = 0;
    for (const wave::CartFieldRow& row : wave::CartFieldRows()) {
        if (row.label == nullptr) continue;
        if (next == kFields.size() || kFields[next++].field != row.field) return false;
    }
    return next == kFields.size();
}
static_assert(BindsEveryLabelledField(), "each labelled cart field has its page member, in field order");

bool IsDate(wave::CartField field) { return wave::RowOf(field).kind == wave::FieldKind::Date; }

// The page keeps the signed result of the split in unsigned members, so a
// negative number becomes a large unsigned one.
std::array<std::uint32_t, 3> PartsOf(const wave::CartValues& cart, wave::CartField field) {
    auto member = [](int value) { return static_cast<std::uint32_t>(value); };
    if (IsDate(field)) {
        const wave::DateParts date = cart.Date(field);
        return {member(date.year), member(date.month), member(date.day)};
    }
    const wave::TimeParts time = cart.Time(field);
    return {member(time.hour), member(time.minute), member(time.second)};
}

// The members are unsigned; the date and time are formatted from them as
// signed numbers.
std::string FormatParts(const R2& page2, const Page2Parts& parts, wave::CartField field) {
    auto part = [&](std::size_t i) { return static_cast<int>(page2.*parts[i]); };
    return IsDate(field) ? wave::FormatDate(part(0), part(1), part(2)) : wave::FormatTime(part(0), part(1), part(2));
}

const CartPageField& BindingOf(wave::CartField field) {
    return *std::find_if(kFields.begin(), kFields.end(), [&](const CartPageField& f) { return f.field == field; });
}

}  // namespace

std::span<const CartPageField> CartPageFields() { return kFields; }

void ResetCartPages(R1& page1, R2& page2) {
    const R2 initial;
    for (const CartPageField& f : kFields) {
        std::visit(Overloaded{[&](Page1Text m) { (page1.*m).clear(); }, [&](Page2Text m) { (page2.*m).clear(); },
                              [&](const Page2Parts& m) {
                                  for (auto part : m) page2.*part = initial.*part;
                              },
                              [&](Page2Number m) { page2.*m = initial.*m; }, [](Page2Timers) {}},
                   f.member);
    }
}

void FillCartPages(const wave::CartValues& cart, R1& page1, R2& page2) {
    for (const CartPageField& f : kFields) {
        std::visit(Overloaded{[&](Page1Text m) { page1.*m = cart.Text(f.field); },
                              [&](Page2Text m) { page2.*m = cart.Text(f.field); },
                              [&](const Page2Parts& m) {
                                  const std::array<std::uint32_t, 3> parts = PartsOf(cart, f.field);
                                  for (std::size_t i = 0; i < m.size(); ++i) page2.*m[i] = parts[i];
                              },
                              [&](Page2Number m) { page2.*m = cart.Number(f.field); },
                              [&](Page2Timers m) { page2.*m = cart.Timers(); }},
                   f.member);
    }
    // Only a chunk without the URL area has no URL to edit.
    page2.m_bUrlSupported = cart.HoldsUrl();
    if (!page2.m_bUrlSupported) page2.m_strURL = wave::kUrlNotSupported;
}

wave::CartWrites SaveWritesFrom(const R1& page1, const R2& page2) {
    wave::CartWrites writes;
    for (const CartPageField& f : kFields) {
        if (!f.editable) continue;
        if (f.field == F::URL && !page2.m_bUrlSupported) continue;
        std::visit(Overloaded{[&](Page1Text m) {
                                  writes.push_back({f.field, page1.*m});
                              },
                              [&](Page2Text m) {
                                  writes.push_back({f.field, page2.*m});
                              },
                              [&](const Page2Parts& m) {
                                  writes.push_back({f.field, FormatParts(page2, m, f.field)});
                              },
                              [](Page2Number) {}, [](Page2Timers) {}},
                   f.member);
    }
    return writes;
}

namespace {

bool PartsChanged(wave::CartField field, const R2& now, const R2& then) {
    const auto& member = BindingOf(field).member;
    if (const auto* parts = std::get_if<Page2Parts>(&member)) {
        return std::any_of(parts->begin(), parts->end(), [&](auto part) { return now.*part != then.*part; });
    }
    if (field == F::URL) return now.m_strURL != then.m_strURL;
    return true;
}

}  // namespace

wave::CartWrites SaveWritesFrom(const R1& page1, const R2& page2, const R2& asLoaded) {
    wave::CartWrites writes = SaveWritesFrom(page1, page2);
    std::erase_if(writes, [&](const wave::CartWrite& write) { return !PartsChanged(write.field, page2, asLoaded); });
    // Markers edited on the Player page: only the slots that changed.
    const wave::CartWrites timers = TimerWrites(page2.m_timers, asLoaded.m_timers);
    writes.insert(writes.end(), timers.begin(), timers.end());
    return writes;
}
