#include "wave/FieldText.h"

#include <algorithm>

#include "wave/CalendarDates.h"

namespace wave {

namespace {

bool Digits(std::string_view text, std::size_t at, std::size_t n) {
    return at + n <= text.size() &&
           std::all_of(text.begin() + static_cast<std::ptrdiff_t>(at),
                       text.begin() + static_cast<std::ptrdiff_t>(at + n), [](char c) { return c >= '0' && c <= '9'; });
}

int Number(std::string_view text, std::size_t at, std::size_t n) {
    int value = 0;
    for (std::size_t i = at; i < at + n; ++i) value = value * 10 + (text[i] - '0');
    return value;
}

bool SeparatorAt(std::string_view text, std::size_t at, std::string_view separators) {
    return at < text.size() && separators.find(text[at]) != std::string_view::npos;
}

}  // namespace

std::string TextFault(ConstBytes data, Field field, Charset charset) {
    if (field.offset >= data.size()) return {};
    const ConstBytes slot = data.subspan(field.offset, std::min(field.width, data.size() - field.offset));
    const auto nul = std::find(slot.begin(), slot.end(), std::uint8_t{0});
    if (std::any_of(nul, slot.end(), [](std::uint8_t b) { return b != 0; })) return "has bytes after its first NUL";
    const std::string_view text(reinterpret_cast<const char*>(slot.data()),
                                static_cast<std::size_t>(nul - slot.begin()));
    if (std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
        return "holds control characters";
    if (charset == Charset::Utf8 && !EncodeText(text, Charset::Utf8).ok) return "is not valid UTF-8";
    return {};
}

bool IsUnset(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' '; });
}

bool ReadsAsDate(std::string_view text, std::string_view separators) {
    if (text.size() != 10 || !Digits(text, 0, 4) || !Digits(text, 5, 2) || !Digits(text, 8, 2)) return false;
    if (!SeparatorAt(text, 4, separators) || !SeparatorAt(text, 7, separators)) return false;
    const int year = Number(text, 0, 4);
    const int month = Number(text, 5, 2);
    const int day = Number(text, 8, 2);
    return month >= 1 && month <= 12 && day >= 1 &&
           !ImpossibleDate(static_cast<std::uint32_t>(year), static_cast<std::uint32_t>(month),
                           static_cast<std::uint32_t>(day));
}

bool ReadsAsTime(std::string_view text, std::string_view separators) {
    if (text.size() != 8 || !Digits(text, 0, 2) || !Digits(text, 3, 2) || !Digits(text, 6, 2)) return false;
    if (!SeparatorAt(text, 2, separators) || !SeparatorAt(text, 5, separators)) return false;
    return Number(text, 0, 2) < 24 && Number(text, 3, 2) < 60 && Number(text, 6, 2) < 60;
}

}  // namespace wave
