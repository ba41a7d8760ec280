#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "wave/WaveStream.h"

namespace wave {

// How much coding history a load keeps. The EBU Info page shows it as one
// text; a chunk that declares megabytes of it is passed over, not read.
inline constexpr std::size_t kMaxCodingHistory = 64 * 1024;

// How much cart data a load keeps: its fields and the first part of the tag
// text. A save writes back only these bytes, so the rest of the chunk stays
// as it is, and an open costs the same whatever the chunk declares.
inline constexpr std::size_t kMaxCartData = 128 * 1024;

// The bext data at the stream's position, as the loader keeps it: the fixed
// fields and at most kMaxCodingHistory bytes of coding history, never more
// than the file holds. The rest of the declared data is passed over as
// WaveStream::ignore does (end-of-file state set when it runs past the end).
std::vector<std::uint8_t> ReadBextData(WaveStream& stream, std::uint64_t declaredSize);

}  // namespace wave
