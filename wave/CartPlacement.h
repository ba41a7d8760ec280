#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "wave/ChunkSurvey.h"

namespace wave {

// How a cart chunk that is new or larger than before gets into a file.
enum class CartRoute {
    IntoFiller,  // over a filler chunk next to it: nothing else moves, the length stays
    AtEnd,       // after the last chunk; an old cart chunk becomes filler
    Rewrite,     // a new file with the cart chunk before "data", then renamed over the old
};

struct CartPlacement {
    CartRoute route = CartRoute::Rewrite;
    // Where the cart chunk's header goes (IntoFiller, AtEnd).
    std::int64_t headerPos = -1;
    // IntoFiller: where the filler's remainder gets its header, and its data
    // size; -1 where the cart takes the filler whole.
    std::int64_t fillerPos = -1;
    std::uint64_t fillerSize = 0;
    std::uint32_t fillerId = 0;
    // AtEnd: the old cart chunk's header, to be renamed "JUNK"; -1 for none.
    std::int64_t oldCartPos = -1;
    // AtEnd: the RIFF size once the chunk is in.
    std::uint64_t riffSize = 0;
};

// A placement, or why the chunk cannot be placed.
using CartPlan = std::variant<CartPlacement, std::string>;

// The largest RIFF (not RF64) file: its size field counts 32 bits.
inline constexpr std::uint64_t kMaxRiffSize = 0xFFFFFFFFu;
// The least filler a rewrite leaves after the cart chunk, so that later
// growth stays in place.
inline constexpr std::uint32_t kRewriteFillerSize = 4096;
// A rewrite moves the audio by a multiple of this (the filler takes up to
// one less more), so that it keeps its place within file system blocks.
inline constexpr std::uint32_t kRewriteAlignment = 4096;

// Where a cart chunk of cartSize data bytes (even) goes, by preference: into
// a filler next to the old cart chunk (or right before "data" for a new
// one), at the end when the old one is last or append is asked for, else
// by a rewrite.
CartPlan PlaceCart(const ChunkSurvey& survey, std::uint32_t cartSize, bool append);

}  // namespace wave
