#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "wave/WaveFormat.h"
#include "wave/WaveStream.h"

namespace wave {

// Where a file's audio lies and how it is coded.
struct AudioData {
    WaveFormat format;
    // The coding the samples are in: the format tag, or for
    // WAVE_FORMAT_EXTENSIBLE the tag its sub-format GUID carries.
    std::uint16_t coding = 0;
    std::int64_t dataPos = 0;        // the first byte of the "data" chunk's data
    std::uint64_t declaredSize = 0;  // as its header (or ds64) says
    std::uint64_t size = 0;          // what the file holds of it

    bool Truncated() const { return size < declaredSize; }
    // Whole sample frames the file holds.
    std::uint64_t Frames() const { return format.blockAlign == 0 ? 0 : size / format.blockAlign; }
};

inline constexpr std::uint16_t kFormatPcm = 1;
inline constexpr std::uint16_t kFormatFloat = 3;
inline constexpr std::uint16_t kFormatExtensible = 0xFFFE;

// Walks the top-level chunks (RIFF, RF64 or BW64, in any order) for "fmt "
// and "data". A data chunk that runs past the end of the file is taken as
// far as the file goes: a recording cut short still has its audio. On
// failure, says why in `problem`.
std::optional<AudioData> LocateAudio(WaveStream& file, std::string& problem);

}  // namespace wave
