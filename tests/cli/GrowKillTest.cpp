// `set --grow` killed at any moment of a rewrite: the file's name holds
// either the old bytes or the whole new file, never a mix or a file cut
// short, and what a kill leaves behind is hidden beside the file.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "tests/support/WaveBuilder.h"
#include "wave/ChunkIds.h"
#include "wave/ChunkSurvey.h"
#include "wave/WaveDocument.h"

namespace {

using fixture::ByteVector;
using Clock = std::chrono::steady_clock;

// Large enough that the copy and its sync take a while, small enough that
// twenty runs stay within seconds.
constexpr std::size_t kAudioSize = std::size_t{32} << 20;
constexpr int kRuns = 20;
const char* const kTitle = "Survived";

ByteVector LargeWave() {
    std::mt19937_64 random(7);
    ByteVector audio(kAudioSize);
    for (std::size_t i = 0; i < audio.size(); i += 8) {
        const std::uint64_t word = random();
        for (std::size_t b = 0; b < 8; ++b) audio[i + b] = static_cast<std::uint8_t>(word >> (8 * b));
    }
    return fixture::WaveBuilder().chunk("fmt ", fixture::PcmFormat()).chunk("data", audio).bytes();
}

// The whole file in one read: byte-wise stream reads of tens of MiB, twenty
// times over, would take most of the test's time.
ByteVector ReadWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    ByteVector bytes(static_cast<std::size_t>(std::max<std::streamoff>(in.tellg(), 0)));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

pid_t StartGrow(const std::filesystem::path& path) {
    std::vector<std::string> argv = {REELMARKER_CLI, "set", "--grow", "--title", kTitle, path.string()};
    std::vector<char*> pointers;
    for (std::string& arg : argv) pointers.push_back(arg.data());
    pointers.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (posix_spawn(&pid, REELMARKER_CLI, &actions, nullptr, pointers.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

int Wait(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

// The data chunk, header and all, of the file at the path.
ByteVector DataChunk(const std::filesystem::path& path, const ByteVector& bytes) {
    wave::WaveStream file;
    if (!file.Open(path.string(), wave::WaveStream::Mode::ReadOnly)) return {};
    const wave::ChunkSurvey survey = wave::SurveyChunks(file);
    const int data = survey.Find(wave::chunk_id::kData);
    if (data < 0) return {};
    const wave::SurveyedChunk& chunk = survey.chunks[static_cast<std::size_t>(data)];
    if (chunk.end > static_cast<std::int64_t>(bytes.size())) return {};
    return {bytes.begin() + chunk.entry.offset, bytes.begin() + chunk.end};
}

enum class Found { Old, New, Neither };

// What the name holds: the old bytes exactly, or a new file the project's
// own fixed-order load reads with the title, its audio untouched.
Found Examine(const std::filesystem::path& path, const ByteVector& old, const ByteVector& oldData, std::string& why) {
    const ByteVector now = ReadWhole(path);
    if (now == old) return Found::Old;
    wave::WaveDocument doc;
    const wave::LoadFailure failure = doc.OpenWave(path.string(), wave::WaveStream::Mode::ReadOnly);
    if (failure != wave::LoadFailure::None) {
        why = "neither the old file nor one that loads (" + std::to_string(now.size()) + " bytes, load failure " +
              std::to_string(static_cast<int>(failure)) + ")";
        return Found::Neither;
    }
    if (doc.Cart().Text(wave::CartField::Title) != kTitle) {
        why = "a new file whose title is \"" + doc.Cart().Text(wave::CartField::Title) + "\"";
        return Found::Neither;
    }
    if (DataChunk(path, now) != oldData) {
        why = "a new file whose data chunk differs from the old one";
        return Found::Neither;
    }
    return Found::New;
}

// Removes what a killed run left beside the file; each must be hidden.
// False, with the names, when something else is there.
bool ClearLeftovers(const std::filesystem::path& folder, const std::string& name, std::string& strays, int& count) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string found = entry.path().filename().string();
        if (found == name) continue;
        if (found.front() != '.') strays += " " + found;
        std::filesystem::remove(entry.path());
        ++count;
    }
    return strays.empty();
}

unsigned Seed() {
    if (const char* chosen = std::getenv("REELMARKER_KILL_SEED")) return static_cast<unsigned>(std::atol(chosen));
    return std::random_device{}();
}

TEST(GrowKill, AKilledRewriteLeavesTheOldFileOrTheWholeNewOne) {
    const unsigned seed = Seed();
    SCOPED_TRACE("seed " + std::to_string(seed) + " (REELMARKER_KILL_SEED repeats it)");
    std::mt19937 random(seed);

    // The file in a folder of its own inside the test's, so that anything
    // written outside that folder shows.
    fixture::TempDir dir;
    const std::filesystem::path folder = dir.file("media");
    std::filesystem::create_directory(folder);
    const std::string name = "long.wav";
    const std::filesystem::path path = folder / name;
    const ByteVector old = LargeWave();
    fixture::WriteFile(path, old);
    const ByteVector oldData = DataChunk(path, old);
    ASSERT_EQ(oldData.size(), 8 + kAudioSize);

    // One run to its end: how long a rewrite takes here, and that it does
    // produce the new file.
    const auto start = Clock::now();
    const pid_t first = StartGrow(path);
    ASSERT_GT(first, 0);
    const int status = Wait(first);
    const auto duration = Clock::now() - start;
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    std::string why;
    ASSERT_EQ(Examine(path, old, oldData, why), Found::New) << why;

    // A little past the end, so that jitter cannot keep the kills from the
    // rename and the folder's sync, the rewrite's last steps.
    std::uniform_int_distribution<long long> delay(
        0, std::chrono::duration_cast<std::chrono::microseconds>(duration).count() * 11 / 10);
    int olds = 0;
    int news = 0;
    int leftovers = 0;
    for (int run = 0; run < kRuns; ++run) {
        fixture::WriteFile(path, old);
        const std::chrono::microseconds wait(delay(random));
        const pid_t pid = StartGrow(path);
        ASSERT_GT(pid, 0);
        std::this_thread::sleep_for(wait);
        ::kill(pid, SIGKILL);
        Wait(pid);

        const std::string at =
            "run " + std::to_string(run) + ", killed after " + std::to_string(wait.count()) + " us of a " +
            std::to_string(std::chrono::duration_cast<std::chrono::microseconds>(duration).count()) + " us rewrite";
        const Found found = Examine(path, old, oldData, why);
        ASSERT_NE(found, Found::Neither) << at << ": " << why;
        (found == Found::Old ? olds : news) += 1;
        std::string strays;
        EXPECT_TRUE(ClearLeftovers(folder, name, strays, leftovers)) << at << ": not hidden:" << strays;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << at << ": written outside";
    }
    RecordProperty("old", olds);
    RecordProperty("new", news);
    RecordProperty("leftovers", leftovers);
}

}  // namespace
