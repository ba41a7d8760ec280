#include "PostTimerLines.h"

#include <cstdio>

namespace wave {

namespace {

std::string Printf(const char* format, auto... args) {
    char line[128];
    std::snprintf(line, sizeof line, format, args...);
    return line;
}

std::string Tag(const char* kind, int counter) { return Printf("%s%d", kind, counter); }

// "D days, HH:MM:SS.hh" for a position in samples. The hundredths come from
// the double-precision quotient, as the list has always shown them.
std::string TimeText(std::uint32_t value, std::uint32_t rate) {
    if (rate == 0) return "no sample rate";
    const std::uint32_t s = value / rate;
    const double exact = static_cast<double>(value) / static_cast<double>(rate);
    const auto hundredths = static_cast<long>((exact - static_cast<double>(s)) * 100.0);
    return Printf("%ld days, %02ld:%02ld:%02ld.%02ld", static_cast<long>(s / 86400), static_cast<long>((s / 3600) % 24),
                  static_cast<long>((s / 60) % 60), static_cast<long>(s % 60), hundredths);
}

}  // namespace

std::string UsageCode(std::uint32_t dwUsage) {
    std::string code(4, '\0');
    for (std::size_t i = 0; i < code.size(); ++i) code[i] = static_cast<char>((dwUsage >> (8 * i)) & 0xFF);
    return code;
}

std::string PostTimerTags::FormatPostTimer(int n, const PostTimer& timer, std::uint32_t sampleRate) {
    const std::string code = UsageCode(timer.dwUsage);
    const std::string time = TimeText(timer.dwValue, sampleRate);
    auto fixed = [&](const char* name) { return Printf("%d - %s     %s", n, name, time.c_str()); };
    auto numbered = [&](int& counter, const char* kind) {
        const std::string line = Printf("%d - %s    %s", n, Tag(kind, counter).c_str(), time.c_str());
        ++counter;
        return line;
    };

    if (code == "MRK ") return fixed("MRK");
    if (code == Tag("MRK", marker_)) return numbered(marker_, "MRK");
    if (code == "SEC ") return fixed("SEC");
    if (code == Tag("SEC", secondary_)) return numbered(secondary_, "SEC");
    if (code == "EOD ") return fixed("EOD");
    if (code == Tag("EOD", end_)) return Printf("%d - %s", n, Tag("EOD", end_++).c_str());
    if (timer.dwUsage != 0) return "Working on it";
    return Printf("%d - Unset", n);
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
