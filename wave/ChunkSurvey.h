#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "wave/LoadedWave.h"
#include "wave/WaveStream.h"

namespace wave {

// A top-level chunk and where its last byte (its pad byte, if it has one)
// ends.
struct SurveyedChunk {
    ChunkEntry entry;
    std::int64_t end = 0;

    std::int64_t DataPos() const { return entry.offset + 8; }
    // An odd-sized chunk its writer left without the pad byte: a chunk put
    // right after it needs one first, for readers that always skip it.
    bool LacksPad() const { return (entry.size & 1) != 0 && end == DataPos() + static_cast<std::int64_t>(entry.size); }
};

// Every top-level chunk of a RIFF, RF64 or BW64 WAVE file, to its end: what
// a change of the file's layout must know before it moves a byte.
struct ChunkSurvey {
    std::uint32_t formId = 0;  // RIFF, RF64 or BW64
    std::int64_t fileSize = 0;
    std::uint64_t riffSize = 0;  // from the header, or from ds64 where the header defers to it
    std::int64_t ds64DataPos = -1;
    std::vector<SurveyedChunk> chunks;
    // Why the layout is not understood well enough to place a chunk safely;
    // empty when it is.
    std::string problem;

    bool IsRf64() const;
    // Where the chunks end: the first byte after the last one.
    std::int64_t End() const { return chunks.empty() ? 12 : chunks.back().end; }
    // Where a chunk put after the last one starts.
    std::int64_t NextChunkPos() const { return End() + (!chunks.empty() && chunks.back().LacksPad() ? 1 : 0); }
    // The index of the first chunk with this ID, or -1.
    int Find(std::uint32_t id) const;
};

ChunkSurvey SurveyChunks(WaveStream& file);

// Chunk IDs writers use for space kept free, to be filled later.
bool IsFiller(std::uint32_t id);

}  // namespace wave
