#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "wave/LoadFailure.h"
#include "wave/WaveFormat.h"

namespace wave {

class WaveStream;

// A top-level chunk a walk met: its ID, the file position of its header and
// its size (for RF64 and BW64 files, the one ds64 gives where it gives one).
struct ChunkEntry {
    std::uint32_t id = 0;
    std::int64_t offset = 0;
    std::uint64_t size = 0;

    bool operator==(const ChunkEntry&) const = default;
};

// What a walk read from a file, before any of it is shown.
struct LoadedWave {
    LoadFailure failure = LoadFailure::None;
    // The ID the fixed-order walk met where it expected "RIFF", "fmt ",
    // "bext" or "cart"; none after any other outcome.
    std::optional<std::uint32_t> stoppedAt;
    // The chunks met, in file order, up to where the walk ended.
    std::vector<ChunkEntry> chunks;
    std::optional<WaveFormat> format;
    std::optional<std::vector<std::uint8_t>> bext;
    // Set only when the cart chunk loaded: its data as read, where the data
    // starts and the size its header declares.
    std::optional<std::vector<std::uint8_t>> cart;
    std::int64_t cartPos = -1;
    std::uint32_t cartSize = 0;
};

// The fixed-order walk: RIFF header, form type, "fmt ", then the optional
// "fact", "mext" and "bext" chunks in that order, then "cart".
LoadedWave WalkFixedOrder(WaveStream& file);

// Every top-level chunk of a RIFF, RF64 or BW64 WAVE file, in any order,
// taking the first "fmt ", "bext" and "cart" it meets.
LoadedWave WalkAnyLayout(WaveStream& file);

}  // namespace wave
