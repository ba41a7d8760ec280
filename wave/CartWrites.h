#pragma once

#include <optional>
#include <string>
#include <vector>

#include "wave/CartFields.h"
#include "wave/PageRecords.h"

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

// What APPLY writes, in order, from the two cart pages' values: every
// editable field, the URL only where the chunk has one.
CartWrites SaveWritesFrom(const CartInfoRecord& page1, const CartInfo2Record& page2);

// The same, less each date or time field whose three parts all still hold
// the values loaded, and the URL while it still holds the text loaded: their
// stored bytes may be in a form the page cannot reproduce ("2001-5-6", a URL
// area that reads as no URL), and the user did not touch them.
CartWrites SaveWritesFrom(const CartInfoRecord& page1, const CartInfo2Record& page2, const CartInfo2Record& asLoaded);

}  // namespace wave
