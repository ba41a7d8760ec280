#include "wave/TimerUsage.h"

#include <algorithm>

namespace wave {

namespace {

constexpr std::array<std::string_view, kTimerTypes.size()> kCodes = {"SEG", "AUD", "INT", "OUT",
                                                                     "SEC", "TER", "MRK", "EOD"};
constexpr std::array<std::string_view, kTimerTypes.size()> kNames = {"segue",     "audio",    "intro",  "outro",
                                                                     "secondary", "tertiary", "marker", "end of data"};

char ByteAt(std::uint32_t usage, int k) { return static_cast<char>((usage >> (8 * k)) & 0xFF); }

}  // namespace

std::optional<TimerUsage> ParseUsage(std::uint32_t usage) {
    if (IsUnsetUsage(usage)) return std::nullopt;
    const std::string type{ByteAt(usage, 0), ByteAt(usage, 1), ByteAt(usage, 2)};
    const auto found = std::find(kCodes.begin(), kCodes.end(), type);
    if (found == kCodes.end()) return std::nullopt;
    TimerUsage parsed;
    parsed.type = kTimerTypes[static_cast<std::size_t>(found - kCodes.begin())];
    const char last = ByteAt(usage, 3);
    if (last == 's') {
        parsed.role = TimerRole::Start;
    } else if (last == 'e') {
        parsed.role = TimerRole::End;
    } else if (last == ' ') {
        parsed.role = TimerRole::Plain;
    } else if (last >= '0' && last <= '9') {
        parsed.role = TimerRole::Numbered;
        parsed.number = last - '0';
    } else {
        return std::nullopt;
    }
    return parsed;
}

std::uint32_t UsageWord(const TimerUsage& usage) {
    std::string code{TypeCode(usage.type)};
    switch (usage.role) {
        case TimerRole::Start: code += 's'; break;
        case TimerRole::End: code += 'e'; break;
        case TimerRole::Plain: code += ' '; break;
        case TimerRole::Numbered: code += static_cast<char>('0' + std::clamp(usage.number, 0, 9)); break;
    }
    return *UsageWordOf(code);
}

std::optional<std::uint32_t> UsageWordOf(std::string_view bytes) {
    if (bytes.empty() || bytes.size() > 4) return std::nullopt;
    std::uint32_t word = 0;
    for (std::size_t k = 0; k < bytes.size(); ++k)
        word |= std::uint32_t{static_cast<unsigned char>(bytes[k])} << (8 * k);
    // A code that starts with NUL would read back as an unset slot.
    if ((word & 0xFF) == 0) return std::nullopt;
    return word;
}

std::string_view TypeCode(TimerType type) { return kCodes[static_cast<std::size_t>(type)]; }

std::string_view TypeName(TimerType type) { return kNames[static_cast<std::size_t>(type)]; }

bool HasSpan(TimerType type) {
    return type == TimerType::Intro || type == TimerType::Segue || type == TimerType::Audio;
}

}  // namespace wave
