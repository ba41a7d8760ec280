#include "FieldOptions.h"

#include <array>
#include <charconv>

#include "FieldCodecs.h"
#include "TextCodec.h"

namespace cli {

namespace {

using Kind = FieldOption::Kind;
using wave::CartField;

constexpr std::array<FieldOption, 12> kOptions = {{
    {"--title", "Title (at most 64 bytes)", CartField::Title, Kind::Text},
    {"--artist", "Artist (at most 64 bytes)", CartField::Artist, Kind::Text},
    {"--client-id", "Client ID (at most 64 bytes)", CartField::ClientID, Kind::Text},
    {"--category", "Category (at most 64 bytes)", CartField::Category, Kind::Text},
    {"--classification", "Classification (at most 64 bytes)", CartField::Classification, Kind::Text},
    {"--out-cue", "Out cue (at most 64 bytes)", CartField::OutCue, Kind::Text},
    {"--start-date", "Start date, YYYY-MM-DD", CartField::StartDate, Kind::Date},
    {"--start-time", "Start time, HH:MM:SS", CartField::StartTime, Kind::Time},
    {"--end-date", "End date, YYYY-MM-DD", CartField::EndDate, Kind::Date},
    {"--end-time", "End time, HH:MM:SS", CartField::EndTime, Kind::Time},
    {"--user-def", "User-defined text (at most 64 bytes)", CartField::UserDef, Kind::Text},
    {"--url", "URL (at most 1024 bytes), where the cart chunk has a URL area", CartField::URL, Kind::Text},
}};

constexpr bool InFieldOrder() {
    for (std::size_t i = 0; i < kOptions.size(); ++i) {
        if (static_cast<std::size_t>(kOptions[i].field) != i) return false;
    }
    return true;
}
static_assert(InFieldOrder(), "OptionFor indexes the table by field");

struct Part {
    const char* name;
    int low;
    int high;
};

constexpr std::array<Part, 3> kDateParts = {{{"year", 1900, 9999}, {"month", 1, 12}, {"day", 1, 31}}};
constexpr std::array<Part, 3> kTimeParts = {{{"hour", 0, 23}, {"minute", 0, 59}, {"second", 0, 59}}};

CheckedValue Refused(const FieldOption& option, const std::string& why) {
    return {std::nullopt, std::string(option.name) + ": " + why};
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

CheckedValue CheckDateOrTime(const FieldOption& option, const std::string& text) {
    const bool date = option.kind == Kind::Date;
    const auto numbers = SplitNumbers(text, date ? '-' : ':');
    if (!numbers) {
        return Refused(option, "\"" + text + "\" is not a " + (date ? "date of the form YYYY-MM-DD" : "time of the form HH:MM:SS"));
    }
    const auto& parts = date ? kDateParts : kTimeParts;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const int n = (*numbers)[i];
        if (n < parts[i].low || n > parts[i].high) {
            return Refused(option, std::string(parts[i].name) + " " + std::to_string(n) + " is out of range (" +
                                       std::to_string(parts[i].low) + " to " + std::to_string(parts[i].high) + ")");
        }
    }
    const auto& [a, b, c] = *numbers;
    return {wave::CartWrite{option.field, date ? wave::FormatDate(a, b, c) : wave::FormatTime(a, b, c)}, {}};
}

CheckedValue CheckText(const FieldOption& option, const std::string& utf8) {
    const wave::EncodedText encoded = wave::EncodeText(utf8);
    if (!encoded.ok) return Refused(option, wave::DescribeRefusal(encoded));
    const std::size_t width = wave::LayoutOf(option.field).width;
    if (encoded.bytes.size() > width) {
        return Refused(option, "the text is " + std::to_string(encoded.bytes.size()) + " bytes long; at most " +
                                   std::to_string(width) + " bytes fit");
    }
    // A URL the loader would read as absent could never be shown or set again.
    if (option.field == wave::CartField::URL && !wave::ReadsAsPresentUrl(encoded.bytes)) {
        return Refused(option, "a URL must start with an ASCII letter or digit; any other reads back as no URL");
    }
    return {wave::CartWrite{option.field, encoded.bytes}, {}};
}

}  // namespace

std::span<const FieldOption> FieldOptions() { return kOptions; }

const FieldOption& OptionFor(wave::CartField field) { return kOptions[static_cast<std::size_t>(field)]; }

CheckedValue CheckValue(const FieldOption& option, const std::string& utf8) {
    return option.kind == Kind::Text ? CheckText(option, utf8) : CheckDateOrTime(option, utf8);
}

}  // namespace cli
