#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

// A file of gigabytes described by a few KiB of fuzz input: the bytes as
// given, except that "HOLE" and a 64-bit little-endian length stand for that
// many zero bytes, which the scratch file leaves as a hole costing no memory.
// Input without the marker is the file itself, byte for byte.
namespace sparse {

using Bytes = std::vector<std::uint8_t>;

inline constexpr char kHoleMarker[] = "HOLE";
inline constexpr std::size_t kMarkerSize = sizeof kHoleMarker - 1;
inline constexpr std::size_t kLengthSize = 8;
// Past 4 GiB, where RF64 sizes live, with room to spare; beyond this the
// holes are cut short.
inline constexpr std::uint64_t kMaxFileSize = std::uint64_t{9} << 30;

struct Piece {
    std::uint64_t offset = 0;
    Bytes bytes;

    std::uint64_t end() const { return offset + bytes.size(); }
};

struct Image {
    std::uint64_t size = 0;
    std::vector<Piece> pieces;  // in file order, none overlapping

    // The n bytes at offset, holes as zeros; n stays small (a header, the
    // cart data kept).
    Bytes at(std::uint64_t offset, std::size_t n) const {
        Bytes out(n, 0);
        for (const Piece& piece : pieces) {
            const std::uint64_t from = std::max(offset, piece.offset);
            const std::uint64_t to = std::min(offset + n, piece.end());
            if (from >= to) continue;
            std::memcpy(out.data() + (from - offset), piece.bytes.data() + (from - piece.offset), to - from);
        }
        return out;
    }
};

inline std::uint64_t LengthAt(const std::uint8_t* p) {
    std::uint64_t length = 0;
    for (std::size_t k = kLengthSize; k > 0; --k) length = (length << 8) | p[k - 1];
    return length;
}

// The input that stands for gap zero bytes, as the seeds write it.
inline Bytes Hole(std::uint64_t gap) {
    Bytes bytes(kHoleMarker, kHoleMarker + kMarkerSize);
    for (std::size_t k = 0; k < kLengthSize; ++k) bytes.push_back(static_cast<std::uint8_t>(gap >> (8 * k)));
    return bytes;
}

inline Image Unframe(const std::uint8_t* data, std::size_t size) {
    Image image;
    const std::uint8_t* at = data;
    const std::uint8_t* const end = data + size;
    auto append = [&image](const std::uint8_t* from, const std::uint8_t* to) {
        if (from == to) return;
        image.pieces.push_back({image.size, Bytes(from, to)});
        image.size += static_cast<std::uint64_t>(to - from);
    };
    while (at < end) {
        // memmem, not std::search: libFuzzer watches its arguments and so
        // learns the marker.
        const auto* marker = static_cast<const std::uint8_t*>(
            ::memmem(at, static_cast<std::size_t>(end - at), kHoleMarker, kMarkerSize));
        if (marker == nullptr || end - marker < static_cast<std::ptrdiff_t>(kMarkerSize + kLengthSize)) {
            append(at, end);
            break;
        }
        append(at, marker);
        image.size += std::min(LengthAt(marker + kMarkerSize), kMaxFileSize - std::min(image.size, kMaxFileSize));
        at = marker + kMarkerSize + kLengthSize;
    }
    return image;
}

}  // namespace sparse
