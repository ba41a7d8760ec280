// Two `set` runs on the same files at once: on each file each run either
// writes its field or is refused and says so; neither undoes the other's
// field while reporting success.
#include <gtest/gtest.h>

#include <future>

#include "tests/cli/CliRunner.h"
#include "tests/support/WaveBuilder.h"
#include "wave/FieldCodecs.h"

namespace {

constexpr std::size_t kCartData = 12 + 8 + 16 + 8 + 631 + 8;  // the typical wave's cart data
constexpr const char* kChanged = "The file was changed by another program since it was loaded.";
// Both runs walk the files in the same order, so they meet on many of them.
// A saver without the check and the lock lost a field in seven of eight
// runs of half as many rounds.
constexpr int kRounds = 40;
constexpr int kFiles = 50;

struct FieldRun {
    std::string option;
    std::string value;
    wave::Field field;
};

// What happened to one run's field in one file.
void ExpectWrittenOrRefused(const FieldRun& run, const CliRun& result, const std::string& path) {
    const fixture::ByteVector file = fixture::ReadFile(path);
    const std::string written =
        wave::ReadTextField(fixture::ByteVector(file.begin() + kCartData, file.end()), run.field);
    const bool refused = result.err.find(path + ": " + kChanged) != std::string::npos;
    if (!refused) {
        EXPECT_EQ(written, run.value) << path << ": " << run.option << " not refused, yet undone\n" << result.err;
    }
}

TEST(ConcurrentSet, OverlappingRunsNeverUndoEachOther) {
    fixture::TempDir dir;
    for (int round = 0; round < kRounds; ++round) {
        std::vector<std::string> paths;
        for (int i = 0; i < kFiles; ++i)
            paths.push_back(dir.write(std::to_string(i) + ".wav", fixture::TypicalWave()).string());
        const FieldRun runs[] = {{"--title", "Title " + std::to_string(round), wave::cart::kTitle},
                                 {"--artist", "Artist " + std::to_string(round), wave::cart::kArtist}};
        std::future<CliRun> started[2];
        for (int r = 0; r < 2; ++r) {
            std::vector<std::string> args = {"set", runs[r].option, runs[r].value};
            args.insert(args.end(), paths.begin(), paths.end());
            started[r] = std::async(std::launch::async, [args] { return RunCli(args); });
        }
        const CliRun results[] = {started[0].get(), started[1].get()};
        for (const std::string& path : paths) {
            for (int r = 0; r < 2; ++r) ExpectWrittenOrRefused(runs[r], results[r], path);
        }
    }
}

}  // namespace
