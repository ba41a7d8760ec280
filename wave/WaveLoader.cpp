// The fixed-order walk. It takes chunk sizes as signed numbers and reads
// 16 bytes of format block whatever "fmt " declares, as files written for
// it expect; the chunks it looks for lie together at the start of a file.
#include <algorithm>

#include "wave/BextRead.h"
#include "wave/ChunkIds.h"
#include "wave/ChunkReader.h"
#include "wave/LoadedWave.h"

namespace wave {

namespace {

using namespace chunk_id;

constexpr std::int64_t kHeaderSize = ChunkReader::kHeaderSize;

// A RIFF size read past the end of the file is negative as a signed number.
// Files between 2 and 4 GiB carry sizes that are negative too, yet are
// whole: those are told apart by the file actually holding what they declare.
bool RiffSizeSaysEndedEarly(const FileHeader& header, std::int64_t fileSize) {
    if (static_cast<std::int32_t>(header.size) >= 0) return false;
    return header.got < 8 || fileSize < std::int64_t{header.size} + 8;
}

class FixedOrderWalk {
public:
    explicit FixedOrderWalk(WaveStream& file) : file_(file), reader_(file) {}

    LoadedWave Run() {
        reader_.Prefetch();
        const FileHeader file = reader_.FileHeaderAt0();
        if (file.id != kRiff) return StopAt(file.id, LoadFailure::NotWave);
        if (RiffSizeSaysEndedEarly(file, file_.Size())) return Fail(LoadFailure::PrematureEnd);
        if (file.form != kWave) return Fail(LoadFailure::InvalidRiffHeader);

        const ChunkHeader fmt = Next(ChunkReader::kFileHeaderSize);
        if (fmt.id != kFmt) return StopAt(fmt.id, LoadFailure::NoFormatChunk);
        const std::int64_t dataPos = ChunkReader::kFileHeaderSize + kHeaderSize;
        const WaveFormat format = reader_.FormatAt(dataPos, ChunkReader::kFormatBlockSize);
        // A block declared shorter than 16 bytes is read whole all the same,
        // and the next header is looked for after it.
        const std::int64_t fmtEnd = dataPos + std::max<std::int64_t>(ChunkReader::kFormatBlockSize, fmt.SignedSize());
        if (fmtEnd > file_.Size()) return Fail(LoadFailure::PrematureEnd);
        loaded_.format = format;
        return AfterFormat(fmtEnd);
    }

private:
    LoadedWave AfterFormat(std::int64_t position) {
        ChunkHeader header = Next(position);
        for (const std::uint32_t skipped : {kFact, kMext}) {
            if (header.id != skipped) continue;
            position = PastChunk(position, header);
            header = Next(position);
        }

        if (header.id == kData) return StopAt(header.id, LoadFailure::DataBeforeCart);
        if (header.id == kBext) {
            loaded_.bext = reader_.BextAt(position + kHeaderSize, Positive(header));
            position = PastChunk(position, header);
            header = Next(position);
            if (header.id == kData) return StopAt(header.id, LoadFailure::CartNotFound);
        }
        if (header.id != kCart) return StopAt(header.id, LoadFailure::CartNotFound);
        if (header.SignedSize() <= 0) return Fail(LoadFailure::InvalidCartHeader);

        loaded_.cartPos = position + kHeaderSize;
        loaded_.cartSize = header.size;
        loaded_.cart = reader_.BytesAt(loaded_.cartPos, std::min<std::uint64_t>(header.size, kMaxCartData));
        return std::move(loaded_);
    }

    // A negative size passes over nothing.
    static std::uint64_t Positive(const ChunkHeader& header) {
        return static_cast<std::uint64_t>(std::max(header.SignedSize(), 0));
    }

    std::int64_t PastChunk(std::int64_t position, const ChunkHeader& header) {
        const std::uint64_t size = Positive(header);
        const std::int64_t dataEnd = position + kHeaderSize + static_cast<std::int64_t>(size);
        return dataEnd + (reader_.PadAt(dataEnd, size) ? 1 : 0);
    }

    ChunkHeader Next(std::int64_t position) {
        const ChunkHeader header = reader_.HeaderAt(position);
        if (header.whole) loaded_.chunks.push_back({header.id, position, header.size});
        return header;
    }

    LoadedWave Fail(LoadFailure failure) {
        loaded_.failure = failure;
        return std::move(loaded_);
    }

    LoadedWave StopAt(std::uint32_t id, LoadFailure failure) {
        loaded_.stoppedAt = id;
        return Fail(failure);
    }

    WaveStream& file_;
    ChunkReader reader_;
    LoadedWave loaded_;
};

}  // namespace

LoadedWave WalkFixedOrder(WaveStream& file) { return FixedOrderWalk(file).Run(); }

}  // namespace wave
