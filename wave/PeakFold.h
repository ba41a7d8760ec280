#pragma once

#include <cstddef>
#include <cstdint>

#include "wave/SampleFormat.h"

namespace wave {

// The largest channel count the peak loop folds; WAVE allows 65535, but a
// bucket's accumulators sit on the stack.
inline constexpr unsigned kMaxPeakChannels = 1024;

// Folds `frames` whole interleaved frames at `bytes` into the lowest and
// highest value per channel (lo[c], hi[c], c < channels <= kMaxPeakChannels),
// as 32-bit values (see FloatTo32). The buffer must hold 4 bytes past the
// last frame: 24-bit samples are loaded 4 bytes at a time.
void FoldFrames(SampleFormat format, const std::uint8_t* bytes, std::size_t frames, unsigned channels, std::int32_t* lo,
                std::int32_t* hi);

// Folds `buckets` whole consecutive buckets of `framesPerBucket` frames
// into out: for each bucket and channel, the lowest value then the highest
// (a channel no sample reached gives a lowest above its highest). As for
// FoldFrames, the buffer must hold 4 bytes past the last frame.
void FoldBuckets(SampleFormat format, const std::uint8_t* bytes, std::size_t buckets, std::size_t framesPerBucket,
                 unsigned channels, std::int32_t* out);

}  // namespace wave
