#pragma once

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

// All rows, in field order.
std::span<const CartFieldRow> CartFieldRows();
const CartFieldRow& RowOf(CartField field);

Field LayoutOf(CartField field);
const char* DisplayName(CartField field);

}  // namespace wave
