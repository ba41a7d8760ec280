#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "wave/ChunkLayout.h"

namespace wave {

using ConstBytes = std::span<const std::uint8_t>;
using Bytes = std::span<std::uint8_t>;

// The bytes of the field up to its first NUL or its width. Bytes that lie
// beyond the data (a chunk shorter than its fixed fields) read as absent.
std::string ReadTextField(ConstBytes data, Field field);

// Text from offset up to the first NUL or the end of the data.
std::string ReadTextToEnd(ConstBytes data, std::size_t offset);

// Stores the value's first field.width bytes, NUL-filling the rest of the
// field. Nothing outside the field, nor beyond the data, is touched.
void WriteTextField(Bytes data, Field field, std::string_view value);

// A little-endian 32-bit word; bytes beyond the data read as zero.
std::uint32_t ReadU32(ConstBytes data, std::size_t offset);

struct DateParts {
    int year;
    int month;
    int day;
};

struct TimeParts {
    int hour;
    int minute;
    int second;
};

// "YYYY-MM-DD": the numbers at text offsets 0, 5 and 8, each read as the C
// library's atoi would. Separators and ranges are not checked.
DateParts SplitDate(std::string_view text);
// "HH:MM:SS": the numbers at text offsets 0, 3 and 6.
TimeParts SplitTime(std::string_view text);

// "%.4d-%.2d-%.2d" cut to exactly 10 bytes.
std::string FormatDate(int year, int month, int day);
// "%.2d:%.2d:%.2d" cut to exactly 8 bytes.
std::string FormatTime(int hour, int minute, int second);

// Whether the data reaches over the whole 1024-byte URL area: its URL can be
// edited, also while it is empty.
bool HoldsUrlArea(ConstBytes data);
// Whether a URL area holding this text reads as a URL: it starts with an
// ASCII letter or digit.
bool ReadsAsPresentUrl(std::string_view url);
// Whether a URL may be written into a URL area: it reads back as written.
// An empty one clears the area, which stays there to be filled in again.
bool WritableUrl(std::string_view url);
// Why a URL that would not read back as one is refused.
inline constexpr const char* kUrlReadsAsNone =
    "a URL must start with an ASCII letter or digit; any other reads back as no URL";

// The data holds a URL: it holds the whole URL area, and the area reads as a
// URL.
bool UrlPresent(ConstBytes data);

}  // namespace wave
