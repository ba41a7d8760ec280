#include "wave/BextRead.h"

#include <algorithm>
#include <limits>

#include "wave/ChunkLayout.h"

namespace wave {

std::vector<std::uint8_t> ReadBextData(WaveStream& stream, std::uint64_t declaredSize) {
    constexpr std::uint64_t kKept = bext::kCodingHistory + kMaxCodingHistory;
    const auto left = static_cast<std::uint64_t>(std::max<std::int64_t>(0, stream.Size() - stream.Tell()));
    std::vector<std::uint8_t> data(static_cast<std::size_t>(std::min({declaredSize, kKept, left})));
    data.resize(stream.Read(data.data(), data.size()));
    const std::uint64_t rest = declaredSize - data.size();
    stream.Skip(static_cast<std::int64_t>(std::min<std::uint64_t>(rest, std::numeric_limits<std::int64_t>::max())));
    return data;
}

}  // namespace wave
