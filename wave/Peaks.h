#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "wave/AudioData.h"

namespace wave {

// The lowest and highest sample of each bucket of frames, per channel.
struct Peaks {
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::uint64_t framesPerBucket = 0;
    std::uint64_t frames = 0;
    // Bucket by bucket, channel by channel: min then max, as 32-bit values
    // (see FloatTo32). While computing, a bucket not yet reached holds a min
    // above its max; when done, what no sample reached holds 0, 0.
    std::vector<std::int32_t> values;

    std::uint64_t Buckets() const { return channels == 0 ? 0 : values.size() / (2u * channels); }
};

enum class PeakOutcome { Done, Cancelled, Failed };

struct PeakResult {
    PeakOutcome outcome = PeakOutcome::Failed;
    std::string error;  // why, when Failed
    Peaks peaks;
};

struct PeakOptions {
    std::uint64_t framesPerBucket = 256;
    // Threads reading and folding; the caller's thread is one of them.
    unsigned threads = 2;
    // Bytes read at a time by each thread: small enough that the fold finds
    // them still in the processor's cache after the copy from the kernel.
    std::size_t blockBytes = std::size_t{256} << 10;
    // Polled between blocks; the result is then Cancelled.
    const std::atomic<bool>* cancel = nullptr;
    // Buckets [first, first + values / (2 * channels)) changed, with their
    // values so far (final once every block they span is done). Called from
    // the reading threads, one call at a time; copy what is kept.
    std::function<void(std::uint64_t first, std::span<const std::int32_t> values)> arrived;
};

// Most values a result may hold (256 MiB): more is refused, with a
// word on choosing longer buckets.
inline constexpr std::uint64_t kMaxPeakValues = std::uint64_t{64} << 20;

// The peaks of PCM audio (see PcmSampleFormat), read from the descriptor
// with pread (the file position is left alone), in blocks; memory beyond the
// result is the threads' blocks.
PeakResult ComputePcmPeaks(int descriptor, const AudioData& audio, const PeakOptions& options);

}  // namespace wave
