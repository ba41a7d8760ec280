#include "FieldOptions.h"

#include <array>
#include <charconv>

#include "DateTimeRanges.h"
#include "FieldCodecs.h"
#include "TextCodec.h"

namespace cli {

namespace {

using Kind = wave::FieldKind;

CheckedValue Refused(const wave::CartFieldRow& row, const std::string& why) {
    return {std::nullopt, std::string(row.option) + ": " + why};
}

// Three groups of digits with the separator between them.
std::optional<std::array<int, 3>> SplitNumbers(std::string_view text, char separator) {
    std::array<int, 3> numbers{};
    const char* p = text.data();
    const char* end = text.data() + text.size();
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0 && (p == end || *p++ != separator)) return std::nullopt;
        const char* digitsEnd = p;
        while (digitsEnd != end && *digitsEnd >= '0' && *digitsEnd <= '9') ++digitsEnd;
        if (digitsEnd == p || digitsEnd - p > 9) return std::nullopt;
        std::from_chars(p, digitsEnd, numbers[i]);
        p = digitsEnd;
    }
    if (p != end) return std::nullopt;
    return numbers;
}

CheckedValue CheckDateOrTime(const wave::CartFieldRow& row, const std::string& text) {
    const bool date = row.kind == Kind::Date;
    const auto numbers = SplitNumbers(text, date ? '-' : ':');
    if (!numbers) {
        return Refused(
            row, "\"" + text + "\" is not a " + (date ? "date of the form YYYY-MM-DD" : "time of the form HH:MM:SS"));
    }
    const auto& ranges = date ? wave::kDateRanges : wave::kTimeRanges;
    for (std::size_t i = 0; i < ranges.size(); ++i) {
        // At most nine digits: never negative, never beyond 32 bits.
        const auto n = static_cast<std::uint32_t>((*numbers)[i]);
        if (n < ranges[i].low || n > ranges[i].high) {
            return Refused(row, std::string(ranges[i].name) + " " + std::to_string(n) + " is out of range (" +
                                    std::to_string(ranges[i].low) + " to " + std::to_string(ranges[i].high) + ")");
        }
    }
    const auto& [a, b, c] = *numbers;
    return {wave::CartWrite{row.field, date ? wave::FormatDate(a, b, c) : wave::FormatTime(a, b, c)}, {}};
}

CheckedValue CheckText(const wave::CartFieldRow& row, const std::string& utf8) {
    const wave::EncodedText encoded = wave::EncodeText(utf8);
    if (!encoded.ok) return Refused(row, wave::DescribeRefusal(encoded));
    const std::size_t width = row.layout.width;
    if (encoded.bytes.size() > width) {
        return Refused(row, "the text is " + std::to_string(encoded.bytes.size()) + " bytes long; at most " +
                                std::to_string(width) + " bytes fit");
    }
    // A URL the loader would read as absent could never be shown or set again.
    if (row.kind == Kind::Url && !wave::ReadsAsPresentUrl(encoded.bytes)) {
        return Refused(row, "a URL must start with an ASCII letter or digit; any other reads back as no URL");
    }
    return {wave::CartWrite{row.field, encoded.bytes}, {}};
}

}  // namespace

std::vector<const wave::CartFieldRow*> SettableFields() {
    std::vector<const wave::CartFieldRow*> settable;
    for (const wave::CartFieldRow& row : wave::CartFieldRows()) {
        if (row.option != nullptr) settable.push_back(&row);
    }
    return settable;
}

std::string HelpFor(const wave::CartFieldRow& row) {
    const std::string what = row.help;
    switch (row.kind) {
        case Kind::Date: return what + ", YYYY-MM-DD";
        case Kind::Time: return what + ", HH:MM:SS";
        case Kind::Url:
            return what + " (at most " + std::to_string(row.layout.width) +
                   " bytes), where the cart chunk has a URL area";
        default: return what + " (at most " + std::to_string(row.layout.width) + " bytes)";
    }
}

CheckedValue CheckValue(const wave::CartFieldRow& row, const std::string& utf8) {
    const bool dateOrTime = row.kind == Kind::Date || row.kind == Kind::Time;
    return dateOrTime ? CheckDateOrTime(row, utf8) : CheckText(row, utf8);
}

}  // namespace cli
