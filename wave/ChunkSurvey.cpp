// The survey reads chunk headers only, by seeking, so it costs a few small
// reads however large the audio is.
#include "wave/ChunkSurvey.h"

#include <algorithm>
#include <array>

#include "wave/ChunkIds.h"
#include "wave/ChunkReader.h"
#include "wave/Ds64.h"

namespace wave {

namespace {

using namespace chunk_id;

constexpr std::uint32_t kSizeInDs64 = 0xFFFFFFFFu;
constexpr int kMaxChunks = 10000;

std::string Where(std::uint32_t id, std::int64_t offset) {
    return "the \"" + ChunkName(id) + "\" chunk at byte " + std::to_string(offset);
}

class Surveyor {
public:
    explicit Surveyor(WaveStream& file) : reader_(file) { survey_.fileSize = file.Size(); }

    ChunkSurvey Run() {
        const FileHeader head = reader_.FileHeaderAt0();
        survey_.formId = head.id;
        if ((head.id != kRiff && head.id != kRf64 && head.id != kBw64) || head.got < 12 || head.form != kWave)
            return Fail("it is not a RIFF WAVE file");
        survey_.riffSize = head.size;
        if (std::string why = Walk(); !why.empty()) return Fail(why);
        if (survey_.IsRf64()) {
            if (!ds64_) return Fail("it has no ds64 chunk to hold its sizes");
            if (head.size == kSizeInDs64) survey_.riffSize = ds64_->RiffSize();
        }
        if (static_cast<std::int64_t>(survey_.riffSize) + 8 < survey_.End()) {
            return Fail("its RIFF size (" + std::to_string(survey_.riffSize) + ") is smaller than its chunks (" +
                        std::to_string(survey_.End() - 8) + " bytes)");
        }
        return std::move(survey_);
    }

private:
    ChunkSurvey Fail(std::string why) {
        survey_.problem = std::move(why);
        return std::move(survey_);
    }

    std::string Walk() {
        std::int64_t position = ChunkReader::kFileHeaderSize;
        bool sawData = false;
        while (position < survey_.fileSize) {
            if (survey_.chunks.size() == kMaxChunks)
                return "it has more than " + std::to_string(kMaxChunks) + " chunks";
            const ChunkHeader header = reader_.HeaderAt(position);
            if (!header.whole) {
                return std::to_string(survey_.fileSize - position) + " stray bytes follow its last chunk at byte " +
                       std::to_string(position);
            }
            const std::optional<std::uint64_t> size = SizeOf(header);
            if (!size) return Where(header.id, position) + " defers its size to a ds64 entry that is missing";
            const std::int64_t dataPos = position + ChunkReader::kHeaderSize;
            if (*size > static_cast<std::uint64_t>(survey_.fileSize - dataPos))
                return Where(header.id, position) + " runs past the end of the file";
            if (header.id == kData) {
                if (sawData) return "it has a second \"data\" chunk, at byte " + std::to_string(position);
                sawData = true;
            }
            if (header.id == kDs64 && survey_.IsRf64() && !ds64_) {
                survey_.ds64DataPos = dataPos;
                ds64_ = Ds64Sizes::Parse(reader_.BytesAt(dataPos, std::min<std::uint64_t>(*size, 28)));
            }
            const std::int64_t dataEnd = dataPos + static_cast<std::int64_t>(*size);
            const std::int64_t end = dataEnd + (reader_.PadAt(dataEnd, *size) ? 1 : 0);
            survey_.chunks.push_back({{header.id, position, *size}, end});
            position = end;
        }
        return {};
    }

    std::optional<std::uint64_t> SizeOf(const ChunkHeader& header) const {
        if (!survey_.IsRf64() || header.size != kSizeInDs64) return header.size;
        if (!ds64_) return std::nullopt;
        return ds64_->SizeOf(header.id);
    }

    ChunkReader reader_;
    std::optional<Ds64Sizes> ds64_;
    ChunkSurvey survey_;
};

}  // namespace

bool ChunkSurvey::IsRf64() const { return formId == kRf64 || formId == kBw64; }

int ChunkSurvey::Find(std::uint32_t id) const {
    const auto found =
        std::find_if(chunks.begin(), chunks.end(), [id](const SurveyedChunk& c) { return c.entry.id == id; });
    return found == chunks.end() ? -1 : static_cast<int>(found - chunks.begin());
}

ChunkSurvey SurveyChunks(WaveStream& file) { return Surveyor(file).Run(); }

bool IsFiller(std::uint32_t id) {
    static constexpr std::array kFillers = {FourCC("JUNK"), FourCC("junk"), FourCC("FLLR"), FourCC("fllr"),
                                            FourCC("PAD "), FourCC("pad "), FourCC("FILL"), FourCC("filr")};
    return std::find(kFillers.begin(), kFillers.end(), id) != kFillers.end();
}

}  // namespace wave
