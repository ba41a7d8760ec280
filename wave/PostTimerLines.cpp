#include "wave/PostTimerLines.h"

#include <charconv>

namespace wave {

namespace {

// Appends the number, zero-padded to at least `width` digits.
void AppendNumber(std::string& out, std::uint64_t n, std::size_t width = 1) {
    char digits[20];
    const char* end = std::to_chars(digits, digits + sizeof digits, n).ptr;
    const auto length = static_cast<std::size_t>(end - digits);
    if (length < width) out.append(width - length, '0');
    out.append(digits, length);
}

std::string Tag(const char* kind, int counter) {
    std::string tag = kind;
    AppendNumber(tag, static_cast<std::uint64_t>(counter));
    return tag;
}

// "D days, HH:MM:SS.hh" for a position in samples. The hundredths come from
// the double-precision quotient, as the list has always shown them.
std::string TimeText(std::uint32_t value, std::uint32_t rate) {
    if (rate == 0) return "no sample rate";
    const std::uint32_t s = value / rate;
    const double exact = static_cast<double>(value) / static_cast<double>(rate);
    const auto hundredths = static_cast<std::uint64_t>((exact - static_cast<double>(s)) * 100.0);
    std::string text;
    AppendNumber(text, s / 86400);
    text += " days, ";
    AppendNumber(text, (s / 3600) % 24, 2);
    text += ':';
    AppendNumber(text, (s / 60) % 60, 2);
    text += ':';
    AppendNumber(text, s % 60, 2);
    text += '.';
    AppendNumber(text, hundredths, 2);
    return text;
}

// "n - " and what follows it.
std::string Line(int n, const std::string& rest) {
    std::string line;
    AppendNumber(line, static_cast<std::uint64_t>(n));
    return line + " - " + rest;
}

}  // namespace

std::string UsageCode(std::uint32_t usage) {
    std::string code(4, '\0');
    for (std::size_t i = 0; i < code.size(); ++i) code[i] = static_cast<char>((usage >> (8 * i)) & 0xFF);
    return code;
}

std::string UsageText(std::uint32_t usage) {
    std::string code = UsageCode(usage);
    while (!code.empty() && code.back() == '\0') code.pop_back();
    return code;
}

std::string PostTimerTags::FormatPostTimer(int n, const PostTimer& timer, std::uint32_t sampleRate) {
    const std::string code = UsageCode(timer.usage);
    const std::string time = TimeText(timer.value, sampleRate);
    auto fixed = [&](const char* name) { return Line(n, std::string(name) + "     " + time); };
    auto numbered = [&](int& counter, const char* kind) { return Line(n, Tag(kind, counter++) + "    " + time); };

    if (code == "MRK ") return fixed("MRK");
    if (code == Tag("MRK", marker_)) return numbered(marker_, "MRK");
    if (code == "SEC ") return fixed("SEC");
    if (code == Tag("SEC", secondary_)) return numbered(secondary_, "SEC");
    if (code == "EOD ") return fixed("EOD");
    if (code == Tag("EOD", end_)) return Line(n, Tag("EOD", end_++));
    if (timer.usage != 0) return "Working on it";
    return Line(n, "Unset");
}

std::vector<std::string> PostTimerLines(const PostTimers& timers, std::uint32_t sampleRate) {
    PostTimerTags tags;
    std::vector<std::string> lines;
    for (std::size_t k = 0; k < timers.size(); ++k) {
        lines.push_back(tags.FormatPostTimer(static_cast<int>(k + 1), timers[k], sampleRate));
    }
    return lines;
}

}  // namespace wave
