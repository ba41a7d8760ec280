#pragma once

#include <optional>
#include <string>
#include <vector>

#include "CartFields.h"
#include "PageRecords.h"

namespace wave {

// One field's new content: 8-bit text, or a formatted date or time.
struct CartWrite {
    CartField field;
    std::string value;
};

using CartWrites = std::vector<CartWrite>;

// What APPLY writes, in order, from the two cart pages' values: every
// editable field, the URL only where the chunk has one.
CartWrites SaveWritesFrom(const CartInfoRecord& page1, const CartInfo2Record& page2);

// The same, less each date or time field whose three parts all still hold
// the values loaded: its stored bytes may be in a form the page cannot
// reproduce ("2001-5-6"), and the user did not touch them.
CartWrites SaveWritesFrom(const CartInfoRecord& page1, const CartInfo2Record& page2, const CartInfo2Record& asLoaded);

}  // namespace wave
