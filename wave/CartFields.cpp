#include "wave/CartFields.h"

#include <array>

namespace wave {

namespace {

using F = CartField;
using K = FieldKind;

constexpr Field kLevelReferenceField{cart::kLevelReference, 4};
constexpr Field kPostTimersField{cart::kPostTimers, cart::kPostTimerCount* cart::kPostTimerSize};
constexpr Field kTagTextField{cart::kTagText, 0};  // the width is the rest of the chunk

// clang-format off
constexpr std::array<CartFieldRow, 19> kRows = {{
    // field                 kind          layout                  key                   name                   label                 option              help
    {F::Version,            K::Text,      cart::kVersion,         "version",            "Version",             "Version:",           "--cart-version",   "Cart version"},
    {F::Title,              K::Text,      cart::kTitle,           "title",              "Title",               "Title:",             "--title",          "Title"},
    {F::Artist,             K::Text,      cart::kArtist,          "artist",             "Artist",              "Artist:",            "--artist",         "Artist"},
    {F::CutID,              K::Text,      cart::kCutID,           "cutId",              "Cut ID",              nullptr,              "--cut-id",         "Cut ID"},
    {F::ClientID,           K::Text,      cart::kClientID,        "clientId",           "Client ID",           "Client ID:",         "--client-id",      "Client ID"},
    {F::Category,           K::Text,      cart::kCategory,        "category",           "Category",            "Category:",          "--category",       "Category"},
    {F::Classification,     K::Text,      cart::kClassification,  "classification",     "Classification",      "Classification",     "--classification", "Classification"},
    {F::OutCue,             K::Text,      cart::kOutCue,          "outCue",             "OutCue",              "OutCue:",            "--out-cue",        "Out cue"},
    {F::StartDate,          K::Date,      cart::kStartDate,       "startDate",          "Start Date",          "Start Date:",        "--start-date",     "Start date"},
    {F::StartTime,          K::Time,      cart::kStartTime,       "startTime",          "Start Time",          "Start Time:",        "--start-time",     "Start time"},
    {F::EndDate,            K::Date,      cart::kEndDate,         "endDate",            "End Date",            "End Date:",          "--end-date",       "End date"},
    {F::EndTime,            K::Time,      cart::kEndTime,         "endTime",            "End Time",            "End Time:",          "--end-time",       "End time"},
    {F::ProducerAppID,      K::Text,      cart::kProducerAppID,   "producerAppId",      "Producer App ID",     "Producer App ID:",   "--producer-app-id", "Producer application ID"},
    {F::ProducerAppVersion, K::Text,      cart::kProducerAppVersion, "producerAppVersion", "Producer App Ver", "Producer App Ver:",  "--producer-app-version", "Producer application version"},
    {F::UserDef,            K::Text,      cart::kUserDef,         "userDef",            "User Def",            "User Def:",          "--user-def",       "User-defined text"},
    {F::LevelReference,     K::Number,    kLevelReferenceField,   "levelReference",     "Level reference",     "dwReferenceLevel:",  "--level-reference", "Level reference"},
    {F::Timers,             K::Timers,    kPostTimersField,       "postTimers",         "Post timers",         "PostTimer:",         "--timer",          "Post timer"},
    {F::URL,                K::Url,       cart::kURL,             "url",                "URL",                 "URL:",               "--url",            "URL"},
    {F::TagText,            K::TextToEnd, kTagTextField,          "tagText",            "Tag text",            nullptr,              "--tag-text",       "Tag text"},
}};
// clang-format on

constexpr bool InFieldOrder() {
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        if (static_cast<std::size_t>(kRows[i].field) != i) return false;
        if (i > 0 && kRows[i].layout.offset < kRows[i - 1].layout.offset + kRows[i - 1].layout.width) return false;
    }
    return true;
}
static_assert(InFieldOrder(), "RowOf indexes the rows by field; the rows follow the bytes");

// A key or option named twice would make one field unreachable by name.
constexpr bool NamesDistinct() {
    auto same = [](const char* a, const char* b) {
        return a != nullptr && b != nullptr && std::string_view(a) == std::string_view(b);
    };
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        for (std::size_t j = i + 1; j < kRows.size(); ++j) {
            if (same(kRows[i].key, kRows[j].key) || same(kRows[i].option, kRows[j].option)) return false;
        }
    }
    return true;
}
static_assert(NamesDistinct(), "each key and option names one field");

}  // namespace

std::span<const CartFieldRow> CartFieldRows() { return kRows; }

const CartFieldRow& RowOf(CartField field) { return kRows[static_cast<std::size_t>(field)]; }

Field LayoutOf(CartField field) { return RowOf(field).layout; }

const char* DisplayName(CartField field) { return RowOf(field).name; }

}  // namespace wave
