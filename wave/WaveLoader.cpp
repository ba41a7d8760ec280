// The chunk walk of a load: RIFF header, form type, "fmt ", then the
// optional "fact", "mext" and "bext" chunks in that order, then "cart".
#include <algorithm>

#include "BextRead.h"
#include "ChunkIds.h"
#include "FieldDistribution.h"
#include "PrimitiveReads.h"
#include "WaveDocument.h"

namespace wave {

namespace {

using namespace chunk_id;

constexpr std::size_t kFormatBlockSize = 16;

struct ChunkHeader {
    std::uint32_t id;
    std::int32_t size;
};

std::int32_t ReadSize(WaveStream& stream) { return static_cast<std::int32_t>(ReadLE(stream, 4)); }

ChunkHeader ReadHeader(WaveStream& stream) {
    const std::uint32_t id = ReadFourCC(stream, 4);
    return {id, ReadSize(stream)};
}

// Writers that keep RIFF word alignment pad an odd-sized chunk with a NUL;
// others do not. A chunk ID never starts with NUL, so skipping one is safe.
void SkipPadByte(WaveStream& stream, std::int32_t size) {
    if (size > 0 && (size & 1) != 0 && stream.peek() == 0) stream.get();
}

void SkipChunk(WaveStream& stream, const ChunkHeader& header) {
    SkipBytes(stream, header.size);
    SkipPadByte(stream, header.size);
}

// A RIFF size read past the end of the file is negative as a signed number.
// Files between 2 and 4 GiB carry sizes that are negative too, yet are
// whole: those are told apart by the file actually holding what they declare.
bool RiffSizeSaysEndedEarly(WaveStream& stream) {
    const std::uint32_t size = ReadLE(stream, 4);
    if (static_cast<std::int32_t>(size) >= 0) return false;
    return stream.eof() || stream.size() < std::int64_t{size} + 8;
}

std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t U32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
}

WaveFormat ReadFormatBlock(WaveStream& stream) {
    std::uint8_t block[kFormatBlockSize] = {};
    stream.read(block, sizeof block);
    return {U16(block), U16(block + 2), U32(block + 4), U32(block + 8), U16(block + 12), U16(block + 14)};
}

}  // namespace

// Never allocates more than the file still holds past the position, so a
// size of 2 GiB declared in a small file costs nothing.
std::vector<std::uint8_t> WaveDocument::ReadChunkData(std::int32_t declaredSize) {
    const std::int64_t left = std::max<std::int64_t>(0, m_file.size() - m_file.tellp());
    const auto n = static_cast<std::size_t>(std::clamp<std::int64_t>(declaredSize, 0, left));
    std::vector<std::uint8_t> data(n);
    data.resize(m_file.read(data.data(), n));
    return data;
}

LoadFailure WaveDocument::StopAt(std::uint32_t id, LoadFailure failure) {
    m_idStoppedAt = id;
    return failure;
}

LoadFailure WaveDocument::Walk(PageRecords pages) {
    if (const std::uint32_t id = ReadFourCC(m_file, 4); id != kRiff) return StopAt(id, LoadFailure::NotWave);
    if (RiffSizeSaysEndedEarly(m_file)) return LoadFailure::PrematureEnd;
    if (ReadFourCC(m_file, 4) != kWave) return LoadFailure::InvalidRiffHeader;
    if (m_file.eof()) return LoadFailure::PrematureEnd;

    const ChunkHeader fmt = ReadHeader(m_file);
    if (fmt.id != kFmt) return StopAt(fmt.id, LoadFailure::NoFormatChunk);
    const WaveFormat format = ReadFormatBlock(m_file);
    SkipBytes(m_file, std::int64_t{fmt.size} - static_cast<std::int64_t>(kFormatBlockSize));
    if (m_file.eof()) return LoadFailure::PrematureEnd;

    pages.info.m_format = format;
    pages.player.m_strFile = pages.info.m_strPath;
    pages.player.m_pFile = &m_file;
    return ReadChunksAfterFormat(pages, format);
}

LoadFailure WaveDocument::ReadChunksAfterFormat(PageRecords pages, const WaveFormat& format) {
    ChunkHeader header = ReadHeader(m_file);
    if (header.id == kFact) {
        SkipChunk(m_file, header);
        header = ReadHeader(m_file);
    }
    if (header.id == kMext) {
        SkipChunk(m_file, header);
        header = ReadHeader(m_file);
    }

    if (header.id == kData) return StopAt(header.id, LoadFailure::DataBeforeCart);
    if (header.id == kBext) {
        m_pBextData = ReadBextData(m_file, static_cast<std::uint64_t>(std::max(header.size, 0)));
        FillEbuInfo(*m_pBextData, pages.ebu);
        SkipPadByte(m_file, header.size);
        header = ReadHeader(m_file);
        if (header.id == kData) return StopAt(header.id, LoadFailure::CartNotFound);
    }
    if (header.id != kCart) return StopAt(header.id, LoadFailure::CartNotFound);
    if (header.size <= 0) return LoadFailure::InvalidCartHeader;

    m_pCartData.reset();
    m_lCartPos = m_file.tellp();
    m_dwCartSize = static_cast<std::uint32_t>(header.size);
    m_pCartData = ReadChunkData(std::min(header.size, static_cast<std::int32_t>(kMaxCartData)));

    pages.cart2.m_nSampleRate = format.nSamplesPerSec;
    FillCartPages(*m_pCartData, pages.cart, pages.cart2);
    SetCartFlags(pages);
    return LoadFailure::None;
}

}  // namespace wave
