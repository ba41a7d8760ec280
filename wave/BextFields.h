#pragma once

#include <array>
#include <span>
#include <string>

#include "wave/ChunkLayout.h"
#include "wave/FieldCodecs.h"

namespace wave {

// The EBU Info page's caption.
inline constexpr const char* kBextCaption = "EBU Broadcast Extension Information";

// The bext fields the page shows, in the page's order.
enum class BextField { Description, Originator, OriginatorReference, OriginationDate, OriginationTime, CodingHistory };

struct BextFieldRow {
    BextField field;
    Field layout;       // the coding history's width is the rest of the chunk
    const char* key;    // JSON key: "originatorReference"
    const char* label;  // as the page labels it
};

// clang-format off
inline constexpr std::array<BextFieldRow, 6> kBextFieldRows = {{
    {BextField::Description,         bext::kDescription,           "description",         "Description:"},
    {BextField::Originator,          bext::kOriginator,            "originator",          "Originator:"},
    {BextField::OriginatorReference, bext::kOriginatorReference,   "originatorReference", "Originator Reference:"},
    {BextField::OriginationDate,     bext::kOriginationDate,       "originationDate",     "Origination Date:"},
    {BextField::OriginationTime,     bext::kOriginationTime,       "originationTime",     "Origination Time:"},
    {BextField::CodingHistory,       {bext::kCodingHistory, 0},    "codingHistory",       "Coding History:"},
}};
// clang-format on

constexpr std::span<const BextFieldRow> BextFieldRows() { return kBextFieldRows; }
constexpr const BextFieldRow& RowOf(BextField field) { return kBextFieldRows[static_cast<std::size_t>(field)]; }

// The row's text in the bext data.
std::string BextText(ConstBytes bext, const BextFieldRow& row);

}  // namespace wave
