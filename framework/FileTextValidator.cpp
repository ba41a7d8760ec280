#include "FileTextValidator.h"

#include "Text8.h"

namespace framework {

QValidator::State FileTextValidator::validate(QString& input, int&) const {
    return ToFileText(input) ? Acceptable : Invalid;
}

}  // namespace framework
