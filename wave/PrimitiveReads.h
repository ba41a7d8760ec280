#pragma once

#include <cstdint>

#include "wave/WaveStream.h"

namespace wave {

// n bytes with the first one most significant, so that a chunk ID compares
// as its characters in file order ("RIFF" is 0x52494646). A byte past the end
// of the file counts as 0xFF, so an ID read there matches no chunk name.
std::uint32_t ReadFourCC(WaveStream& stream, int n);

// n bytes, first one least significant. Chunk sizes are read with n = 4 and
// taken as signed, so a size read past the end of the file is -1.
std::uint32_t ReadLE(WaveStream& stream, int n);

// Passes over n bytes; n of 0 or less passes over nothing.
void SkipBytes(WaveStream& stream, std::int64_t n);

// The same order from four bytes in memory.
constexpr std::uint32_t FourCCAt(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

constexpr std::uint32_t FourCC(const char (&id)[5]) {
    return (std::uint32_t{static_cast<unsigned char>(id[0])} << 24) |
           (std::uint32_t{static_cast<unsigned char>(id[1])} << 16) |
           (std::uint32_t{static_cast<unsigned char>(id[2])} << 8) | std::uint32_t{static_cast<unsigned char>(id[3])};
}

}  // namespace wave
