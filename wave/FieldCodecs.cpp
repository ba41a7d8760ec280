#include "wave/FieldCodecs.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>

namespace wave {

namespace {

// The part of a field that lies within the data.
ConstBytes Within(ConstBytes data, std::size_t offset, std::size_t width) {
    if (offset >= data.size()) return {};
    return data.subspan(offset, std::min(width, data.size() - offset));
}

bool IsCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// As the C library's atoi on glibc: strtol's saturation, then cut to int.
int AtoiAt(std::string_view text, std::size_t offset) {
    if (offset >= text.size()) return 0;
    std::size_t i = offset;
    while (i < text.size() && IsCSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    std::uint64_t magnitude = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        magnitude = std::min(kMax + 1, magnitude * 10 + static_cast<std::uint64_t>(text[i] - '0'));
    }
    const std::int64_t value =
        negative ? (magnitude > kMax ? std::numeric_limits<std::int64_t>::min() : -static_cast<std::int64_t>(magnitude))
                 : static_cast<std::int64_t>(std::min(magnitude, kMax));
    return static_cast<int>(value);
}

std::string FormatCut(const char* format, int a, int b, int c, std::size_t width) {
    char text[64];
    std::snprintf(text, sizeof text, format, a, b, c);
    return std::string(text, std::min(width, std::strlen(text)));
}

}  // namespace

std::string ReadTextField(ConstBytes data, Field field) {
    const ConstBytes bytes = Within(data, field.offset, field.width);
    const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
    return {bytes.begin(), end};
}

std::string ReadTextToEnd(ConstBytes data, std::size_t offset) { return ReadTextField(data, {offset, data.size()}); }

void WriteTextField(Bytes data, Field field, std::string_view value) {
    if (field.offset >= data.size()) return;
    const std::size_t room = std::min(field.width, data.size() - field.offset);
    const std::size_t copied = std::min(room, value.size());
    std::memcpy(data.data() + field.offset, value.data(), copied);
    std::memset(data.data() + field.offset + copied, 0, room - copied);
}

std::uint32_t ReadU32(ConstBytes data, std::size_t offset) {
    const ConstBytes bytes = Within(data, offset, 4);
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) value |= std::uint32_t{bytes[i]} << (8 * i);
    return value;
}

DateParts SplitDate(std::string_view text) { return {AtoiAt(text, 0), AtoiAt(text, 5), AtoiAt(text, 8)}; }

TimeParts SplitTime(std::string_view text) { return {AtoiAt(text, 0), AtoiAt(text, 3), AtoiAt(text, 6)}; }

std::string FormatDate(int year, int month, int day) {
    return FormatCut("%.4d-%.2d-%.2d", year, month, day, cart::kStartDate.width);
}

std::string FormatTime(int hour, int minute, int second) {
    return FormatCut("%.2d:%.2d:%.2d", hour, minute, second, cart::kStartTime.width);
}

bool HoldsUrlArea(ConstBytes data) { return data.size() >= cart::kURL.offset + cart::kURL.width; }

bool WritableUrl(std::string_view url) { return url.empty() || ReadsAsPresentUrl(url); }

bool ReadsAsPresentUrl(std::string_view url) {
    if (url.empty()) return false;
    const char first = url.front();
    const bool letter = (first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z');
    return letter || (first >= '0' && first <= '9');
}

bool UrlPresent(ConstBytes data) {
    if (!HoldsUrlArea(data)) return false;
    const char first = static_cast<char>(data[cart::kURL.offset]);
    return ReadsAsPresentUrl(std::string_view(&first, 1));
}

}  // namespace wave
