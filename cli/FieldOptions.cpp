#include "cli/FieldOptions.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <limits>

#include "wave/CalendarDates.h"
#include "wave/DateTimeRanges.h"
#include "wave/FieldCodecs.h"
#include "wave/TextCodec.h"

namespace cli {

namespace {

using Kind = wave::FieldKind;

CheckedValue Refused(const std::string& why) { return {std::nullopt, why}; }

// The little-endian bytes of a 32-bit word, as the chunk stores it.
std::string Word(std::uint32_t value) {
    std::string bytes;
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<char>(value >> shift));
    return bytes;
}

// The whole text as one decimal number, or nothing.
template <typename Number>
std::optional<Number> WholeNumber(std::string_view text) {
    Number n{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return n;
}

// Some writers treat the level reference as signed: a negative number is
// stored as its two's complement and reads back as the same bits unsigned.
CheckedValue CheckLevelReference(const wave::CartFieldRow& row, const std::string& text) {
    const auto n = WholeNumber<std::int64_t>(text);
    if (!n || *n < std::numeric_limits<std::int32_t>::min() || *n > std::numeric_limits<std::uint32_t>::max()) {
        return Refused("\"" + text + "\" is not a whole number from -2147483648 to 4294967295");
    }
    return {wave::CartWrite{row.field, Word(static_cast<std::uint32_t>(*n))}, {}};
}

bool IsTimerNumber(std::size_t number) { return number >= 1 && number <= wave::cart::kPostTimerCount; }

wave::CartWrite TimerWrite(std::size_t number, std::string entry) {
    const wave::Field part{wave::cart::kPostTimers + (number - 1) * wave::cart::kPostTimerSize,
                           wave::cart::kPostTimerSize};
    return {wave::CartField::Timers, std::move(entry), part};
}

constexpr const char* kTimerNumberLimit = "the timer number must be 1 to 8";

// "N=USAGE:SAMPLES", split into its parts. A limit is named in the order of
// the parts: the sample count's only once the number and the usage code pass.
CheckedValue CheckTimerText(const std::string& text, wave::Charset charset) {
    const std::size_t equals = text.find('=');
    const std::size_t colon = text.rfind(':');
    if (equals == std::string::npos || colon == std::string::npos || colon < equals) {
        return Refused("\"" + text + "\" is not of the form N=USAGE:SAMPLES");
    }
    const auto number = WholeNumber<unsigned>(std::string_view(text).substr(0, equals));
    const auto samples = WholeNumber<std::uint32_t>(std::string_view(text).substr(colon + 1));
    CheckedValue checked =
        CheckTimer({number.value_or(0), text.substr(equals + 1, colon - equals - 1), samples.value_or(0)}, charset);
    if (checked.write && !samples) return Refused("the sample count must be a whole number from 0 to 4294967295");
    return checked;
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
        return Refused("\"" + text + "\" is not a " +
                       (date ? "date of the form YYYY-MM-DD" : "time of the form HH:MM:SS"));
    }
    const auto& ranges = date ? wave::kDateRanges : wave::kTimeRanges;
    for (std::size_t i = 0; i < ranges.size(); ++i) {
        // At most nine digits: never negative, never beyond 32 bits.
        const auto n = static_cast<std::uint32_t>((*numbers)[i]);
        if (n < ranges[i].low || n > ranges[i].high) {
            return Refused(std::string(ranges[i].name) + " " + std::to_string(n) + " is out of range (" +
                           std::to_string(ranges[i].low) + " to " + std::to_string(ranges[i].high) + ")");
        }
    }
    const auto& [a, b, c] = *numbers;
    if (date) {
        // Each part in range still allows a day its month does not have.
        const auto why = wave::ImpossibleDate(static_cast<std::uint32_t>(a), static_cast<std::uint32_t>(b),
                                              static_cast<std::uint32_t>(c));
        if (why) return Refused(*why);
    }
    return {wave::CartWrite{row.field, date ? wave::FormatDate(a, b, c) : wave::FormatTime(a, b, c)}, {}};
}

CheckedValue CheckText(const wave::CartFieldRow& row, const std::string& utf8, wave::Charset charset) {
    const wave::EncodedText encoded = wave::EncodeText(utf8, charset);
    if (!encoded.ok) return Refused(wave::DescribeRefusal(encoded));
    // A NUL would end the text early when it is read back.
    if (encoded.bytes.find('\0') != std::string::npos) return Refused("the text holds a NUL character");
    const std::size_t width = row.layout.width;
    // Tag text's width is known only once the file is read.
    if (row.kind != Kind::TextToEnd && encoded.bytes.size() > width) {
        return Refused("the text is " + std::to_string(encoded.bytes.size()) + " bytes long; at most " +
                       std::to_string(width) + " bytes fit");
    }
    if (row.kind == Kind::Url && !wave::WritableUrl(encoded.bytes)) {
        return Refused(wave::kUrlReadsAsNone);
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
        case Kind::Number: return what + ", a whole number from -2147483648 to 4294967295";
        case Kind::Timers:
            return what + " N=USAGE:SAMPLES (N 1 to 8, USAGE 1 to 4 characters, SAMPLES a sample count); repeatable";
        case Kind::TextToEnd: return what + " (at most the bytes the cart chunk holds after its first 2048)";
        default: return what + " (at most " + std::to_string(row.layout.width) + " bytes)";
    }
}

CheckedValue CheckValue(const wave::CartFieldRow& row, const std::string& utf8, wave::Charset charset) {
    switch (row.kind) {
        case Kind::Date:
        case Kind::Time: return CheckDateOrTime(row, utf8);
        case Kind::Number: return CheckLevelReference(row, utf8);
        case Kind::Timers: return CheckTimerText(utf8, charset);
        default: return CheckText(row, utf8, charset);
    }
}

// The usage code NUL-padded to four bytes, then the sample count.
CheckedValue CheckTimer(const TimerValue& timer, wave::Charset charset) {
    if (!IsTimerNumber(timer.number)) return Refused(kTimerNumberLimit);
    const wave::EncodedText usage = wave::EncodeText(timer.usage, charset);
    if (!usage.ok) return Refused(wave::DescribeRefusal(usage));
    if (usage.bytes.empty() || usage.bytes.size() > 4) {
        return Refused("the usage code must be 1 to 4 characters");
    }
    std::string entry = usage.bytes;
    entry.resize(4, '\0');
    return {TimerWrite(timer.number, entry + Word(timer.samples)), {}};
}

CheckedValue ClearTimer(std::size_t number) {
    if (!IsTimerNumber(number)) return Refused(kTimerNumberLimit);
    return {TimerWrite(number, std::string(wave::cart::kPostTimerSize, '\0')), {}};
}

CheckedValue CheckRequested(const RequestedValue& value, wave::Charset charset) {
    if (!value.clearTimer) return CheckValue(*value.row, value.text, charset);
    return ClearTimer(WholeNumber<unsigned>(value.text).value_or(0));
}

}  // namespace cli
