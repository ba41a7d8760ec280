#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "wave/FieldCodecs.h"

namespace wave {

// The 64-bit sizes an RF64 or BW64 file keeps in its ds64 chunk, for the
// chunks whose own 32-bit size is 0xFFFFFFFF: the data chunk's, and a table
// for any other.
class Ds64Sizes {
public:
    // Entries kept from the table at most; real files list one or two.
    static constexpr std::size_t kMaxTableEntries = 1000;
    // The bytes of a ds64 chunk worth reading: fixed part and kept entries.
    static constexpr std::size_t kMaxUsefulSize = 28 + 12 * kMaxTableEntries;

    // None when the data is too short for the fixed part. Table entries
    // that the data does not hold whole are left out.
    static std::optional<Ds64Sizes> Parse(ConstBytes data);

    // The size recorded for the chunk with this ID, if any.
    std::optional<std::uint64_t> SizeOf(std::uint32_t id) const;
    // The size of the whole RIFF form, less its first 8 bytes.
    std::uint64_t RiffSize() const { return riffSize_; }

    // Where the RIFF size lies in the ds64 data, as a low then a high word.
    static constexpr std::size_t kRiffSizeOffset = 0;

private:
    std::uint64_t riffSize_ = 0;
    std::uint64_t dataSize_ = 0;
    std::vector<std::pair<std::uint32_t, std::uint64_t>> table_;
};

}  // namespace wave
