#include "wave/CartValues.h"

namespace wave {

CartValue CartValues::Of(CartField field) const {
    const CartFieldRow& row = RowOf(field);
    switch (row.kind) {
        case FieldKind::Number: return Number(field);
        case FieldKind::Timers: return Timers();
        case FieldKind::Url:
            if (!HoldsUrl()) return NoUrlArea{};
            return Text(field);
        case FieldKind::Text:
        case FieldKind::Date:
        case FieldKind::Time:
        case FieldKind::TextToEnd: return Text(field);
    }
    return Text(field);
}

std::string CartValues::Text(CartField field) const {
    const CartFieldRow& row = RowOf(field);
    switch (row.kind) {
        case FieldKind::TextToEnd: return ReadTextToEnd(data_, row.layout.offset);
        // An area whose text does not read as a URL shows as an empty one,
        // to be filled in.
        case FieldKind::Url: return UrlPresent(data_) ? ReadTextField(data_, row.layout) : std::string();
        case FieldKind::Number:
        case FieldKind::Timers: return {};
        case FieldKind::Text:
        case FieldKind::Date:
        case FieldKind::Time: return ReadTextField(data_, row.layout);
    }
    return {};
}

std::uint32_t CartValues::Number(CartField field) const { return ReadU32(data_, RowOf(field).layout.offset); }

PostTimers CartValues::Timers() const {
    PostTimers timers{};
    for (std::size_t k = 0; k < timers.size(); ++k) {
        const std::size_t entry = cart::kPostTimers + k * cart::kPostTimerSize;
        timers[k] = {ReadU32(data_, entry), ReadU32(data_, entry + 4)};
    }
    return timers;
}

}  // namespace wave
