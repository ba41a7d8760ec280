// The peak loop's inner part. Samples go to W accumulator lanes (W a
// multiple of the channel count, so lane k always holds channel k % C): the
// loop over lanes has no dependency from one sample to the next, and the
// compiler turns it into vector min/max. Built with AVX2 and without, and
// chosen once by what the processor has.
#include "wave/PeakFold.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace wave {

namespace {

static_assert(std::endian::native == std::endian::little, "samples are read in the file's byte order");

// Samples per pass through the lanes: small enough to stay in the first
// level cache once decoded.
constexpr std::size_t kPass = 3072;

template <typename T>
[[gnu::always_inline]] inline T Load(const std::uint8_t* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// A 24-bit sample in the top three bytes of a 32-bit one: the bytes after
// it are shifted out.
[[gnu::always_inline]] inline std::int32_t Load24(const std::uint8_t* p) {
    return static_cast<std::int32_t>(Load<std::uint32_t>(p) << 8);
}

template <typename T>
[[gnu::always_inline]] inline std::int32_t To32(T v) {
    if constexpr (std::is_same_v<T, std::uint8_t>) return (static_cast<std::int32_t>(v) - 128) * (1 << 24);
    if constexpr (std::is_same_v<T, std::int16_t>) return static_cast<std::int32_t>(v) * 65536;
    if constexpr (std::is_same_v<T, std::int32_t>) return v;
    if constexpr (std::is_floating_point_v<T>) return FloatTo32(v);
}

template <typename T, std::size_t W>
struct Lanes {
    static constexpr T kLow =
        std::numeric_limits<T>::has_infinity ? -std::numeric_limits<T>::infinity() : std::numeric_limits<T>::lowest();
    static constexpr T kHigh =
        std::numeric_limits<T>::has_infinity ? std::numeric_limits<T>::infinity() : std::numeric_limits<T>::max();
    T lo[W];
    T hi[W];

    Lanes() {
        std::fill(lo, lo + W, kHigh);
        std::fill(hi, hi + W, kLow);
    }
};

// n samples (a multiple of W), sample i read by get(i), into W lanes.
// Written as comparisons rather than std::min, so that a NaN never replaces
// a value already seen.
template <typename T, std::size_t W, class Get>
[[gnu::always_inline]] inline void FoldLanes(Get get, std::size_t n, T* lo, T* hi) {
    T l[W];
    T h[W];
    std::copy(lo, lo + W, l);
    std::copy(hi, hi + W, h);
    for (std::size_t i = 0; i < n; i += W) {
        for (std::size_t k = 0; k < W; ++k) {
            const T v = get(i + k);
            l[k] = v < l[k] ? v : l[k];
            h[k] = v > h[k] ? v : h[k];
        }
    }
    std::copy(l, l + W, lo);
    std::copy(h, h + W, hi);
}

// 24-bit samples decoded byte by byte: the form the vectoriser recognises
// as a byte shuffle.
inline void Decode24(const std::uint8_t* p, std::size_t n, std::int32_t* out) {
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint32_t v =
            (std::uint32_t{p[3 * i]} << 8) | (std::uint32_t{p[3 * i + 1]} << 16) | (std::uint32_t{p[3 * i + 2]} << 24);
        out[i] = static_cast<std::int32_t>(v);
    }
}

#if defined(__x86_64__)
// Eight packed 24-bit samples from the 24 bytes at p (two overlapping 16-byte
// loads), each put in the top three bytes of its 32-bit lane. Reads 4 bytes
// past them.
[[gnu::target("avx2")]] inline __m256i Row24(const std::uint8_t* p) {
    const __m256i order = _mm256_setr_epi8(-1, 0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1, 0, 1, 2, -1, 3, 4,
                                           5, -1, 6, 7, 8, -1, 9, 10, 11);
    const __m256i bytes =
        _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))),
                                _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 12)), 1);
    return _mm256_shuffle_epi8(bytes, order);
}

// Rows of 32 packed 24-bit samples into 32 lanes, decoded and folded in
// registers. Reads 4 bytes past the last row.
[[gnu::target("avx2")]] void FoldRows24(const std::uint8_t* p, std::size_t rows, std::int32_t* lo, std::int32_t* hi) {
    constexpr int kVectors = 4;
    __m256i l[kVectors];
    __m256i h[kVectors];
    for (int j = 0; j < kVectors; ++j) {
        l[j] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(lo + 8 * j));
        h[j] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(hi + 8 * j));
    }
    for (std::size_t r = 0; r < rows; ++r, p += 96) {
        for (int j = 0; j < kVectors; ++j) {
            const __m256i v = Row24(p + 24 * j);
            l[j] = _mm256_min_epi32(l[j], v);
            h[j] = _mm256_max_epi32(h[j], v);
        }
    }
    for (int j = 0; j < kVectors; ++j) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(lo + 8 * j), l[j]);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(hi + 8 * j), h[j]);
    }
}

template <bool kMax>
[[gnu::target("avx2")]] inline __m256i Extreme(__m256i a, __m256i b) {
    return kMax ? _mm256_max_epi32(a, b) : _mm256_min_epi32(a, b);
}

// Eight lanes (lane k holding channel k % C) folded into lanes 0 to C - 1.
template <unsigned C, bool kMax>
[[gnu::target("avx2")]] inline __m256i AcrossLanes(__m256i v) {
    if constexpr (C < 8) v = Extreme<kMax>(v, _mm256_permute2x128_si256(v, v, 1));
    if constexpr (C < 4) v = Extreme<kMax>(v, _mm256_shuffle_epi32(v, _MM_SHUFFLE(1, 0, 3, 2)));
    if constexpr (C < 2) v = Extreme<kMax>(v, _mm256_shuffle_epi32(v, _MM_SHUFFLE(2, 3, 0, 1)));
    return v;
}

// Whole buckets of packed 24-bit samples with C channels (C divides 8), each
// folded in registers from first row to last, with nothing per bucket but
// the fold of eight lanes into channels: small buckets (an hour at 256
// frames a pixel is 675,000 of them) spend no time setting up.
template <unsigned C>
[[gnu::target("avx2")]] void FoldBuckets24(const std::uint8_t* p, std::size_t buckets, std::size_t frames,
                                           std::int32_t* out) {
    const std::size_t samples = frames * C;
    const std::size_t rows = samples / 8;
    for (std::size_t b = 0; b < buckets; ++b, out += 2 * C) {
        __m256i lo = _mm256_set1_epi32(std::numeric_limits<std::int32_t>::max());
        __m256i hi = _mm256_set1_epi32(std::numeric_limits<std::int32_t>::min());
        __m256i lo2 = lo;
        __m256i hi2 = hi;
        std::size_t r = 0;
        // Two rows at a time, into two pairs, so one row need not wait for
        // the last.
        for (; r + 2 <= rows; r += 2, p += 48) {
            const __m256i v = Row24(p);
            const __m256i w = Row24(p + 24);
            lo = _mm256_min_epi32(lo, v);
            hi = _mm256_max_epi32(hi, v);
            lo2 = _mm256_min_epi32(lo2, w);
            hi2 = _mm256_max_epi32(hi2, w);
        }
        if (r < rows) {
            const __m256i v = Row24(p);
            lo = _mm256_min_epi32(lo, v);
            hi = _mm256_max_epi32(hi, v);
            p += 24;
        }
        alignas(32) std::int32_t l[8];
        alignas(32) std::int32_t h[8];
        _mm256_store_si256(reinterpret_cast<__m256i*>(l), AcrossLanes<C, false>(_mm256_min_epi32(lo, lo2)));
        _mm256_store_si256(reinterpret_cast<__m256i*>(h), AcrossLanes<C, true>(_mm256_max_epi32(hi, hi2)));
        // Whole rows hold whole frames, so the samples after them start at
        // channel 0.
        for (std::size_t k = 0; k < samples % 8; ++k, p += 3) {
            const std::int32_t v = Load24(p);
            l[k % C] = std::min(l[k % C], v);
            h[k % C] = std::max(h[k % C], v);
        }
        for (unsigned c = 0; c < C; ++c) {
            out[2 * c] = l[c];
            out[2 * c + 1] = h[c];
        }
    }
}
#endif

// All whole rows of W samples into the lanes; returns how many were folded.
// Samples of a whole byte width are read where they lie; packed 24-bit ones
// are decoded a pass at a time, or in registers where the processor can.
template <typename T, std::size_t W, bool kPacked24, bool kShuffle>
[[gnu::always_inline]] inline std::size_t FoldRows(const std::uint8_t* bytes, std::size_t samples, Lanes<T, W>& lanes) {
    const std::size_t whole = samples / W * W;
    if constexpr (!kPacked24) {
        FoldLanes<T, W>([bytes](std::size_t i) { return Load<T>(bytes + i * sizeof(T)); }, whole, lanes.lo, lanes.hi);
        return whole;
    } else {
#if defined(__x86_64__)
        if constexpr (kShuffle && W == 32) {
            FoldRows24(bytes, whole / W, lanes.lo, lanes.hi);
            return whole;
        }
#endif
        constexpr std::size_t kChunk = kPass / W * W;
        alignas(64) std::int32_t scratch[kChunk];
        for (std::size_t done = 0; done < whole; done += kChunk) {
            const std::size_t n = std::min(kChunk, whole - done);
            Decode24(bytes + done * 3, n, scratch);
            FoldLanes<T, W>([&scratch](std::size_t i) { return scratch[i]; }, n, lanes.lo, lanes.hi);
        }
        return whole;
    }
}

template <typename T, std::size_t W, bool kPacked24, bool kShuffle>
[[gnu::always_inline]] inline void FoldAll(const std::uint8_t* bytes, std::size_t samples, Lanes<T, W>& lanes) {
    constexpr std::size_t kStride = kPacked24 ? 3 : sizeof(T);
    const std::size_t done = FoldRows<T, W, kPacked24, kShuffle>(bytes, samples, lanes);
    // The samples after the last whole row of lanes: lane k of the next row.
    for (std::size_t k = 0; done + k < samples; ++k) {
        const T v =
            kPacked24 ? static_cast<T>(Load24(bytes + (done + k) * kStride)) : Load<T>(bytes + (done + k) * kStride);
        lanes.lo[k] = v < lanes.lo[k] ? v : lanes.lo[k];
        lanes.hi[k] = v > lanes.hi[k] ? v : lanes.hi[k];
    }
}

// Folds into W lanes, then the lanes into channels. With the channel count
// known when compiling (kChannels, 0 if not), the folding of lanes into
// channels is unrolled: small buckets spend most of their time there.
template <typename T, std::size_t W, unsigned kChannels, bool kPacked24, bool kShuffle>
[[gnu::always_inline]] inline void FoldInLanes(const std::uint8_t* bytes, std::size_t samples, unsigned runtimeChannels,
                                               std::int32_t* lo, std::int32_t* hi) {
    const std::size_t channels = kChannels != 0 ? kChannels : runtimeChannels;
    Lanes<T, W> lanes;
    FoldAll<T, W, kPacked24, kShuffle>(bytes, samples, lanes);
    // Halves the lanes while each half still holds whole rows of channels,
    // so few are left to fold one by one.
    std::size_t w = W;
    while (w % 2 == 0 && (w / 2) % channels == 0) {
        w /= 2;
        for (std::size_t k = 0; k < w; ++k) {
            lanes.lo[k] = lanes.lo[k + w] < lanes.lo[k] ? lanes.lo[k + w] : lanes.lo[k];
            lanes.hi[k] = lanes.hi[k + w] > lanes.hi[k] ? lanes.hi[k + w] : lanes.hi[k];
        }
    }
    for (std::size_t k = 0; k < w; ++k) {
        // A lane no sample reached keeps its start values, which fold to nothing.
        if (lanes.lo[k] > lanes.hi[k]) continue;
        const std::size_t c = k % channels;
        lo[c] = std::min(lo[c], To32(lanes.lo[k]));
        hi[c] = std::max(hi[c], To32(lanes.hi[k]));
    }
}

template <bool kShuffle, typename T, bool kPacked24 = false>
[[gnu::always_inline]] inline void FoldTyped(const std::uint8_t* bytes, std::size_t frames, unsigned channels,
                                             std::int32_t* lo, std::int32_t* hi) {
    const std::size_t samples = frames * channels;
    // Channel counts that divide neither 32 nor 48 are folded one sample at
    // a time.
    if (channels == 1) return FoldInLanes<T, 32, 1, kPacked24, kShuffle>(bytes, samples, channels, lo, hi);
    if (channels == 2) return FoldInLanes<T, 32, 2, kPacked24, kShuffle>(bytes, samples, channels, lo, hi);
    if (32 % channels == 0) return FoldInLanes<T, 32, 0, kPacked24, kShuffle>(bytes, samples, channels, lo, hi);
    if (48 % channels == 0) return FoldInLanes<T, 48, 0, kPacked24, kShuffle>(bytes, samples, channels, lo, hi);
    constexpr std::size_t kStride = kPacked24 ? 3 : sizeof(T);
    for (std::size_t i = 0; i < samples; ++i) {
        const T v = kPacked24 ? static_cast<T>(Load24(bytes + i * kStride)) : Load<T>(bytes + i * kStride);
        // As in the lanes, a NaN is passed over.
        if (v != v) continue;
        const std::size_t c = i % channels;
        lo[c] = std::min(lo[c], To32(v));
        hi[c] = std::max(hi[c], To32(v));
    }
}

template <bool kShuffle>
[[gnu::always_inline]] inline void FoldAny(SampleFormat format, const std::uint8_t* bytes, std::size_t frames,
                                           unsigned channels, std::int32_t* lo, std::int32_t* hi) {
    switch (format) {
        case SampleFormat::Unsigned8: return FoldTyped<kShuffle, std::uint8_t>(bytes, frames, channels, lo, hi);
        case SampleFormat::Int16: return FoldTyped<kShuffle, std::int16_t>(bytes, frames, channels, lo, hi);
        case SampleFormat::Int24: return FoldTyped<kShuffle, std::int32_t, true>(bytes, frames, channels, lo, hi);
        case SampleFormat::Int32: return FoldTyped<kShuffle, std::int32_t>(bytes, frames, channels, lo, hi);
        case SampleFormat::Float32: return FoldTyped<kShuffle, float>(bytes, frames, channels, lo, hi);
        case SampleFormat::Float64: return FoldTyped<kShuffle, double>(bytes, frames, channels, lo, hi);
    }
}

void FoldBase(SampleFormat format, const std::uint8_t* bytes, std::size_t frames, unsigned channels, std::int32_t* lo,
              std::int32_t* hi) {
    FoldAny<false>(format, bytes, frames, channels, lo, hi);
}

#if defined(__x86_64__)
[[gnu::target("avx2")]] void FoldAvx2(SampleFormat format, const std::uint8_t* bytes, std::size_t frames,
                                      unsigned channels, std::int32_t* lo, std::int32_t* hi) {
    FoldAny<true>(format, bytes, frames, channels, lo, hi);
}
#endif

using FoldFunction = void (*)(SampleFormat, const std::uint8_t*, std::size_t, unsigned, std::int32_t*, std::int32_t*);

FoldFunction ChooseFold() {
#if defined(__x86_64__)
    if (__builtin_cpu_supports("avx2")) return FoldAvx2;
#endif
    return FoldBase;
}

}  // namespace

void FoldFrames(SampleFormat format, const std::uint8_t* bytes, std::size_t frames, unsigned channels, std::int32_t* lo,
                std::int32_t* hi) {
    static const FoldFunction fold = ChooseFold();
    fold(format, bytes, frames, channels, lo, hi);
}

void FoldBuckets(SampleFormat format, const std::uint8_t* bytes, std::size_t buckets, std::size_t framesPerBucket,
                 unsigned channels, std::int32_t* out) {
#if defined(__x86_64__)
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2 && format == SampleFormat::Int24) {
        switch (channels) {
            case 1: return FoldBuckets24<1>(bytes, buckets, framesPerBucket, out);
            case 2: return FoldBuckets24<2>(bytes, buckets, framesPerBucket, out);
            case 4: return FoldBuckets24<4>(bytes, buckets, framesPerBucket, out);
            case 8: return FoldBuckets24<8>(bytes, buckets, framesPerBucket, out);
            default: break;
        }
    }
#endif
    const std::size_t frameBytes = BytesPerSample(format) * channels;
    std::int32_t lo[kMaxPeakChannels];
    std::int32_t hi[kMaxPeakChannels];
    for (std::size_t b = 0; b < buckets; ++b, bytes += framesPerBucket * frameBytes, out += 2 * channels) {
        std::fill(lo, lo + channels, std::numeric_limits<std::int32_t>::max());
        std::fill(hi, hi + channels, std::numeric_limits<std::int32_t>::min());
        FoldFrames(format, bytes, framesPerBucket, channels, lo, hi);
        for (unsigned c = 0; c < channels; ++c) {
            out[2 * c] = lo[c];
            out[2 * c + 1] = hi[c];
        }
    }
}

}  // namespace wave
