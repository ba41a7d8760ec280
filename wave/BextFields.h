#pragma once

#include <span>
#include <string>

#include "wave/ChunkLayout.h"
#include "wave/PageRecords.h"

namespace wave {

// The EBU Info page's caption.
inline constexpr const char* kBextCaption = "EBU Broadcast Extension Information";

// One row per bext field the page shows, in the page's order.
struct BextFieldRow {
    std::string EbuInfoRecord::*member;
    const char* key;    // JSON key: "originatorReference"
    const char* label;  // as the page labels it
};

std::span<const BextFieldRow> BextFieldRows();

}  // namespace wave
