#pragma once

#include <string>
#include <string_view>

namespace wave {

// Text in the file is 8-bit and kept byte for byte; between the file and the
// screen (UTF-8) it passes through Windows-1252, whose five unassigned bytes
// stand for the C1 controls of the same value, so every byte round-trips.

// 8-bit file text to UTF-8.
std::string DecodeText(std::string_view fileBytes);

struct EncodedText {
    bool ok = true;
    std::string bytes;         // the 8-bit text when ok
    char32_t refused = 0;      // the first character the 8-bit set cannot hold
    bool invalidUtf8 = false;  // the input was not UTF-8 at all
};

// UTF-8 to 8-bit file text; refuses what the 8-bit set cannot hold.
EncodedText EncodeText(std::string_view utf8);

// Why an encoding was refused, for a message: "the character "ā" (U+0101)
// cannot be stored in the file's 8-bit character set".
std::string DescribeRefusal(const EncodedText& result);

}  // namespace wave
