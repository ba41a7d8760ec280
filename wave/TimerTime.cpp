#include "wave/TimerTime.h"

#include <charconv>
#include <vector>

namespace wave {

namespace {

std::string TwoDigits(std::uint64_t n) { return (n < 10 ? "0" : "") + std::to_string(n); }

std::optional<std::uint64_t> Digits(std::string_view text) {
    if (text.empty() || text.size() > 12) return std::nullopt;
    std::uint64_t n = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return n;
}

}  // namespace

std::string MinutesText(std::uint64_t frames, std::uint32_t sampleRate) {
    if (sampleRate == 0) return "-";
    const std::uint64_t seconds = frames / sampleRate;
    const std::uint64_t millis = (frames % sampleRate) * 1000 / sampleRate;
    std::string ms = std::to_string(millis);
    ms.insert(0, 3 - ms.size(), '0');
    return std::to_string(seconds / 60) + ":" + TwoDigits(seconds % 60) + "." + ms;
}

std::optional<std::uint32_t> FramesOfTime(std::string_view text, std::uint32_t sampleRate) {
    if (sampleRate == 0) return std::nullopt;
    std::string_view fraction;
    if (const auto dot = text.find('.'); dot != std::string_view::npos) {
        fraction = text.substr(dot + 1);
        text = text.substr(0, dot);
        if (fraction.empty() || fraction.size() > 9 || !Digits(fraction)) return std::nullopt;
    }
    std::vector<std::uint64_t> parts;
    for (std::size_t start = 0;;) {
        const auto colon = text.find(':', start);
        const auto part = Digits(text.substr(start, colon == std::string_view::npos ? colon : colon - start));
        if (!part) return std::nullopt;
        parts.push_back(*part);
        if (colon == std::string_view::npos) break;
        start = colon + 1;
    }
    if (parts.size() > 3) return std::nullopt;
    std::uint64_t seconds = 0;
    for (std::size_t k = 0; k < parts.size(); ++k) {
        // Only the leading unit may run past 59.
        if (k > 0 && parts[k] >= 60) return std::nullopt;
        seconds = seconds * 60 + parts[k];
    }
    if (seconds > 0xFFFFFFFFull) return std::nullopt;
    std::uint64_t scale = 1;
    for (std::size_t k = 0; k < fraction.size(); ++k) scale *= 10;
    const std::uint64_t part = fraction.empty() ? 0 : *Digits(fraction);
    const std::uint64_t frames = seconds * sampleRate + (part * sampleRate + scale / 2) / scale;
    if (frames > 0xFFFFFFFFull) return std::nullopt;
    return static_cast<std::uint32_t>(frames);
}

}  // namespace wave
