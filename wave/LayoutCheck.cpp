// The structure rules walk the chunk headers by seeking, as the survey does,
// but read on past what they find, so that one run lists every fault.
#include "wave/LayoutCheck.h"

#include <algorithm>
#include <map>

#include "wave/BextRead.h"
#include "wave/ChunkIds.h"
#include "wave/ChunkReader.h"
#include "wave/ChunkSurvey.h"
#include "wave/Ds64.h"

namespace wave {

namespace {

using namespace chunk_id;

constexpr std::uint32_t kSizeInDs64 = 0xFFFFFFFFu;
constexpr std::size_t kMaxChunks = 10000;

std::string Named(std::uint32_t id) { return "\"" + ChunkName(id) + "\""; }

bool IsPrintableId(const std::vector<std::uint8_t>& bytes) {
    return bytes.size() >= 4 &&
           std::all_of(bytes.begin(), bytes.begin() + 4, [](std::uint8_t b) { return b >= ' ' && b <= '~'; });
}

// Filler chunks may repeat: those growth reuses, and two more writers use.
bool MayRepeat(std::uint32_t id) { return IsFiller(id) || id == FourCC("JUNQ") || id == FourCC("FILR"); }

bool IsInterpreted(std::uint32_t id) {
    return id == kFmt || id == kFact || id == kMext || id == kBext || id == kCart || id == kData || id == kDs64;
}

class LayoutChecker {
public:
    LayoutChecker(WaveStream& file, Findings& findings) : reader_(file), findings_(findings), size_(file.Size()) {}

    std::optional<CheckedLayout> Run() {
        const FileHeader head = reader_.FileHeaderAt0();
        if ((head.id != kRiff && head.id != kRf64 && head.id != kBw64) || head.got < 12 || head.form != kWave) {
            Add("S1", Severity::Error, "the file does not start with a RIFF, RF64 or BW64 header of form WAVE", 0);
            return std::nullopt;
        }
        rf64_ = head.id != kRiff;
        std::uint64_t riffSize = head.size;
        Walk();
        if (rf64_ && (layout_.chunks.empty() || layout_.chunks.front().id != kDs64))
            Add("S10", Severity::Error, "the first chunk of an " + ChunkName(head.id) + " file is not ds64", 12);
        if (rf64_ && head.size == kSizeInDs64 && ds64_) riffSize = ds64_->RiffSize();
        CheckRiffSize(riffSize);
        CheckFormat();
        return std::move(layout_);
    }

private:
    void Add(const char* rule, Severity severity, std::string message, std::optional<std::int64_t> at = {}) {
        findings_.push_back({rule, severity, std::move(message), at});
    }

    void Walk() {
        std::int64_t position = ChunkReader::kFileHeaderSize;
        std::map<std::uint32_t, std::int64_t> seen;
        while (position < size_ && layout_.chunks.size() < kMaxChunks) {
            const ChunkHeader header = reader_.HeaderAt(position);
            if (!header.whole) {
                Add("S3", Severity::Error,
                    std::to_string(size_ - position) + " bytes after the last chunk are too few for a chunk header",
                    position);
                return;
            }
            std::uint64_t size = header.size;
            if (rf64_ && header.size == kSizeInDs64) {
                const std::optional<std::uint64_t> resolved = ds64_ ? ds64_->SizeOf(header.id) : std::nullopt;
                if (!resolved) {
                    Add("S10", Severity::Error,
                        "the " + Named(header.id) + " chunk's size 0xFFFFFFFF is not resolved through ds64", position);
                    return;
                }
                size = *resolved;
            }
            Met(header.id, position, seen);
            const std::int64_t dataPos = position + ChunkReader::kHeaderSize;
            const std::uint64_t held = static_cast<std::uint64_t>(size_ - dataPos);
            layout_.chunks.push_back({header.id, position, size});
            Keep(header.id, dataPos, size);
            if (size > held) {
                Add("S3", Severity::Error,
                    "the " + Named(header.id) + " chunk declares " + std::to_string(size) + " bytes; the file holds " +
                        std::to_string(held) + " of them",
                    position);
                return;
            }
            position = AfterChunk(header.id, dataPos + static_cast<std::int64_t>(size), size);
        }
    }

    // Repeats, a second form, and chunks nobody here reads.
    void Met(std::uint32_t id, std::int64_t position, std::map<std::uint32_t, std::int64_t>& seen) {
        if (id == kRiff || id == kRf64 || id == kBw64) {
            Add("S7", Severity::Error, "a second " + ChunkName(id) + " form starts at byte " + std::to_string(position),
                position);
        } else if (id == kData && seen.contains(kData)) {
            Add("S7", Severity::Error, "a second \"data\" chunk", position);
        } else if (seen.contains(id) && !MayRepeat(id)) {
            Add("S6", Severity::Error,
                "a second " + Named(id) + " chunk (the first is at byte " + std::to_string(seen[id]) + ")", position);
        }
        seen.try_emplace(id, position);
    }

    // Where the next chunk starts after an odd-sized one: after its pad
    // byte, or at once where its writer left none out.
    std::int64_t AfterChunk(std::uint32_t id, std::int64_t dataEnd, std::uint64_t size) {
        if ((size & 1) == 0) return dataEnd;
        if (dataEnd >= size_) {
            Add("S4", Severity::Error, "the odd-sized " + Named(id) + " chunk has no pad byte at the end of the file",
                dataEnd);
            return dataEnd;
        }
        const std::vector<std::uint8_t> next = reader_.BytesAt(dataEnd, 5);
        if (next[0] == 0) return dataEnd + 1;
        if (IsPrintableId(next)) {
            Add("S5", Severity::Warning,
                "the odd-sized " + Named(id) + " chunk has no pad byte; the next chunk starts at once", dataEnd);
            return dataEnd;
        }
        Add("S4", Severity::Error, "the pad byte after the odd-sized " + Named(id) + " chunk is not 0", dataEnd);
        return dataEnd + 1;
    }

    void Keep(std::uint32_t id, std::int64_t dataPos, std::uint64_t size) {
        if (id == kDs64 && rf64_ && !ds64_)
            ds64_ = Ds64Sizes::Parse(reader_.BytesAt(dataPos, std::min<std::uint64_t>(size, 28)));
        if (id == kFmt && !layout_.format) layout_.format = reader_.FormatAt(dataPos, size);
        if (id == kData && !dataPos_) {
            dataPos_ = dataPos;
            dataSize_ = std::min(size, static_cast<std::uint64_t>(size_ - dataPos));  // what the file holds
        }
        if (id == kBext && !layout_.bext) layout_.bext = Data(dataPos, size);
        if (id == kCart && !layout_.cart) layout_.cart = Data(dataPos, size);
        if (!IsInterpreted(id)) {
            Add("S11", Severity::Info,
                "chunk " + Named(id) + " of " + std::to_string(size) + " bytes is not interpreted",
                dataPos - ChunkReader::kHeaderSize);
        }
    }

    CheckedChunkData Data(std::int64_t dataPos, std::uint64_t size) {
        return {dataPos, size, reader_.BytesAt(dataPos, std::min<std::uint64_t>(size, kMaxCartData))};
    }

    void CheckRiffSize(std::uint64_t riffSize) {
        const std::int64_t end = layout_.chunks.empty()
                                     ? ChunkReader::kFileHeaderSize
                                     : std::min(size_, layout_.chunks.back().offset + ChunkReader::kHeaderSize +
                                                           static_cast<std::int64_t>(layout_.chunks.back().size));
        const std::uint64_t form = riffSize + 8;
        if (form > static_cast<std::uint64_t>(size_)) {
            Add("S3", Severity::Error,
                "the RIFF size says the file holds " + std::to_string(form) + " bytes; it holds " +
                    std::to_string(size_),
                4);
        } else if (form + 1 < static_cast<std::uint64_t>(end)) {
            Add("S2", Severity::Warning,
                "the RIFF size (" + std::to_string(riffSize) + ") is smaller than the chunks it holds (" +
                    std::to_string(end - 8) + " bytes)",
                4);
        }
    }

    void CheckFormat() {
        if (!layout_.format) return;
        const WaveFormat& f = *layout_.format;
        if (!IsPcmTag(f.formatTag)) return;
        const std::uint32_t align = f.channels * ((f.bitsPerSample + 7u) / 8u);
        const std::int64_t at = FormatPos();
        if (f.blockAlign != align) {
            Add("S8", Severity::Error,
                "block align is " + std::to_string(f.blockAlign) + "; " + std::to_string(f.channels) + " channels of " +
                    std::to_string(f.bitsPerSample) + " bits need " + std::to_string(align),
                at);
        }
        const std::uint64_t rate = std::uint64_t{f.samplesPerSec} * f.blockAlign;
        if (f.avgBytesPerSec != rate) {
            Add("S8", Severity::Error,
                "average bytes per second is " + std::to_string(f.avgBytesPerSec) + "; sample rate x block align is " +
                    std::to_string(rate),
                at);
        }
        if (!dataPos_ || f.blockAlign == 0) return;
        if (dataSize_ % f.blockAlign != 0) {
            Add("S9", Severity::Warning,
                "the data size (" + std::to_string(dataSize_) + ") is not a whole number of " +
                    std::to_string(f.blockAlign) + "-byte blocks",
                *dataPos_ - ChunkReader::kHeaderSize);
        }
        layout_.dataFrames = dataSize_ / f.blockAlign;
    }

    std::int64_t FormatPos() const {
        const auto fmt = std::find_if(layout_.chunks.begin(), layout_.chunks.end(),
                                      [](const ChunkEntry& c) { return c.id == kFmt; });
        return fmt->offset;
    }

    ChunkReader reader_;
    Findings& findings_;
    std::int64_t size_;
    bool rf64_ = false;
    std::optional<Ds64Sizes> ds64_;
    std::optional<std::int64_t> dataPos_;
    std::uint64_t dataSize_ = 0;
    CheckedLayout layout_;
};

}  // namespace

bool IsPcmTag(std::uint16_t formatTag) { return formatTag == 1 || formatTag == 3 || formatTag == 0xFFFE; }

std::optional<CheckedLayout> CheckLayout(WaveStream& file, Findings& findings) {
    return LayoutChecker(file, findings).Run();
}

}  // namespace wave
