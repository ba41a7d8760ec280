#pragma once

#include <string_view>

#include "DialogTemplate.h"

namespace framework {

// The name screen readers announce a control by, from the template alone:
// the name the template gives it, a button's caption, the label beside it
// (to its left, on its row), or else the group box around it. Empty for
// controls that speak for themselves (labels, group boxes, pictures).
std::string_view AccessibleName(const res::DialogTemplate& dialogTemplate, const res::ControlTemplate& control);

}  // namespace framework
