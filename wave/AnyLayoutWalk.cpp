// The any-layout walk. It jumps from header to header by seeking, so
// opening a file costs a few small reads however much audio lies between
// the chunks.
#include <algorithm>

#include "wave/BextRead.h"
#include "wave/ChunkIds.h"
#include "wave/ChunkReader.h"
#include "wave/Ds64.h"
#include "wave/LoadedWave.h"

namespace wave {

namespace {

using namespace chunk_id;

// A 32-bit size of RF64 and BW64 files that says: the size is in ds64.
constexpr std::uint32_t kSizeInDs64 = 0xFFFFFFFFu;
// Past this many chunks the walk stops as at the end of the file, so a file
// of millions of empty chunks cannot keep it busy.
constexpr int kMaxChunks = 10000;
constexpr std::int64_t kHeaderSize = ChunkReader::kHeaderSize;

// What the walk found; the cart size is that of the first cart chunk, kept
// even when it is not usable, since that decides the failure row.
struct ChunksFound {
    std::optional<WaveFormat> format;
    std::optional<std::vector<std::uint8_t>> bext;
    std::optional<std::int32_t> cartSize;
    std::int64_t cartPos = -1;
    std::vector<std::uint8_t> cart;
    std::vector<ChunkEntry> chunks;

    bool complete() const { return format && bext && cartSize; }
};

class ChunkWalker {
public:
    ChunkWalker(WaveStream& file, bool sizesInDs64) : reader_(file), sizesInDs64_(sizesInDs64), end_(file.Size()) {}

    ChunksFound Run() {
        std::int64_t position = ChunkReader::kFileHeaderSize;
        for (int count = 0; count < kMaxChunks && !found_.complete(); ++count) {
            const ChunkHeader header = reader_.HeaderAt(position);
            if (!header.whole) break;
            const std::int64_t dataPos = position + kHeaderSize;
            if (header.id == kCart && !found_.cartSize && header.SignedSize() <= 0) {
                // Unusable, yet it is the cart chunk the file has. A size of
                // zero still says where the next chunk starts.
                found_.chunks.push_back({header.id, position, header.size});
                found_.cartSize = header.SignedSize();
                if (header.size != 0) break;
                position = dataPos;
                continue;
            }
            const std::optional<std::uint64_t> size = DataSize(header);
            found_.chunks.push_back({header.id, position, size.value_or(header.size)});
            // A chunk that runs past the end of the file ends the walk.
            if (!size || *size > static_cast<std::uint64_t>(std::max<std::int64_t>(0, end_ - dataPos))) break;
            Visit(header, dataPos, *size);
            const std::int64_t dataEnd = dataPos + static_cast<std::int64_t>(*size);
            position = dataEnd + (reader_.PadAt(dataEnd, *size) ? 1 : 0);
        }
        return std::move(found_);
    }

private:
    std::optional<std::uint64_t> DataSize(const ChunkHeader& header) const {
        if (!sizesInDs64_ || header.size != kSizeInDs64) return header.size;
        if (!ds64_) return std::nullopt;
        return ds64_->SizeOf(header.id);
    }

    void Visit(const ChunkHeader& header, std::int64_t dataPos, std::uint64_t size) {
        if (header.id == kDs64 && sizesInDs64_ && !ds64_) {
            ds64_ =
                Ds64Sizes::Parse(reader_.BytesAt(dataPos, std::min<std::uint64_t>(size, Ds64Sizes::kMaxUsefulSize)));
        } else if (header.id == kFmt && !found_.format) {
            found_.format = reader_.FormatAt(dataPos, size);
        } else if (header.id == kBext && !found_.bext) {
            found_.bext = reader_.BextAt(dataPos, size);
        } else if (header.id == kCart && !found_.cartSize) {
            // Its size is positive and inside the file here.
            found_.cartSize = header.SignedSize();
            found_.cartPos = dataPos;
            found_.cart = reader_.BytesAt(dataPos, std::min<std::uint64_t>(size, kMaxCartData));
        }
        // Everything else (data, LIST, JUNK, PEAK, iXML, fact, ...) is passed
        // over unread.
    }

    ChunkReader reader_;
    const bool sizesInDs64_;
    const std::int64_t end_;
    std::optional<Ds64Sizes> ds64_;
    ChunksFound found_;
};

LoadedWave Outcome(LoadFailure failure, std::vector<ChunkEntry> chunks = {}) {
    LoadedWave loaded;
    loaded.failure = failure;
    loaded.chunks = std::move(chunks);
    return loaded;
}

}  // namespace

LoadedWave WalkAnyLayout(WaveStream& file) {
    const FileHeader head = ChunkReader(file).FileHeaderAt0();
    if (head.id != kRiff && head.id != kRf64 && head.id != kBw64) return Outcome(LoadFailure::NotWave);
    if (head.got < 8) return Outcome(LoadFailure::PrematureEnd);
    if (head.form != kWave) return Outcome(LoadFailure::InvalidRiffHeader);

    ChunksFound found = ChunkWalker(file, head.id != kRiff).Run();
    if (!found.format) return Outcome(LoadFailure::NoFormatChunk, std::move(found.chunks));
    LoadedWave loaded = Outcome(LoadFailure::None, std::move(found.chunks));
    loaded.format = found.format;
    loaded.bext = std::move(found.bext);
    if (!found.cartSize)
        loaded.failure = LoadFailure::CartNotFound;
    else if (*found.cartSize <= 0)
        loaded.failure = LoadFailure::InvalidCartHeader;
    if (loaded.failure != LoadFailure::None) return loaded;

    loaded.cartPos = found.cartPos;
    loaded.cartSize = static_cast<std::uint32_t>(*found.cartSize);
    loaded.cart = std::move(found.cart);
    return loaded;
}

}  // namespace wave
