#include "wave/CartPlacement.h"

#include <optional>

#include "wave/ChunkIds.h"

namespace wave {

namespace {

using namespace chunk_id;

constexpr std::int64_t kHeaderSize = 8;

// The span from first's header to last's end taken by a chunk of size data
// bytes, with a filler header for any remainder: a remainder too small for
// a header cannot be left.
std::optional<CartPlacement> IntoSpan(std::int64_t start, const SurveyedChunk& filler, std::uint32_t size) {
    const std::int64_t end = filler.end;
    const std::int64_t needed = kHeaderSize + size;
    const std::int64_t rest = end - start - needed;
    if (rest < 0 || (rest > 0 && rest < kHeaderSize)) return std::nullopt;
    CartPlacement placement{CartRoute::IntoFiller, start};
    if (rest > 0) {
        placement.fillerPos = start + needed;
        placement.fillerSize = static_cast<std::uint64_t>(rest - kHeaderSize);
        placement.fillerId = filler.entry.id;
    }
    return placement;
}

std::optional<CartPlacement> IntoFiller(const ChunkSurvey& survey, int cart, std::uint32_t size) {
    const auto& chunks = survey.chunks;
    if (cart >= 0) {
        const auto next = static_cast<std::size_t>(cart) + 1;
        if (next == chunks.size() || !IsFiller(chunks[next].entry.id)) return std::nullopt;
        return IntoSpan(chunks[static_cast<std::size_t>(cart)].entry.offset, chunks[next], size);
    }
    const int data = survey.Find(kData);
    if (data <= 0 || !IsFiller(chunks[static_cast<std::size_t>(data) - 1].entry.id)) return std::nullopt;
    const SurveyedChunk& filler = chunks[static_cast<std::size_t>(data) - 1];
    return IntoSpan(filler.entry.offset, filler, size);
}

CartPlan AtEnd(const ChunkSurvey& survey, int cart, std::uint32_t size) {
    CartPlacement placement{CartRoute::AtEnd, survey.NextChunkPos()};
    placement.oldCartPos = cart >= 0 ? survey.chunks[static_cast<std::size_t>(cart)].entry.offset : -1;
    placement.riffSize = static_cast<std::uint64_t>(placement.headerPos + kHeaderSize + size - kHeaderSize);
    if (!survey.IsRf64() && placement.riffSize > kMaxRiffSize)
        return std::string("the file would pass the 4 GiB a RIFF file can hold");
    return placement;
}

}  // namespace

CartPlan PlaceCart(const ChunkSurvey& survey, std::uint32_t cartSize, bool append) {
    if (!survey.problem.empty()) return survey.problem;
    const int cart = survey.Find(kCart);
    if (!append) {
        if (std::optional<CartPlacement> inPlace = IntoFiller(survey, cart, cartSize)) return *inPlace;
        const bool cartIsLast = cart >= 0 && static_cast<std::size_t>(cart) + 1 == survey.chunks.size();
        if (!cartIsLast) {
            const std::int64_t oldCart = cart >= 0 ? survey.chunks[static_cast<std::size_t>(cart)].end -
                                                         survey.chunks[static_cast<std::size_t>(cart)].entry.offset
                                                   : 0;
            const std::uint64_t newSize = survey.riffSize - static_cast<std::uint64_t>(oldCart) + 2 * kHeaderSize +
                                          cartSize + kRewriteFillerSize + kRewriteAlignment;
            if (!survey.IsRf64() && newSize > kMaxRiffSize)
                return std::string("the rewritten file would pass the 4 GiB a RIFF file can hold");
            return CartPlacement{CartRoute::Rewrite};
        }
    }
    return AtEnd(survey, cart, cartSize);
}

}  // namespace wave
