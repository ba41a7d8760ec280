#pragma once

#include <optional>
#include <string>
#include <vector>

#include "wave/CartFields.h"

namespace wave {

// One field's new content: 8-bit text, a formatted date or time, or the
// little-endian bytes of a number or of a post timer entry.
struct CartWrite {
    CartField field;
    std::string value;
    // Where the value goes when it replaces only part of its field (one post
    // timer); the whole field otherwise.
    std::optional<Field> part = std::nullopt;
};

using CartWrites = std::vector<CartWrite>;

}  // namespace wave
