// The any-layout walk: every top-level chunk of a RIFF, RF64 or BW64 WAVE
// file, in any order, taking the first "fmt ", "bext" and "cart" it meets.
// It jumps from header to header by seeking, so opening a file costs a few
// small reads however much audio lies between the chunks.
#include <algorithm>

#include "BextRead.h"
#include "ChunkIds.h"
#include "Ds64.h"
#include "FieldDistribution.h"
#include "PrimitiveReads.h"
#include "WaveDocument.h"

namespace wave {

namespace {

using namespace chunk_id;

// A 32-bit size of RF64 and BW64 files that says: the size is in ds64.
constexpr std::uint32_t kSizeInDs64 = 0xFFFFFFFFu;
// Past this many chunks the walk stops as at the end of the file, so a file
// of millions of empty chunks cannot keep it busy.
constexpr int kMaxChunks = 10000;
constexpr std::int64_t kFileHeaderSize = 12;
constexpr std::int64_t kHeaderSize = 8;
constexpr std::size_t kFormatBlockSize = 16;

std::uint32_t FourCCAt(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

std::uint16_t U16(ConstBytes data, std::size_t offset) { return static_cast<std::uint16_t>(ReadU32(data, offset)); }

struct ChunkHeader {
    std::uint32_t id = 0;
    std::uint32_t size = 0;
};

// Each read goes straight to the file for exactly the bytes wanted: the walk
// seeks before every read, so a buffer filled ahead would be wasted.
std::vector<std::uint8_t> ReadAt(WaveStream& file, std::int64_t position, std::size_t n) {
    std::vector<std::uint8_t> bytes(n);
    if (!file.seekp(position)) return {};
    bytes.resize(file.read(bytes.data(), n));
    return bytes;
}

std::optional<ChunkHeader> ReadHeaderAt(WaveStream& file, std::int64_t position) {
    const std::vector<std::uint8_t> bytes = ReadAt(file, position, kHeaderSize);
    if (bytes.size() != kHeaderSize) return std::nullopt;
    return ChunkHeader{FourCCAt(bytes.data()), ReadU32(bytes, 4)};
}

// A format block declared shorter than 16 bytes is read only as far as the
// chunk goes; the missing values read as zero.
WaveFormat ReadFormatBlock(WaveStream& file, std::int64_t position, std::uint64_t size) {
    std::vector<std::uint8_t> block = ReadAt(file, position, std::min<std::uint64_t>(size, kFormatBlockSize));
    block.resize(kFormatBlockSize, 0);
    return {U16(block, 0), U16(block, 2), ReadU32(block, 4), ReadU32(block, 8), U16(block, 12), U16(block, 14)};
}

// What the walk found; the cart size is that of the first cart chunk, kept
// even when it is not usable, since that decides the failure row.
struct ChunksFound {
    std::optional<WaveFormat> format;
    std::optional<std::vector<std::uint8_t>> bext;
    std::optional<std::int32_t> cartSize;
    std::int64_t cartPos = -1;
    std::vector<std::uint8_t> cart;

    bool complete() const { return format && bext && cartSize; }
};

class ChunkWalker {
public:
    ChunkWalker(WaveStream& file, bool sizesInDs64) : file_(file), sizesInDs64_(sizesInDs64), end_(file.size()) {}

    ChunksFound Run() {
        std::int64_t position = kFileHeaderSize;
        for (int count = 0; count < kMaxChunks && !found_.complete(); ++count) {
            const std::optional<ChunkHeader> header = ReadHeaderAt(file_, position);
            if (!header) break;
            const std::int64_t dataPos = position + kHeaderSize;
            if (header->id == kCart && !found_.cartSize && static_cast<std::int32_t>(header->size) <= 0) {
                // Unusable, yet it is the cart chunk the file has. A size of
                // zero still says where the next chunk starts.
                found_.cartSize = static_cast<std::int32_t>(header->size);
                if (header->size != 0) break;
                position = dataPos;
                continue;
            }
            const std::optional<std::uint64_t> size = DataSize(*header);
            // A chunk that runs past the end of the file ends the walk.
            if (!size || *size > static_cast<std::uint64_t>(std::max<std::int64_t>(0, end_ - dataPos))) break;
            Visit(*header, dataPos, *size);
            const std::int64_t dataEnd = dataPos + static_cast<std::int64_t>(*size);
            position = dataEnd + (PadByteAt(dataEnd, *size) ? 1 : 0);
        }
        return std::move(found_);
    }

private:
    std::optional<std::uint64_t> DataSize(const ChunkHeader& header) const {
        if (!sizesInDs64_ || header.size != kSizeInDs64) return header.size;
        if (!ds64_) return std::nullopt;
        return ds64_->SizeOf(header.id);
    }

    // Writers that keep RIFF word alignment pad an odd-sized chunk with a
    // NUL; others do not. A chunk ID never starts with NUL.
    bool PadByteAt(std::int64_t position, std::uint64_t size) {
        if ((size & 1) == 0) return false;
        const std::vector<std::uint8_t> byte = ReadAt(file_, position, 1);
        return byte.size() == 1 && byte[0] == 0;
    }

    void Visit(const ChunkHeader& header, std::int64_t dataPos, std::uint64_t size) {
        if (header.id == kDs64 && sizesInDs64_ && !ds64_) {
            ds64_ = Ds64Sizes::Parse(ReadAt(file_, dataPos, std::min<std::uint64_t>(size, Ds64Sizes::kMaxUsefulSize)));
        } else if (header.id == kFmt && !found_.format) {
            found_.format = ReadFormatBlock(file_, dataPos, size);
        } else if (header.id == kBext && !found_.bext) {
            file_.seekp(dataPos);
            found_.bext = ReadBextData(file_, size);
        } else if (header.id == kCart && !found_.cartSize) {
            // Its size is positive and inside the file here.
            found_.cartSize = static_cast<std::int32_t>(header.size);
            found_.cartPos = dataPos;
            found_.cart = ReadAt(file_, dataPos, static_cast<std::size_t>(std::min<std::uint64_t>(size, kMaxCartData)));
        }
        // Everything else (data, LIST, JUNK, PEAK, iXML, fact, ...) is passed
        // over unread.
    }

    WaveStream& file_;
    const bool sizesInDs64_;
    const std::int64_t end_;
    std::optional<Ds64Sizes> ds64_;
    ChunksFound found_;
};

}  // namespace

LoadFailure WaveDocument::WalkAnyLayout(PageRecords pages) {
    // Bytes past the end of the file read as 0xFF, as the stream's get gives.
    std::uint8_t fileHeader[kFileHeaderSize];
    std::fill(std::begin(fileHeader), std::end(fileHeader), 0xFF);
    const std::size_t got = m_file.read(fileHeader, sizeof fileHeader);
    const std::uint32_t id = FourCCAt(fileHeader);
    if (id != kRiff && id != kRf64 && id != kBw64) return LoadFailure::NotWave;
    if (got < 8) return LoadFailure::PrematureEnd;
    if (FourCCAt(fileHeader + 8) != kWave) return LoadFailure::InvalidRiffHeader;

    ChunksFound found = ChunkWalker(m_file, id != kRiff).Run();
    if (!found.format) return LoadFailure::NoFormatChunk;
    pages.info.m_format = found.format;
    pages.player.m_strFile = pages.info.m_strPath;
    pages.player.m_pFile = &m_file;

    m_pBextData = std::move(found.bext);
    if (m_pBextData) FillEbuInfo(*m_pBextData, pages.ebu);
    if (!found.cartSize) return LoadFailure::CartNotFound;
    if (*found.cartSize <= 0) return LoadFailure::InvalidCartHeader;

    m_lCartPos = found.cartPos;
    m_dwCartSize = static_cast<std::uint32_t>(*found.cartSize);
    m_pCartData = std::move(found.cart);
    pages.cart2.m_nSampleRate = found.format->nSamplesPerSec;
    FillCartPages(*m_pCartData, pages.cart, pages.cart2);
    SetCartFlags(pages);
    return LoadFailure::None;
}

}  // namespace wave
