#pragma once

#include <array>
#include <span>
#include <string_view>

#include "wave/ChunkLayout.h"

namespace wave {

// Every field of the cart chunk, in the order of its bytes.
enum class CartField {
    Version,
    Title,
    Artist,
    CutID,
    ClientID,
    Category,
    Classification,
    OutCue,
    StartDate,
    StartTime,
    EndDate,
    EndTime,
    ProducerAppID,
    ProducerAppVersion,
    UserDef,
    LevelReference,
    Timers,
    URL,
    TagText,
};

// How a field's bytes read and how a new value is checked.
enum class FieldKind {
    Text,       // 8-bit text, NUL-padded to its width
    Date,       // text "YYYY-MM-DD", edited as three numbers
    Time,       // text "HH:MM:SS", edited as three numbers
    Url,        // text, present only where the chunk holds the URL area
    Number,     // 32-bit little-endian unsigned
    Timers,     // the eight usage and sample-count pairs
    TextToEnd,  // text from the offset to the end of the chunk
};

// One row per cart field: everything the pages, the command line and the
// reports need to know about it lives here, once.
struct CartFieldRow {
    CartField field;
    FieldKind kind;
    Field layout;
    const char* key;     // JSON key: "cutId"
    const char* name;    // in messages: "Client ID"
    const char* label;   // as the page labels it; nullptr where no page shows it
    const char* option;  // `set`'s option; nullptr where `set` cannot write it
    const char* help;    // what the option sets, before its limit
};

// The cart pages' caption.
inline constexpr const char* kCartCaption = "Cart Chunk Info";

// What a URL field shows where the chunk has no URL area.
inline constexpr const char* kUrlNotSupported = "Not supported in version 0100";

// Every cart field's row, in field order: the pages, the dialog templates,
// the command line and the reports all read their names and labels here.
namespace field_table {

using F = CartField;
using K = FieldKind;

inline constexpr Field kLevelReferenceField{cart::kLevelReference, 4};
inline constexpr Field kPostTimersField{cart::kPostTimers, cart::kPostTimerCount* cart::kPostTimerSize};
inline constexpr Field kTagTextField{cart::kTagText, 0};  // the width is the rest of the chunk

// clang-format off
inline constexpr std::array<CartFieldRow, 19> kCartFieldRows = {{
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
    for (std::size_t i = 0; i < kCartFieldRows.size(); ++i) {
        if (static_cast<std::size_t>(kCartFieldRows[i].field) != i) return false;
        if (i > 0 &&
            kCartFieldRows[i].layout.offset < kCartFieldRows[i - 1].layout.offset + kCartFieldRows[i - 1].layout.width)
            return false;
    }
    return true;
}
static_assert(InFieldOrder(), "RowOf indexes the rows by field; the rows follow the bytes");

// A key or option named twice would make one field unreachable by name.
constexpr bool NamesDistinct() {
    auto same = [](const char* a, const char* b) {
        return a != nullptr && b != nullptr && std::string_view(a) == std::string_view(b);
    };
    for (std::size_t i = 0; i < kCartFieldRows.size(); ++i) {
        for (std::size_t j = i + 1; j < kCartFieldRows.size(); ++j) {
            if (same(kCartFieldRows[i].key, kCartFieldRows[j].key) ||
                same(kCartFieldRows[i].option, kCartFieldRows[j].option))
                return false;
        }
    }
    return true;
}
static_assert(NamesDistinct(), "each key and option names one field");

}  // namespace field_table

// All rows, in field order.
constexpr std::span<const CartFieldRow> CartFieldRows() { return field_table::kCartFieldRows; }
constexpr const CartFieldRow& RowOf(CartField field) {
    return field_table::kCartFieldRows[static_cast<std::size_t>(field)];
}

constexpr Field LayoutOf(CartField field) { return RowOf(field).layout; }
constexpr const char* DisplayName(CartField field) { return RowOf(field).name; }

}  // namespace wave
