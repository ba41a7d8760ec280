#pragma once

#include <cstdint>

#include "wave/PrimitiveReads.h"

namespace wave {

// The chunk and form IDs the walks know, as ReadFourCC gives them.
namespace chunk_id {
inline constexpr std::uint32_t kRiff = FourCC("RIFF");
inline constexpr std::uint32_t kRf64 = FourCC("RF64");
inline constexpr std::uint32_t kBw64 = FourCC("BW64");
inline constexpr std::uint32_t kWave = FourCC("WAVE");
inline constexpr std::uint32_t kDs64 = FourCC("ds64");
inline constexpr std::uint32_t kFmt = FourCC("fmt ");
inline constexpr std::uint32_t kFact = FourCC("fact");
inline constexpr std::uint32_t kMext = FourCC("mext");
inline constexpr std::uint32_t kBext = FourCC("bext");
inline constexpr std::uint32_t kCart = FourCC("cart");
inline constexpr std::uint32_t kData = FourCC("data");
}  // namespace chunk_id

}  // namespace wave
