// The file stream and the primitive reads on it.
#include <gtest/gtest.h>

#include "tests/support/WaveBuilder.h"
#include "wave/PrimitiveReads.h"

namespace {

using fixture::ByteVector;

struct StreamFixture : testing::Test {
    wave::WaveStream& open(const ByteVector& bytes, wave::WaveStream::Mode mode = wave::WaveStream::Mode::ReadWrite) {
        path = dir.write("s.bin", bytes).string();
        EXPECT_TRUE(stream.Open(path, mode));
        return stream;
    }
    fixture::TempDir dir;
    std::string path;
    wave::WaveStream stream;
};

TEST_F(StreamFixture, ReadsPastTheEndGiveAllBitsSet) {
    open({});
    EXPECT_EQ(wave::ReadFourCC(stream, 4), 0xFFFFFFFFu);
    EXPECT_TRUE(stream.AtEnd());

    open({'R', 'I', 'F', 'F'});
    EXPECT_EQ(wave::ReadFourCC(stream, 4), wave::FourCC("RIFF"));
    EXPECT_FALSE(stream.AtEnd());
    EXPECT_EQ(static_cast<std::int32_t>(wave::ReadLE(stream, 4)), -1);
    EXPECT_TRUE(stream.AtEnd());
}

TEST_F(StreamFixture, LittleEndianAndSkips) {
    open({0x10, 0x20, 0x30, 0x40, 1, 2, 3, 4, 5});
    EXPECT_EQ(wave::ReadLE(stream, 4), 0x40302010u);
    wave::SkipBytes(stream, 0);
    wave::SkipBytes(stream, -5);
    EXPECT_EQ(stream.Tell(), 4);
    wave::SkipBytes(stream, 2);
    EXPECT_EQ(stream.Get(), 3);
    wave::SkipBytes(stream, 100);
    EXPECT_TRUE(stream.AtEnd());
    EXPECT_EQ(stream.Get(), wave::WaveStream::kEof);
}

TEST_F(StreamFixture, BulkReadsAcrossTheBufferAndPositionsStayExact) {
    ByteVector bytes(10000);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7);
    open(bytes);
    wave::SkipBytes(stream, 4000);
    EXPECT_EQ(stream.Get(), bytes[4000]);
    ByteVector chunk(5000);
    EXPECT_EQ(stream.Read(chunk.data(), chunk.size()), 5000u);
    EXPECT_TRUE(std::equal(chunk.begin(), chunk.end(), bytes.begin() + 4001));
    EXPECT_EQ(stream.Tell(), 9001);
    EXPECT_EQ(stream.Peek(), bytes[9001]);
    EXPECT_EQ(stream.Read(chunk.data(), chunk.size()), 999u);
    EXPECT_TRUE(stream.AtEnd());
}

TEST_F(StreamFixture, WritesOverwriteInPlaceAndNeverCreateOrTruncate) {
    open(ByteVector(100, 'a'));
    ASSERT_TRUE(stream.Seek(10));
    const std::uint8_t text[] = {'x', 'y'};
    ASSERT_TRUE(stream.Write(text, 2));
    EXPECT_EQ(stream.Tell(), 12);
    ASSERT_TRUE(stream.Sync());
    EXPECT_EQ(stream.Get(), 'a');
    stream.Close();
    const ByteVector after = fixture::ReadFile(path);
    EXPECT_EQ(after.size(), 100u);
    EXPECT_EQ(after[10], 'x');
    EXPECT_EQ(after[12], 'a');

    wave::WaveStream missing;
    EXPECT_FALSE(missing.Open(dir.file("nope").string(), wave::WaveStream::Mode::ReadWrite));
    EXPECT_TRUE(missing.Failed());
    EXPECT_FALSE(std::filesystem::exists(dir.file("nope")));
}

TEST_F(StreamFixture, ReadOnlyStreamRefusesWritesAndSaysWhy) {
    open(ByteVector(10, 'a'), wave::WaveStream::Mode::ReadOnly);
    ASSERT_TRUE(stream.Seek(0));
    const std::uint8_t byte = 'z';
    EXPECT_FALSE(stream.Write(&byte, 1));
    EXPECT_EQ(stream.LastError().rfind("write: ", 0), 0u) << stream.LastError();
    EXPECT_EQ(fixture::ReadFile(path), ByteVector(10, 'a'));
}

TEST_F(StreamFixture, KnowsWhenThePathNoLongerNamesItsFile) {
    open(ByteVector(10));
    EXPECT_TRUE(stream.PathStillNamesOpenFile());
    std::filesystem::remove(path);
    EXPECT_FALSE(stream.PathStillNamesOpenFile());
    fixture::WriteFile(path, ByteVector(10));
    EXPECT_FALSE(stream.PathStillNamesOpenFile());
}

}  // namespace
