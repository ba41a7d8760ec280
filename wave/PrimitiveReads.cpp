#include "wave/PrimitiveReads.h"

namespace wave {

namespace {

std::uint32_t NextByte(WaveStream& stream) { return static_cast<std::uint32_t>(stream.Get()) & 0xFFu; }

}  // namespace

std::uint32_t ReadFourCC(WaveStream& stream, int n) {
    std::uint32_t value = 0;
    for (int i = 0; i < n; ++i) value = (value << 8) | NextByte(stream);
    return value;
}

std::uint32_t ReadLE(WaveStream& stream, int n) {
    std::uint32_t value = 0;
    for (int i = 0; i < n; ++i) value |= NextByte(stream) << (8 * i);
    return value;
}

void SkipBytes(WaveStream& stream, std::int64_t n) { stream.Skip(n); }

}  // namespace wave
