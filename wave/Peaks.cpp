// Threads take blocks in file order from a shared counter, so reading stays
// nearly sequential and each finished block can be shown at once. A bucket
// wholly inside a block is written by that block's thread alone; a bucket
// split between blocks is merged under the lock. Buckets start empty
// (min above max), so parts merge in any order.
#include "wave/Peaks.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <mutex>
#include <thread>

#include "wave/HugePages.h"
#include "wave/PeakFold.h"
#include "wave/SampleFormat.h"

namespace wave {

namespace {

// Room after a block for the 4-byte loads of 24-bit samples.
constexpr std::size_t kSlack = 8;

class PeakRun {
public:
    PeakRun(int descriptor, const AudioData& audio, SampleFormat format, const PeakOptions& options, Peaks& peaks)
        : descriptor_(descriptor),
          audio_(audio),
          format_(format),
          options_(options),
          peaks_(peaks),
          blockFrames_(std::max<std::uint64_t>(1, options.blockBytes / audio.format.blockAlign)),
          blocks_((peaks.frames + blockFrames_ - 1) / blockFrames_) {}

    void Work() {
        std::vector<std::uint8_t> buffer(static_cast<std::size_t>(blockFrames_) * audio_.format.blockAlign + kSlack);
        for (;;) {
            if (options_.cancel && options_.cancel->load(std::memory_order_relaxed)) {
                cancelled_ = true;
                return;
            }
            const std::uint64_t block = next_.fetch_add(1);
            if (block >= blocks_ || failed_) return;
            if (!Fold(block, buffer)) return;
        }
    }

    bool Cancelled() const { return cancelled_; }
    const std::string& Error() const { return error_; }

private:
    bool Fold(std::uint64_t block, std::vector<std::uint8_t>& buffer) {
        const std::uint64_t first = block * blockFrames_;
        const std::uint64_t end = std::min(first + blockFrames_, peaks_.frames);
        const std::size_t bytes = static_cast<std::size_t>(end - first) * audio_.format.blockAlign;
        if (!ReadAt(audio_.dataPos + static_cast<std::int64_t>(first * audio_.format.blockAlign), buffer.data(), bytes))
            return false;
        const unsigned channels = peaks_.channels;
        const std::uint64_t n = options_.framesPerBucket;
        std::int32_t lo[kMaxPeakChannels];
        std::int32_t hi[kMaxPeakChannels];
        for (std::uint64_t frame = first; frame < end;) {
            const std::uint64_t bucket = frame / n;
            const std::uint8_t* at = buffer.data() + (frame - first) * audio_.format.blockAlign;
            // Buckets of n frames wholly inside the block belong to this
            // thread alone: folded as one run, straight into the result.
            const std::uint64_t run = frame == bucket * n ? (end - frame) / n : 0;
            if (run > 0) {
                FoldBuckets(format_, at, static_cast<std::size_t>(run), static_cast<std::size_t>(n), channels,
                            peaks_.values.data() + bucket * 2 * channels);
                frame += run * n;
                continue;
            }
            const std::uint64_t stop = std::min(end, (bucket + 1) * n);
            std::fill(lo, lo + channels, std::numeric_limits<std::int32_t>::max());
            std::fill(hi, hi + channels, std::numeric_limits<std::int32_t>::min());
            FoldFrames(format_, at, static_cast<std::size_t>(stop - frame), channels, lo, hi);
            const bool whole = frame == bucket * n && stop == std::min((bucket + 1) * n, peaks_.frames);
            if (whole) {
                Store(bucket, lo, hi);
            } else {
                const std::lock_guard lock(mutex_);
                Store(bucket, lo, hi);
            }
            frame = stop;
        }
        const std::lock_guard lock(mutex_);
        if (options_.arrived) {
            const std::uint64_t from = first / n;
            const std::uint64_t to = (end - 1) / n + 1;
            options_.arrived(from, std::span(peaks_.values)
                                       .subspan(static_cast<std::size_t>(from * 2 * channels),
                                                static_cast<std::size_t>((to - from) * 2 * channels)));
        }
        return true;
    }

    void Store(std::uint64_t bucket, const std::int32_t* lo, const std::int32_t* hi) {
        std::int32_t* out = peaks_.values.data() + bucket * 2 * peaks_.channels;
        for (unsigned c = 0; c < peaks_.channels; ++c) {
            out[2 * c] = std::min(out[2 * c], lo[c]);
            out[2 * c + 1] = std::max(out[2 * c + 1], hi[c]);
        }
    }

    bool ReadAt(std::int64_t position, std::uint8_t* out, std::size_t n) {
        while (n > 0) {
            const ssize_t got = ::pread(descriptor_, out, n, position);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) {
                Fail(got == 0 ? std::string("the file got shorter while it was read") : std::strerror(errno));
                return false;
            }
            out += got;
            n -= static_cast<std::size_t>(got);
            position += got;
        }
        return true;
    }

    void Fail(std::string why) {
        const std::lock_guard lock(mutex_);
        if (!failed_) error_ = std::move(why);
        failed_ = true;
    }

    const int descriptor_;
    const AudioData& audio_;
    const SampleFormat format_;
    const PeakOptions& options_;
    Peaks& peaks_;
    const std::uint64_t blockFrames_;
    const std::uint64_t blocks_;
    std::atomic<std::uint64_t> next_{0};
    std::atomic<bool> failed_{false};
    std::atomic<bool> cancelled_{false};
    std::mutex mutex_;
    std::string error_;
};

PeakResult Failure(std::string why) {
    PeakResult result;
    result.error = std::move(why);
    return result;
}

}  // namespace

PeakResult ComputePcmPeaks(int descriptor, const AudioData& audio, const PeakOptions& options) {
    const auto format = PcmSampleFormat(audio);
    if (!format) return Failure("its audio is not PCM the peak loop reads (integer or float samples)");
    if (audio.format.channels > kMaxPeakChannels)
        return Failure("it has more than " + std::to_string(kMaxPeakChannels) + " channels");
    if (options.framesPerBucket == 0) return Failure("a bucket must hold at least one frame");
    PeakResult result;
    Peaks& peaks = result.peaks;
    peaks.channels = audio.format.channels;
    peaks.sampleRate = audio.format.samplesPerSec;
    peaks.framesPerBucket = options.framesPerBucket;
    peaks.frames = audio.Frames();
    const std::uint64_t buckets = (peaks.frames + options.framesPerBucket - 1) / options.framesPerBucket;
    if (buckets > kMaxPeakValues / (2u * peaks.channels))
        return Failure("it would give more than " + std::to_string(kMaxPeakValues) +
                       " peak values; choose more samples per bucket");
    const auto count = static_cast<std::size_t>(buckets * 2 * peaks.channels);
    ReserveHuge(peaks.values, count);
    peaks.values.resize(count);
    for (std::size_t k = 0; k < count; k += 2) {
        peaks.values[k] = std::numeric_limits<std::int32_t>::max();
        peaks.values[k + 1] = std::numeric_limits<std::int32_t>::min();
    }

    PeakRun run(descriptor, audio, *format, options, peaks);
    std::vector<std::thread> helpers;
    for (unsigned k = 1; k < std::max(1u, options.threads); ++k) helpers.emplace_back([&run] { run.Work(); });
    run.Work();
    for (std::thread& helper : helpers) helper.join();

    if (!run.Error().empty()) {
        result.outcome = PeakOutcome::Failed;
        result.error = run.Error();
    } else {
        result.outcome = run.Cancelled() ? PeakOutcome::Cancelled : PeakOutcome::Done;
    }
    // What no sample reached (an all-NaN channel, or a bucket a cancel left
    // out) shows silence.
    for (std::size_t k = 0; k < peaks.values.size(); k += 2) {
        if (peaks.values[k] > peaks.values[k + 1]) peaks.values[k] = peaks.values[k + 1] = 0;
    }
    return result;
}

}  // namespace wave
