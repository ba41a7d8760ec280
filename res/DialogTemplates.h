#pragma once

#include "res/DialogTemplate.h"
#include "res/resource.h"

namespace res {

// The template of that dialog number (IDD_ in resource.h). An unknown number gives an empty template
// whose id is -1, so a caller can test for it without catching anything.
const DialogTemplate& Template(int id);

}  // namespace res
