#pragma once

#include <array>
#include <cstdint>

namespace wave {

struct PostTimer {
    std::uint32_t usage = 0;  // four characters, the first in the lowest byte
    std::uint32_t value = 0;  // a position in samples

    bool operator==(const PostTimer&) const = default;
};

using PostTimers = std::array<PostTimer, 8>;

}  // namespace wave
