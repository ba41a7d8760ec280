// `peaks` on the command line: where its output goes, what it refuses, and
// that a refusal leaves every file as it was.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tests/cli/CliRunner.h"
#include "tests/support/WaveBuilder.h"

namespace {

using fixture::ByteVector;

// Two 16-bit mono frames: -2 and 3.
ByteVector TwoFrames() { return {0xFE, 0xFF, 0x03, 0x00}; }

ByteVector Mono16(const ByteVector& data) {
    return fixture::WaveBuilder().chunk("fmt ", fixture::FormatBlock(1, 1, 8000, 16)).chunk("data", data).bytes();
}

TEST(Peaks, JsonGoesToStandardOutputByDefault) {
    fixture::TempDir dir;
    const CliRun run = RunCli({"peaks", dir.write("a.wav", Mono16(TwoFrames())).string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "{\"version\":2,\"channels\":1,\"sample_rate\":8000,\"samples_per_pixel\":256,\"bits\":16,"
              "\"length\":1,\"data\":[-2,3]}\n");
}

TEST(Peaks, RefusalsLeaveTheInputAndAnyEarlierOutputAsTheyWere) {
    fixture::TempDir dir;
    const ByteVector wave = Mono16(TwoFrames());
    const auto input = dir.write("a.wav", wave);
    const auto earlier = dir.write("old.json", {'{', '}'});

    // The output named as the input (also through another name) would destroy it.
    std::filesystem::create_hard_link(input, dir.file("a.dat"));
    CliRun run = RunCli({"peaks", "--output", dir.file("a.dat").string(), input.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("would replace the file it is made from"), std::string::npos) << run.err;
    EXPECT_EQ(fixture::ReadFile(input), wave);

    // No audio to read: the earlier output stays.
    const auto mpeg = dir.write("m.wav", fixture::WaveBuilder()
                                             .chunk("fmt ", fixture::FormatBlock(0x50, 2, 48000, 0))
                                             .chunk("data", ByteVector(64, 0x11))
                                             .bytes());
    run = RunCli({"peaks", "--output", earlier.string(), mpeg.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("m.wav: "), std::string::npos) << run.err;
    EXPECT_EQ(fixture::ReadFile(earlier), (ByteVector{'{', '}'}));

    run = RunCli({"peaks", "--pixels-per-second", "8001", input.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("must not exceed the sample rate (8000)"), std::string::npos) << run.err;
    EXPECT_EQ(RunCli({"peaks", "--output", dir.file("a.png").string(), input.string()}).status, 2);
    EXPECT_EQ(RunCli({"peaks", "--bits", "24", input.string()}).status, 2);
    EXPECT_EQ(RunCli({"peaks", "--samples-per-pixel", "0", input.string()}).status, 2);
    EXPECT_EQ(RunCli({"peaks", "--samples-per-pixel", "2", "--pixels-per-second", "2", input.string()}).status, 2);
    // Only the outputs asked for were made.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 4);
}

TEST(Peaks, Rf64NeedsAnyLayoutAndACutDataChunkGivesWhatIsThere) {
    fixture::TempDir dir;
    const ByteVector data = TwoFrames();
    const auto rf64 = dir.write("r.wav", fixture::WaveBuilder()
                                             .fileId("RF64")
                                             .chunk("ds64", fixture::Ds64(0, data.size()))
                                             .chunk("fmt ", fixture::FormatBlock(1, 1, 8000, 16))
                                             .chunkDeclaring("data", 0xFFFFFFFFu, data)
                                             .bytes());
    CliRun run = RunCli({"peaks", rf64.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, RunCli({"show", rf64.string()}).err);
    run = RunCli({"peaks", "--any-layout", "--samples-per-pixel", "1", rf64.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(nlohmann::json::parse(run.out)["data"], nlohmann::json::parse("[-2,-2,3,3]"));

    ByteVector cut = fixture::WaveBuilder()
                         .chunk("fmt ", fixture::FormatBlock(1, 1, 8000, 16))
                         .chunkDeclaring("data", 800, data)
                         .bytes();
    cut.push_back(0x7F);  // half a frame
    run = RunCli({"peaks", "--samples-per-pixel", "1", dir.write("c.wav", cut).string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(nlohmann::json::parse(run.out)["length"], 2);
}

}  // namespace
