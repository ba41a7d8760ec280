#pragma once

#include <optional>
#include <span>
#include <string>

#include "CartWrites.h"

namespace cli {

// An editable cart field as the command line names it.
struct FieldOption {
    enum class Kind { Text, Date, Time };
    const char* name;  // "--title"
    const char* help;
    wave::CartField field;
    Kind kind;
};

std::span<const FieldOption> FieldOptions();
const FieldOption& OptionFor(wave::CartField field);

// The value turned into what the field stores, or a message naming the
// option and the limit it breaks: 8-bit characters only, text widths in
// bytes, dates and times in range.
struct CheckedValue {
    std::optional<wave::CartWrite> write;
    std::string error;
};
CheckedValue CheckValue(const FieldOption& option, const std::string& utf8);

}  // namespace cli
