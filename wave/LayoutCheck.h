#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "wave/LoadedWave.h"
#include "wave/WaveCheck.h"
#include "wave/WaveFormat.h"

namespace wave {

// A chunk's data as the structure rules left it for the others: read within
// the file, never past its end.
struct CheckedChunkData {
    std::int64_t dataPos = 0;
    std::uint64_t declaredSize = 0;
    std::vector<std::uint8_t> bytes;
};

// What the structure rules read for the bext and cart rules: the first
// "fmt ", bext and cart chunks, and the audio's size in frames.
struct CheckedLayout {
    std::vector<ChunkEntry> chunks;
    std::optional<WaveFormat> format;
    std::optional<CheckedChunkData> bext;
    std::optional<CheckedChunkData> cart;
    // Frames the data chunk declares and the file holds; none without a
    // data chunk or a block size.
    std::optional<std::uint64_t> dataFrames;
};

// The S rules, walking every top-level chunk and reading on past what it
// can: findings are added, and nothing when the file is not a WAVE form.
std::optional<CheckedLayout> CheckLayout(WaveStream& file, Findings& findings);

// Whether the format tag is PCM (integer or float, plain or extensible).
bool IsPcmTag(std::uint16_t formatTag);

}  // namespace wave
