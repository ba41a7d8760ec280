#include "wave/BextFields.h"

namespace wave {

std::string BextText(ConstBytes bext, const BextFieldRow& row) {
    if (row.layout.width == 0) return ReadTextToEnd(bext, row.layout.offset);
    return ReadTextField(bext, row.layout);
}

}  // namespace wave
