#pragma once

#include <string>
#include <string_view>

namespace wave {

// Text in the file is 8-bit and kept byte for byte; between the file and the
// screen (UTF-8) it passes through Windows-1252, whose five unassigned bytes
// stand for the C1 controls of the same value, so every byte round-trips.

// The character set a file's text is written in. Windows-1252 is the
// program's own; Latin-1 reads bytes 0x80 to 0x9F as the C1 controls; some
// radio systems write UTF-8.
enum class Charset { Windows1252, Latin1, Utf8 };

// File text to UTF-8. With UTF-8, each byte that is not part of a valid
// sequence shows as U+FFFD.
std::string DecodeText(std::string_view fileBytes, Charset charset = Charset::Windows1252);

struct EncodedText {
    bool ok = true;
    std::string bytes;         // the 8-bit text when ok
    char32_t refused = 0;      // the first character the 8-bit set cannot hold
    bool invalidUtf8 = false;  // the input was not UTF-8 at all
};

// UTF-8 to file text; refuses what the file's set cannot hold.
EncodedText EncodeText(std::string_view utf8, Charset charset = Charset::Windows1252);

// Why an encoding was refused, for a message: "the character "ā" (U+0101)
// cannot be stored in the file's 8-bit character set".
std::string DescribeRefusal(const EncodedText& result);

}  // namespace wave
