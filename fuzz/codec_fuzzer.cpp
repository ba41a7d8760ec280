// Runs arbitrary bytes through the text codec in each character set the CLI
// offers, both as text read from a file and as text a user typed. File text
// that decodes must encode back to the same bytes, and a refusal must name
// the character it refuses.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "fuzz/Require.h"
#include "wave/TextCodec.h"

namespace {

bool Contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

// File text to the screen and back. The 8-bit sets give every byte a
// character; UTF-8 keeps valid text as it is and shows the rest as U+FFFD.
void CheckFileText(std::string_view bytes, wave::Charset charset) {
    const std::string shown = wave::DecodeText(bytes, charset);
    const wave::EncodedText back = wave::EncodeText(shown, charset);
    if (charset != wave::Charset::Utf8) {
        Require(back.ok && back.bytes == bytes, "8-bit file text does not come back as the same bytes");
        return;
    }
    Require(wave::EncodeText(shown, wave::Charset::Utf8).ok, "UTF-8 file text shows as invalid UTF-8");
    if (wave::EncodeText(bytes, wave::Charset::Utf8).ok) {
        Require(shown == bytes && back.ok && back.bytes == bytes, "valid UTF-8 file text does not come back as itself");
    } else {
        Require(Contains(shown, "\xEF\xBF\xBD"), "invalid UTF-8 file text shows without a replacement character");
    }
}

// The one-character UTF-8 texts of every byte of an 8-bit set, for telling
// independently whether the set can hold a character.
std::array<std::string, 256> Screen(wave::Charset charset) {
    std::array<std::string, 256> shown;
    for (std::size_t b = 0; b < shown.size(); ++b)
        shown[b] = wave::DecodeText(std::string(1, static_cast<char>(b)), charset);
    return shown;
}

bool Holds(const std::array<std::string, 256>& screen, std::string_view character) {
    for (const std::string& shown : screen) {
        if (shown == character) return true;
    }
    return false;
}

// Typed text to file text: what is stored shows as typed, and what is
// refused is either not UTF-8 or the first character the set truly lacks,
// named in the message by itself and its code point.
void CheckTypedText(std::string_view typed, wave::Charset charset) {
    const wave::EncodedText stored = wave::EncodeText(typed, charset);
    if (stored.ok) {
        Require(wave::DecodeText(stored.bytes, charset) == typed, "stored text does not show as typed");
        return;
    }
    const std::string message = wave::DescribeRefusal(stored);
    if (stored.invalidUtf8) {
        Require(wave::DecodeText(typed, wave::Charset::Utf8) != typed, "valid UTF-8 was refused as invalid");
        Require(Contains(message, "not valid UTF-8"), "the refusal of invalid UTF-8 does not say so");
        return;
    }
    Require(charset != wave::Charset::Utf8, "UTF-8 refused a valid character");

    char code[16];
    std::snprintf(code, sizeof code, "(U+%04X)", static_cast<unsigned>(stored.refused));
    Require(Contains(message, code), "a refusal does not give the character's code point");
    const std::size_t open = message.find('"');
    const std::size_t close = message.find('"', open + 1);
    Require(open != std::string::npos && close != std::string::npos, "a refusal does not quote the character");
    const std::string character = message.substr(open + 1, close - open - 1);
    const std::size_t at = typed.find(character);
    Require(!character.empty() && at != std::string_view::npos, "a refusal names a character that was not typed");
    Require(wave::EncodeText(typed.substr(0, at), charset).ok, "a refusal names a character after the first refused");

    static const std::array<std::string, 256> windows = Screen(wave::Charset::Windows1252);
    static const std::array<std::string, 256> latin = Screen(wave::Charset::Latin1);
    Require(!Holds(charset == wave::Charset::Latin1 ? latin : windows, character),
            "a character the set holds was refused");
}

constexpr std::array<wave::Charset, 3> kCharsets = {wave::Charset::Windows1252, wave::Charset::Latin1,
                                                    wave::Charset::Utf8};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const wave::Charset charset : kCharsets) {
        CheckFileText(bytes, charset);
        CheckTypedText(bytes, charset);
    }
    return 0;
}
