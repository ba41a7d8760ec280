// The fuzz targets' framing of large files and the snapshots their save
// checks compare: a fault here would let the seeds of gigabytes shrink to a
// few KiB, or a stray write in a hole pass unseen, with every replay green.

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "fuzz/ScratchFile.h"
#include "fuzz/Snapshot.h"
#include "fuzz/SparseImage.h"

namespace {

constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;

sparse::Bytes Framed(const std::string& head, std::uint64_t gap, const std::string& tail) {
    sparse::Bytes bytes(head.begin(), head.end());
    const sparse::Bytes hole = sparse::Hole(gap);
    bytes.insert(bytes.end(), hole.begin(), hole.end());
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    return bytes;
}

void WriteAt(const ScratchFile& file, std::uint64_t offset, std::uint8_t byte) {
    const int fd = ::open(file.path().c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(::pwrite(fd, &byte, 1, static_cast<off_t>(offset)), 1);
    ::close(fd);
}

TEST(SparseImage, InputWithoutAWholeMarkerIsTheFileItself) {
    for (const std::string text : {"RIFF plain bytes", "ends in HOLE\x01\x02"}) {
        const sparse::Bytes bytes(text.begin(), text.end());
        const sparse::Image image = sparse::Unframe(bytes.data(), bytes.size());
        EXPECT_EQ(image.size, bytes.size());
        EXPECT_EQ(image.at(0, bytes.size()), bytes);
    }
}

TEST(SparseImage, MarkerStandsForZerosAndLengthsAreCapped) {
    const sparse::Bytes framed = Framed("ab", 5 * kGiB, "cd");
    const sparse::Image image = sparse::Unframe(framed.data(), framed.size());
    EXPECT_EQ(image.size, 4 + 5 * kGiB);
    EXPECT_EQ(image.at(1, 3), (sparse::Bytes{'b', 0, 0}));
    EXPECT_EQ(image.at(5 * kGiB + 1, 3), (sparse::Bytes{0, 'c', 'd'}));

    const sparse::Bytes huge = Framed("", ~std::uint64_t{0}, "x");
    EXPECT_EQ(sparse::Unframe(huge.data(), huge.size()).size, sparse::kMaxFileSize + 1);
}

TEST(Snapshot, SeesChangesInPiecesAndHolesOutsideWhatIsAllowed) {
    const sparse::Bytes framed = Framed(std::string(100, 'a'), 5 * kGiB, std::string(100, 'z'));
    const sparse::Image image = sparse::Unframe(framed.data(), framed.size());
    ScratchFile file;
    file.assign(image);
    const std::vector<Extent> extents = ExtentsOf(image, {});
    const Snapshot before = Snapshot::Take(file, extents);
    EXPECT_TRUE(SameOutside(before, Snapshot::Take(file, extents), {}));

    WriteAt(file, 10, 'X');
    EXPECT_FALSE(SameOutside(before, Snapshot::Take(file, extents), {}));
    EXPECT_TRUE(SameOutside(before, Snapshot::Take(file, extents), {{10, 11}}));

    WriteAt(file, 3 * kGiB, 0);  // a zero, but no longer a hole
    EXPECT_FALSE(SameOutside(before, Snapshot::Take(file, extents), {{10, 11}}));
}

}  // namespace
