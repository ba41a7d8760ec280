#pragma once

#include <string_view>

#include "res/DialogTemplate.h"

namespace framework {

// What screen readers are told of a control, from the template alone.
struct AccessibleText {
    // The name to set; empty leaves Qt's own, which for a label is the text
    // it shows, so a label the program fills is announced by its value.
    std::string_view name;
    std::string_view description;
    // The label beside the control, related to it as its caption
    // (labelled-by), so a value is read as "Fomat Tag: PCM".
    const res::ControlTemplate* caption = nullptr;
};

// A control's name is the one the template gives it, a button's caption,
// the label beside it (to its left, on its row), or else the group box
// around it. A label or display the program fills keeps its value as its
// name; a name the template gives it becomes its description.
AccessibleText AccessibleTextOf(const res::DialogTemplate& dialogTemplate, const res::ControlTemplate& control);

}  // namespace framework
