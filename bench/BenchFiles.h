#pragma once

// Files and measurements shared by the benchmarks.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace bench {

inline constexpr std::int64_t kKiB = 1024;
inline constexpr std::int64_t kMiB = 1024 * kKiB;
inline constexpr std::int64_t kGiB = 1024 * kMiB;

// The I/O the kernel counted for this process: bytes passed through read
// and write calls of any kind, whatever the cache did with them, and the
// number of write calls.
struct IoCounters {
    std::uint64_t rchar = 0;
    std::uint64_t wchar = 0;
    std::uint64_t syscw = 0;
};

// Counts the bytes read and written between construction and delta(). The
// reading of /proc/self/io is itself a read, so its own bytes are taken off.
class IoMeter {
public:
    IoMeter();
    IoCounters delta() const;

private:
    IoCounters start_;
    std::uint64_t ownBytes_ = 0;
};

// A wave file of exactly `size` bytes: "fmt ", bext, cart, then a data
// chunk over the rest, left as a hole so that the disk holds only the
// first few kilobytes. Made once per name and size; removed by ReleaseFiles.
const std::filesystem::path& SparseWave(const std::string& name, std::int64_t size);

// A wave file whose bext chunk declares a coding history of `historySize`
// bytes (a hole on disk) before its cart and a short data chunk.
const std::filesystem::path& HugeBextWave(std::int64_t historySize);

// An RF64 file of exactly `size` bytes as recorders write it past 4 GiB:
// ds64, "fmt ", bext, a data chunk whose size is only in ds64, left as a
// hole, then the cart chunk after the audio. Made once per name and size.
const std::filesystem::path& SparseRf64CartAfterAudio(const std::string& name, std::int64_t size);

// kSmallFileCount short tones written by libsndfile with bext and cart,
// each with its own title.
inline constexpr int kSmallFileCount = 1000;
const std::vector<std::string>& SmallFiles();

// The directory of the running benchmark executable.
std::filesystem::path ExecutableDir();

// Removes every file made above.
void ReleaseFiles();

// "6144 B", "2048 MiB": for labels, where counters would round.
std::string Bytes(std::int64_t n);

}  // namespace bench
