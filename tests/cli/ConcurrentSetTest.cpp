// Two `set` runs on one file at once: each either writes its field or is
// refused and says so; neither undoes the other's field while reporting success.
#include <gtest/gtest.h>

#include <future>

#include "CliRunner.h"
#include "FieldCodecs.h"
#include "WaveBuilder.h"

namespace {

constexpr std::size_t kCartData = 12 + 8 + 16 + 8 + 631 + 8;  // the typical wave's cart data
constexpr int kRounds = 40;

TEST(ConcurrentSet, OverlappingRunsNeverUndoEachOther) {
    fixture::TempDir dir;
    for (int round = 0; round < kRounds; ++round) {
        const std::string path = dir.write("a.wav", fixture::TypicalWave()).string();
        const std::string title = "Title " + std::to_string(round);
        const std::string artist = "Artist " + std::to_string(round);
        auto titleRun = std::async(std::launch::async, [&] { return RunCli({"set", "--title", title, path}); });
        auto artistRun = std::async(std::launch::async, [&] { return RunCli({"set", "--artist", artist, path}); });
        const CliRun runs[] = {titleRun.get(), artistRun.get()};
        const fixture::ByteVector file = fixture::ReadFile(path);
        const fixture::ByteVector cart(file.begin() + kCartData, file.end());
        const std::string written[] = {wave::ReadTextField(cart, wave::cart::kTitle),
                                       wave::ReadTextField(cart, wave::cart::kArtist)};
        const std::string wanted[] = {title, artist};
        for (int i = 0; i < 2; ++i) {
            if (runs[i].status == 0) {
                EXPECT_EQ(written[i], wanted[i]) << "round " << round << ": reported saved, yet undone";
            } else {
                EXPECT_EQ(runs[i].status, 1);
                EXPECT_NE(runs[i].err.find("The file was changed by another program since it was loaded."),
                          std::string::npos)
                    << runs[i].err;
            }
        }
        EXPECT_TRUE(runs[0].status == 0 || runs[1].status == 0) << "round " << round;
    }
}

}  // namespace
