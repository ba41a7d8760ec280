#include "wave/Ds64.h"

#include <algorithm>

#include "wave/ChunkIds.h"
#include "wave/PrimitiveReads.h"

namespace wave {

namespace {

// Layout of the ds64 data: RIFF size, data size and sample count, each as
// a low and a high 32-bit word, then the table's entry count and its
// entries of a chunk ID and a 64-bit size.
constexpr std::size_t kDataSize = 8;
constexpr std::size_t kTableLength = 24;
constexpr std::size_t kTable = 28;
constexpr std::size_t kEntrySize = 12;

std::uint64_t ReadU64(ConstBytes data, std::size_t offset) {
    return std::uint64_t{ReadU32(data, offset)} | (std::uint64_t{ReadU32(data, offset + 4)} << 32);
}

}  // namespace

std::optional<Ds64Sizes> Ds64Sizes::Parse(ConstBytes data) {
    if (data.size() < kTable) return std::nullopt;
    Ds64Sizes sizes;
    sizes.riffSize_ = ReadU64(data, kRiffSizeOffset);
    sizes.dataSize_ = ReadU64(data, kDataSize);
    const std::size_t held = (data.size() - kTable) / kEntrySize;
    const std::size_t count = std::min<std::size_t>({ReadU32(data, kTableLength), held, kMaxTableEntries});
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t entry = kTable + k * kEntrySize;
        sizes.table_.emplace_back(FourCCAt(data.data() + entry), ReadU64(data, entry + 4));
    }
    return sizes;
}

std::optional<std::uint64_t> Ds64Sizes::SizeOf(std::uint32_t id) const {
    if (id == chunk_id::kData) return dataSize_;
    const auto entry = std::find_if(table_.begin(), table_.end(), [id](const auto& e) { return e.first == id; });
    if (entry == table_.end()) return std::nullopt;
    return entry->second;
}

}  // namespace wave
