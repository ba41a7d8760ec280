#include "framework/AccessibleNames.h"

#include <algorithm>

namespace framework {

namespace {

using res::ControlKind;
using res::ControlTemplate;

// Label texts end in a colon (and, on some, blanks) that no one says aloud.
std::string_view Spoken(std::string_view text) {
    const std::size_t end = text.find_last_not_of(": ");
    return end == std::string_view::npos ? std::string_view{} : text.substr(0, end + 1);
}

bool TakesName(const ControlTemplate& c) {
    return c.kind == ControlKind::Edit || c.kind == ControlKind::ComboBox || c.kind == ControlKind::PushButton;
}

// A label or drawn display the program fills in shows a value, not a caption.
bool ShowsValue(const ControlTemplate& c) {
    return (c.kind == ControlKind::Label || c.kind == ControlKind::Frame) && c.id != res::kNoId && c.text.empty();
}

// The nearest label to the left whose middle lies within the control's height.
const ControlTemplate* LabelBeside(const res::DialogTemplate& t, const ControlTemplate& c) {
    const ControlTemplate* nearest = nullptr;
    for (const ControlTemplate& label : t.controls) {
        if (label.kind != ControlKind::Label || label.text.empty() || label.x + label.cx > c.x) continue;
        const int middle = label.y + label.cy / 2;
        if (middle < c.y || middle > c.y + c.cy) continue;
        if (nearest == nullptr || label.x + label.cx > nearest->x + nearest->cx) nearest = &label;
    }
    return nearest;
}

// The smallest captioned group box that holds the control.
const ControlTemplate* GroupAround(const res::DialogTemplate& t, const ControlTemplate& c) {
    const ControlTemplate* smallest = nullptr;
    for (const ControlTemplate& box : t.controls) {
        if (box.kind != ControlKind::GroupBox || box.text.empty()) continue;
        if (c.x < box.x || c.y < box.y || c.x + c.cx > box.x + box.cx || c.y + c.cy > box.y + box.cy) continue;
        if (smallest == nullptr || box.cx * box.cy < smallest->cx * smallest->cy) smallest = &box;
    }
    return smallest;
}

}  // namespace

AccessibleText AccessibleTextOf(const res::DialogTemplate& t, const ControlTemplate& c) {
    std::string_view given;
    if (c.id != res::kNoId) {
        const auto named = std::ranges::find(t.names, c.id, &res::ControlName::id);
        if (named != t.names.end()) given = named->name;
    }
    if (ShowsValue(c)) return {{}, given, LabelBeside(t, c)};
    if (!given.empty()) return {given, {}, nullptr};
    if (!TakesName(c)) return {};
    if (c.kind == ControlKind::PushButton) return {c.text, {}, nullptr};
    if (const ControlTemplate* label = LabelBeside(t, c)) return {Spoken(label->text), {}, label};
    if (const ControlTemplate* group = GroupAround(t, c)) return {group->text, {}, nullptr};
    return {};
}

}  // namespace framework
