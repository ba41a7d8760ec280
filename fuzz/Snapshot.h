#pragma once

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/ScratchFile.h"
#include "fuzz/SparseImage.h"

// What the checks compare of a scratch file that may be gigabytes long: the
// bytes around every piece written and every window asked for, widened to
// whole pages since holes are kept per page. Everywhere else the file must
// still be a hole, so it still reads as the zeros it held.
struct Extent {
    std::uint64_t begin = 0;
    std::uint64_t end = 0;

    bool holds(std::uint64_t offset) const { return offset >= begin && offset < end; }
};

struct Snapshot {
    std::uint64_t size = 0;
    std::vector<sparse::Piece> regions;
    bool holesElsewhere = true;

    static Snapshot Take(const ScratchFile& file, const std::vector<Extent>& extents) {
        Snapshot shot;
        shot.size = file.size();
        const auto page = static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
        std::vector<Extent> widened;
        for (const Extent& extent : extents) {
            const std::uint64_t begin = extent.begin / page * page;
            const std::uint64_t end = std::min(shot.size, (extent.end + page - 1) / page * page);
            if (begin < end) widened.push_back({begin, end});
        }
        std::sort(widened.begin(), widened.end(), [](const Extent& a, const Extent& b) { return a.begin < b.begin; });
        std::vector<Extent> merged;
        for (const Extent& extent : widened) {
            if (!merged.empty() && extent.begin <= merged.back().end) {
                merged.back().end = std::max(merged.back().end, extent.end);
            } else {
                merged.push_back(extent);
            }
        }
        std::uint64_t covered = 0;
        for (const Extent& extent : merged) {
            shot.holesElsewhere = shot.holesElsewhere && file.holeBetween(covered, extent.begin);
            shot.regions.push_back(
                {extent.begin, file.read(extent.begin, static_cast<std::size_t>(extent.end - extent.begin))});
            covered = extent.end;
        }
        shot.holesElsewhere = shot.holesElsewhere && file.holeBetween(covered, shot.size);
        return shot;
    }
};

// The extents a snapshot of this image keeps: its pieces and the windows.
inline std::vector<Extent> ExtentsOf(const sparse::Image& image, std::vector<Extent> windows) {
    for (const sparse::Piece& piece : image.pieces) windows.push_back({piece.offset, piece.end()});
    return windows;
}

// Whether two snapshots of the same extents differ only inside the extents allowed.
inline bool SameOutside(const Snapshot& before, const Snapshot& after, const std::vector<Extent>& allowed) {
    if (before.size != after.size || !before.holesElsewhere || !after.holesElsewhere ||
        before.regions.size() != after.regions.size()) {
        return false;
    }
    for (std::size_t r = 0; r < before.regions.size(); ++r) {
        const sparse::Piece& a = before.regions[r];
        const sparse::Piece& b = after.regions[r];
        if (a.offset != b.offset || a.bytes.size() != b.bytes.size()) return false;
        for (std::size_t k = 0; k < a.bytes.size(); ++k) {
            if (a.bytes[k] == b.bytes[k]) continue;
            const std::uint64_t offset = a.offset + k;
            if (std::none_of(allowed.begin(), allowed.end(), [offset](const Extent& e) { return e.holds(offset); })) {
                return false;
            }
        }
    }
    return true;
}
