// `--any-layout` on show and set: the choice of walk, and the byte-stable
// output without it.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/cli/CliRunner.h"
#include "tests/support/WaveBuilder.h"

namespace {

using fixture::ByteVector;
using fixture::WaveBuilder;

// As field recorders write it: JUNK, bext and cart before "fmt ".
ByteVector MetadataFirst() {
    return WaveBuilder()
        .chunk("JUNK", ByteVector(28, 0))
        .chunk("bext", fixture::TypicalBext())
        .chunk("cart", fixture::TypicalCart())
        .chunk("fmt ", fixture::PcmFormat())
        .chunk("data", ByteVector(64, 0x11))
        .bytes();
}

TEST(AnyLayout, ShowFindsWhatTheFixedWalkRefusesAndSaysWhichWalkItUsed) {
    fixture::TempDir dir;
    const auto path = dir.write("a.wav", MetadataFirst()).string();

    const CliRun fixed = RunCli({"show", "--json", path});
    EXPECT_EQ(fixed.status, 1);
    EXPECT_EQ(fixed.out.find("\"layout\""), std::string::npos);
    EXPECT_NE(fixed.err.find("Wave header not found."), std::string::npos);

    const CliRun any = RunCli({"show", "--json", "--any-layout", path});
    EXPECT_EQ(any.status, 0) << any.err;
    EXPECT_NE(any.out.find("\"title\":\"Morning Jingle\""), std::string::npos) << any.out;
    EXPECT_TRUE(any.out.ends_with("},\"layout\":\"any\"}\n")) << any.out;
}

TEST(AnyLayout, SetWritesOnlyTheNamedFieldWhereverTheChunkIs) {
    fixture::TempDir dir;
    const ByteVector before = MetadataFirst();
    const auto path = dir.write("a.wav", before);

    EXPECT_EQ(RunCli({"set", "--title", "X", path.string()}).status, 1);
    EXPECT_EQ(fixture::ReadFile(path), before);

    const CliRun run = RunCli({"set", "--any-layout", "--title", "X", path.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    const ByteVector after = fixture::ReadFile(path);
    ASSERT_EQ(after.size(), before.size());
    const auto cartData =
        static_cast<std::size_t>(std::search(before.begin(), before.end(), std::begin("cart"), std::end("cart") - 1) -
                                 before.begin()) +
        8;
    for (std::size_t i = 0; i < before.size(); ++i) {
        const bool inTitle = i >= cartData + wave::cart::kTitle.offset &&
                             i < cartData + wave::cart::kTitle.offset + wave::cart::kTitle.width;
        if (!inTitle) {
            ASSERT_EQ(after[i], before[i]) << "byte " << i;
        }
    }
    EXPECT_EQ(after[cartData + wave::cart::kTitle.offset], 'X');
}

}  // namespace
