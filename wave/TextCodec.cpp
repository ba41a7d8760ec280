#include "wave/TextCodec.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>

namespace wave {

namespace {

// Windows-1252 bytes 0x80 to 0x9F; the rest of the set is Latin-1.
constexpr std::array<char16_t, 32> kHighControls = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t CodePointOf(std::uint8_t byte, Charset charset) {
    if (charset == Charset::Windows1252 && byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80u];
    return byte;
}

std::optional<std::uint8_t> ByteOf(char32_t cp, Charset charset) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<std::uint8_t>(cp);
    if (charset == Charset::Latin1) {
        if (cp <= 0xFF) return static_cast<std::uint8_t>(cp);
        return std::nullopt;
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == cp) return static_cast<std::uint8_t>(0x80 + i);
    }
    return std::nullopt;
}

void AppendUtf8(std::string& out, char32_t cp) {
    auto put = [&out](std::uint32_t v) { out.push_back(static_cast<char>(v)); };
    const auto v = static_cast<std::uint32_t>(cp);
    if (v < 0x80) {
        put(v);
    } else if (v < 0x800) {
        put(0xC0 | (v >> 6));
        put(0x80 | (v & 0x3F));
    } else if (v < 0x10000) {
        put(0xE0 | (v >> 12));
        put(0x80 | ((v >> 6) & 0x3F));
        put(0x80 | (v & 0x3F));
    } else {
        put(0xF0 | (v >> 18));
        put(0x80 | ((v >> 12) & 0x3F));
        put(0x80 | ((v >> 6) & 0x3F));
        put(0x80 | (v & 0x3F));
    }
}

// The next code point of strict UTF-8 (no overlong forms, no surrogates),
// advancing i; nullopt for a malformed sequence.
std::optional<char32_t> NextCodePoint(std::string_view s, std::size_t& i) {
    const auto lead = static_cast<std::uint8_t>(s[i++]);
    if (lead < 0x80) return lead;
    std::size_t extra = 0;
    std::uint32_t cp = 0;
    std::uint32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, cp = lead & 0x1Fu, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, cp = lead & 0x0Fu, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, cp = lead & 0x07u, minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    for (std::size_t k = 0; k < extra; ++k, ++i) {
        if (i >= s.size()) return std::nullopt;
        const auto cont = static_cast<std::uint8_t>(s[i]);
        if ((cont & 0xC0) != 0x80) return std::nullopt;
        cp = (cp << 6) | (cont & 0x3Fu);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
    return static_cast<char32_t>(cp);
}

}  // namespace

std::string DecodeText(std::string_view fileBytes, Charset charset) {
    std::string out;
    out.reserve(fileBytes.size());
    if (charset != Charset::Utf8) {
        for (const char c : fileBytes) AppendUtf8(out, CodePointOf(static_cast<std::uint8_t>(c), charset));
        return out;
    }
    for (std::size_t i = 0; i < fileBytes.size();) {
        const std::size_t start = i;
        const std::optional<char32_t> cp = NextCodePoint(fileBytes, i);
        if (!cp) i = start + 1;  // the next byte may start a valid sequence
        AppendUtf8(out, cp.value_or(U'\uFFFD'));
    }
    return out;
}

EncodedText EncodeText(std::string_view utf8, Charset charset) {
    EncodedText result;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::optional<char32_t> cp = NextCodePoint(utf8, i);
        if (!cp) {
            result.ok = false;
            result.invalidUtf8 = true;
            return result;
        }
        if (charset == Charset::Utf8) continue;
        const std::optional<std::uint8_t> byte = ByteOf(*cp, charset);
        if (!byte) {
            result.ok = false;
            result.refused = *cp;
            return result;
        }
        result.bytes.push_back(static_cast<char>(*byte));
    }
    if (charset == Charset::Utf8) result.bytes = utf8;
    return result;
}

std::string DescribeRefusal(const EncodedText& result) {
    if (result.invalidUtf8) return "the text is not valid UTF-8";
    std::string character;
    AppendUtf8(character, result.refused);
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(result.refused));
    return "the character \"" + character + "\" (" + code + ") cannot be stored in the file's 8-bit character set";
}

}  // namespace wave
