#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "wave/WaveFormat.h"
#include "wave/WaveStream.h"

namespace wave {

// The 12 bytes a RIFF, RF64 or BW64 file starts with: its ID, its size and
// its form type. got counts the bytes the file held.
struct FileHeader {
    std::uint32_t id = 0;
    std::uint32_t size = 0;
    std::uint32_t form = 0;
    std::size_t got = 0;
};

// A chunk's ID and its declared size; whole when the file held all 8 bytes.
struct ChunkHeader {
    std::uint32_t id = 0;
    std::uint32_t size = 0;
    bool whole = false;

    // The size as the fixed-order walk takes it: 2 GiB and more is negative.
    std::int32_t SignedSize() const { return static_cast<std::int32_t>(size); }
};

// Reads the parts of RIFF chunks at given positions of an open stream, for
// both walks. Bytes past the end of the file read as 0xFF, as the stream's
// get gives, so an ID read there matches no chunk name.
class ChunkReader {
public:
    static constexpr std::int64_t kFileHeaderSize = 12;
    static constexpr std::int64_t kHeaderSize = 8;
    static constexpr std::size_t kFormatBlockSize = 16;

    explicit ChunkReader(WaveStream& file) : file_(file) {}

    // Fills the stream's buffer from the start of the file: a walk that
    // goes from chunk to chunk in order then reads a small file at once.
    // Without it, each read takes exactly the bytes asked for.
    void Prefetch() { file_.Peek(); }

    FileHeader FileHeaderAt0();
    ChunkHeader HeaderAt(std::int64_t position);

    // Writers that keep RIFF word alignment pad an odd-sized chunk with a
    // NUL; others do not. A chunk ID never starts with NUL, so a NUL after
    // the data is a pad byte.
    bool PadAt(std::int64_t dataEnd, std::uint64_t size);

    // At most n bytes from the position: never more than the file holds, so
    // a size of gigabytes declared in a small file costs nothing.
    std::vector<std::uint8_t> BytesAt(std::int64_t position, std::uint64_t n);

    // The format block from the first min(size, 16) bytes at the position;
    // values the chunk or the file does not hold read as zero.
    WaveFormat FormatAt(std::int64_t position, std::uint64_t size);

    // The bext data as a load keeps it (see ReadBextData).
    std::vector<std::uint8_t> BextAt(std::int64_t position, std::uint64_t declaredSize);

private:
    // Forward moves go through the stream's buffer, backward ones seek.
    void MoveTo(std::int64_t position);
    std::size_t ReadFilled(std::int64_t position, std::uint8_t* out, std::size_t n);

    WaveStream& file_;
};

}  // namespace wave
