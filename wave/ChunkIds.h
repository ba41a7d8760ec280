#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

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

// Where the fixed-order walk looks for "cart" among chunks in file order:
// after "fmt " and the "fact", "mext" and "bext" that follow it in that
// order. None when "fmt " is not first. `idOf` gives an element's ID.
template <typename Chunks, typename IdOf>
std::optional<std::size_t> FixedOrderCartIndex(const Chunks& chunks, IdOf idOf) {
    using namespace chunk_id;
    if (chunks.empty() || idOf(chunks[0]) != kFmt) return std::nullopt;
    std::size_t at = 1;
    for (const std::uint32_t id : {kFact, kMext, kBext}) {
        if (at < chunks.size() && idOf(chunks[at]) == id) ++at;
    }
    return at;
}

// The four characters of a chunk ID, with any that is not printable ASCII
// shown as '?'.
inline std::string ChunkName(std::uint32_t id) {
    std::string name(4, '?');
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<char>((id >> (8 * (3 - i))) & 0xFF);
        if (c >= ' ' && c <= '~') name[i] = c;
    }
    return name;
}

}  // namespace wave
