#include "wave/ChunkReader.h"

#include <algorithm>

#include "wave/BextRead.h"
#include "wave/FieldCodecs.h"
#include "wave/PrimitiveReads.h"

namespace wave {

namespace {

std::uint16_t U16(ConstBytes data, std::size_t offset) { return static_cast<std::uint16_t>(ReadU32(data, offset)); }

}  // namespace

void ChunkReader::MoveTo(std::int64_t position) {
    const std::int64_t here = file_.Tell();
    if (position > here) {
        file_.Skip(position - here);
    } else if (position < here) {
        file_.Seek(position);
    }
}

std::size_t ChunkReader::ReadFilled(std::int64_t position, std::uint8_t* out, std::size_t n) {
    std::fill(out, out + n, std::uint8_t{0xFF});
    MoveTo(position);
    return file_.Read(out, n);
}

FileHeader ChunkReader::FileHeaderAt0() {
    std::uint8_t bytes[kFileHeaderSize];
    const std::size_t got = ReadFilled(0, bytes, sizeof bytes);
    return {FourCCAt(bytes), ReadU32(bytes, 4), FourCCAt(bytes + 8), got};
}

ChunkHeader ChunkReader::HeaderAt(std::int64_t position) {
    std::uint8_t bytes[kHeaderSize];
    const std::size_t got = ReadFilled(position, bytes, sizeof bytes);
    return {FourCCAt(bytes), ReadU32(bytes, 4), got == sizeof bytes};
}

bool ChunkReader::PadAt(std::int64_t dataEnd, std::uint64_t size) {
    if ((size & 1) == 0) return false;
    std::uint8_t byte = 0;
    return ReadFilled(dataEnd, &byte, 1) == 1 && byte == 0;
}

std::vector<std::uint8_t> ChunkReader::BytesAt(std::int64_t position, std::uint64_t n) {
    const auto left = static_cast<std::uint64_t>(std::max<std::int64_t>(0, file_.Size() - position));
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::min(n, left)));
    MoveTo(position);
    bytes.resize(file_.Read(bytes.data(), bytes.size()));
    return bytes;
}

WaveFormat ChunkReader::FormatAt(std::int64_t position, std::uint64_t size) {
    const std::vector<std::uint8_t> block = BytesAt(position, std::min<std::uint64_t>(size, kFormatBlockSize));
    return {U16(block, 0), U16(block, 2), ReadU32(block, 4), ReadU32(block, 8), U16(block, 12), U16(block, 14)};
}

std::vector<std::uint8_t> ChunkReader::BextAt(std::int64_t position, std::uint64_t declaredSize) {
    MoveTo(position);
    return ReadBextData(file_, declaredSize);
}

}  // namespace wave
