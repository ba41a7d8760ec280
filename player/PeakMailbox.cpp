#include "player/PeakMailbox.h"

#include <algorithm>
#include <limits>

namespace {

// A bucket no part has reached yet: the window leaves it as it is.
void FillUnreached(std::vector<std::int32_t>& values, std::size_t from, std::size_t to) {
    for (std::size_t k = from; k + 1 < to; k += 2) {
        values[k] = std::numeric_limits<std::int32_t>::max();
        values[k + 1] = std::numeric_limits<std::int32_t>::min();
    }
}

}  // namespace

bool PeakMailbox::Put(std::uint64_t firstBucket, std::span<const std::int32_t> values, Clock::time_point now) {
    const std::size_t buckets = values.size() / stride_;
    if (buckets == 0) return false;
    const std::lock_guard lock(mutex_);
    std::vector<std::int32_t>& kept = pending_.values;
    const std::uint64_t keptFirst = pending_.firstBucket;
    const std::uint64_t keptEnd = keptFirst + kept.size() / stride_;
    if (kept.empty()) {
        pending_.firstBucket = firstBucket;
        kept.assign(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(buckets * stride_));
    } else {
        // One range covering both; buckets between them wait as unreached.
        const std::uint64_t first = std::min(keptFirst, firstBucket);
        const std::uint64_t end = std::max(keptEnd, firstBucket + buckets);
        if (first < keptFirst) {
            const auto grow = static_cast<std::size_t>(keptFirst - first) * stride_;
            kept.insert(kept.begin(), grow, 0);
            FillUnreached(kept, 0, grow);
            pending_.firstBucket = first;
        }
        const std::size_t oldSize = kept.size();
        kept.resize(static_cast<std::size_t>(end - first) * stride_);
        FillUnreached(kept, oldSize, kept.size());
        std::copy_n(values.begin(), buckets * stride_,
                    kept.begin() + static_cast<std::ptrdiff_t>((firstBucket - first) * stride_));
    }
    if (asked_ || now - lastTake_ < kPeriod) return false;
    asked_ = true;
    return true;
}

PeakMailbox::Part PeakMailbox::Take(Clock::time_point now) {
    const std::lock_guard lock(mutex_);
    Part part = std::move(pending_);
    pending_ = {};
    asked_ = false;
    lastTake_ = now;
    return part;
}
