#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "wave/CartFields.h"
#include "wave/FieldCodecs.h"
#include "wave/PostTimers.h"

namespace wave {

// The URL of a chunk too short to hold the URL area: there is none to show
// or edit.
struct NoUrlArea {
    bool operator==(const NoUrlArea&) const = default;
};

// A field's value as the cart data stores it: the 8-bit text of a text,
// date, time or URL field, a number, or the post timers.
using CartValue = std::variant<std::string, std::uint32_t, PostTimers, NoUrlArea>;

// The values of cart data, each read by its row's kind. The view borrows the
// data; fields beyond it read as empty or zero.
class CartValues {
public:
    explicit CartValues(ConstBytes data) : data_(data) {}

    CartValue Of(CartField field) const;

    // The stored text of a text, date, time or URL field; empty for others.
    std::string Text(CartField field) const;
    // A date or time field split into its numbers.
    DateParts Date(CartField field) const { return SplitDate(Text(field)); }
    TimeParts Time(CartField field) const { return SplitTime(Text(field)); }
    std::uint32_t Number(CartField field) const;
    PostTimers Timers() const;
    // Whether the data holds the URL area: a URL can be edited there, also
    // while it is empty.
    bool HoldsUrl() const { return HoldsUrlArea(data_); }

private:
    ConstBytes data_;
};

}  // namespace wave
