#pragma once

#include "wave/LayoutCheck.h"

namespace wave {

// The B rules on the first bext chunk.
void CheckBext(const CheckedLayout& layout, const CheckOptions& options, Findings& findings);

// The C rules on the first cart chunk, the timer rules by the profile.
void CheckCart(const CheckedLayout& layout, const CheckOptions& options, Findings& findings);

}  // namespace wave
