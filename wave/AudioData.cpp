// Reads chunk headers only, by seeking: the audio itself is never read here.
#include "wave/AudioData.h"

#include <algorithm>

#include "wave/ChunkIds.h"
#include "wave/ChunkReader.h"
#include "wave/Ds64.h"
#include "wave/FieldCodecs.h"

namespace wave {

namespace {

using namespace chunk_id;

constexpr std::uint32_t kSizeInDs64 = 0xFFFFFFFFu;
constexpr int kMaxChunks = 10000;
// The extensible format block: cbSize at 16, the sub-format GUID at 24.
constexpr std::size_t kExtensibleSize = 40;
constexpr std::size_t kSubFormatOffset = 24;

std::uint16_t U16(ConstBytes data, std::size_t offset) {
    return static_cast<std::uint16_t>(data[offset] | (data[offset + 1] << 8));
}

}  // namespace

std::optional<AudioData> LocateAudio(WaveStream& file, std::string& problem) {
    ChunkReader reader(file);
    const FileHeader head = reader.FileHeaderAt0();
    if ((head.id != kRiff && head.id != kRf64 && head.id != kBw64) || head.got < 12 || head.form != kWave) {
        problem = "it is not a RIFF WAVE file";
        return std::nullopt;
    }
    const bool sizesInDs64 = head.id != kRiff;
    const std::int64_t fileSize = file.Size();
    std::optional<Ds64Sizes> ds64;
    std::optional<AudioData> audio;
    bool haveFormat = false;
    bool haveData = false;
    std::int64_t position = ChunkReader::kFileHeaderSize;
    for (int count = 0; count < kMaxChunks && !(haveFormat && haveData); ++count) {
        const ChunkHeader header = reader.HeaderAt(position);
        if (!header.whole) break;
        std::uint64_t size = header.size;
        if (sizesInDs64 && header.size == kSizeInDs64) {
            const auto fromDs64 = ds64 ? ds64->SizeOf(header.id) : std::nullopt;
            if (!fromDs64) break;
            size = *fromDs64;
        }
        const std::int64_t dataPos = position + ChunkReader::kHeaderSize;
        const auto held = static_cast<std::uint64_t>(std::max<std::int64_t>(0, fileSize - dataPos));
        if (!audio) audio.emplace();
        if (header.id == kDs64 && sizesInDs64 && !ds64) {
            ds64 = Ds64Sizes::Parse(reader.BytesAt(dataPos, std::min<std::uint64_t>(size, Ds64Sizes::kMaxUsefulSize)));
        } else if (header.id == kFmt && !haveFormat) {
            haveFormat = true;
            audio->format = reader.FormatAt(dataPos, size);
            audio->coding = audio->format.formatTag;
            if (audio->coding == kFormatExtensible) {
                const auto block = reader.BytesAt(dataPos, std::min<std::uint64_t>(size, kExtensibleSize));
                audio->coding = block.size() == kExtensibleSize ? U16(block, kSubFormatOffset) : 0;
            }
        } else if (header.id == kData && !haveData) {
            haveData = true;
            audio->dataPos = dataPos;
            audio->declaredSize = size;
            audio->size = std::min(size, held);
        }
        if (size >= held) break;
        const std::int64_t dataEnd = dataPos + static_cast<std::int64_t>(size);
        position = dataEnd + (reader.PadAt(dataEnd, size) ? 1 : 0);
    }
    if (!haveFormat) {
        problem = "it has no \"fmt \" chunk";
        return std::nullopt;
    }
    if (!haveData) {
        problem = "it has no \"data\" chunk";
        return std::nullopt;
    }
    return audio;
}

}  // namespace wave
