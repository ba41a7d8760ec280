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

template <typename T>
struct Lanes {
    // Channel counts that divide neither 32 nor 48 are folded one sample
    // at a time.
    static constexpr std::size_t kMax = 48;
    static constexpr T kLow =
        std::numeric_limits<T>::has_infinity ? -std::numeric_limits<T>::infinity() : std::numeric_limits<T>::lowest();
    static constexpr T kHigh =
        std::numeric_limits<T>::has_infinity ? std::numeric_limits<T>::infinity() : std::numeric_limits<T>::max();
    T lo[kMax];
    T hi[kMax];

    Lanes() {
        std::fill(lo, lo + kMax, kHigh);
        std::fill(hi, hi + kMax, kLow);
    }
};

// n samples (a multiple of W) into W lanes. Written as comparisons rather
// than std::min, so that a NaN never replaces a value already seen.
template <typename T, std::size_t W>
[[gnu::always_inline]] inline void FoldLanes(const T* s, std::size_t n, T* lo, T* hi) {
    T l[W];
    T h[W];
    std::copy(lo, lo + W, l);
    std::copy(hi, hi + W, h);
    for (std::size_t i = 0; i < n; i += W) {
        for (std::size_t k = 0; k < W; ++k) {
            const T v = s[i + k];
            l[k] = v < l[k] ? v : l[k];
            h[k] = v > h[k] ? v : h[k];
        }
    }
    std::copy(l, l + W, lo);
    std::copy(h, h + W, hi);
}

// Samples of type T from the file bytes, decoded into `out`.
template <typename T>
[[gnu::always_inline]] inline void Decode(const std::uint8_t* p, std::size_t n, T* out) {
    for (std::size_t i = 0; i < n; ++i) out[i] = Load<T>(p + i * sizeof(T));
}

#if defined(__x86_64__)
// Four samples from each 16 bytes (12 used), each put in the top three
// bytes of its 32-bit lane, the low byte zero. Reads 4 bytes past the last
// sample. Returns how many samples it decoded. Called once a pass, so it
// need not be inlined.
[[gnu::target("avx2")]] std::size_t Shuffle24(const std::uint8_t* p, std::size_t n, std::int32_t* out) {
    const __m128i order = _mm_setr_epi8(-1, 0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11);
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 3 * i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_shuffle_epi8(bytes, order));
    }
    return i;
}
#endif

template <bool kShuffle>
[[gnu::always_inline]] inline void Decode24(const std::uint8_t* p, std::size_t n, std::int32_t* out) {
    std::size_t i = 0;
#if defined(__x86_64__)
    if constexpr (kShuffle) i = Shuffle24(p, n, out);
#endif
    // Byte by byte: the form the vectoriser recognises as a byte shuffle.
    for (; i < n; ++i) {
        const std::uint32_t v =
            (std::uint32_t{p[3 * i]} << 8) | (std::uint32_t{p[3 * i + 1]} << 16) | (std::uint32_t{p[3 * i + 2]} << 24);
        out[i] = static_cast<std::int32_t>(v);
    }
}

template <typename T, std::size_t W, bool kPacked24, bool kShuffle>
[[gnu::always_inline]] inline void FoldAll(const std::uint8_t* bytes, std::size_t samples, Lanes<T>& lanes) {
    constexpr std::size_t kStride = kPacked24 ? 3 : sizeof(T);
    constexpr std::size_t kChunk = kPass / W * W;
    alignas(64) T scratch[kChunk];
    std::size_t done = 0;
    for (; done + W <= samples; done += kChunk) {
        const std::size_t n = std::min(kChunk, (samples - done) / W * W);
        if constexpr (kPacked24)
            Decode24<kShuffle>(bytes + done * kStride, n, scratch);
        else
            Decode(bytes + done * kStride, n, scratch);
        FoldLanes<T, W>(scratch, n, lanes.lo, lanes.hi);
        if (n < kChunk) {
            done += n;
            break;
        }
    }
    // The samples after the last whole row of lanes: lane k of the next row.
    for (std::size_t k = 0; done + k < samples; ++k) {
        const T v =
            kPacked24 ? static_cast<T>(Load24(bytes + (done + k) * kStride)) : Load<T>(bytes + (done + k) * kStride);
        lanes.lo[k] = v < lanes.lo[k] ? v : lanes.lo[k];
        lanes.hi[k] = v > lanes.hi[k] ? v : lanes.hi[k];
    }
}

template <bool kShuffle, typename T, bool kPacked24 = false>
[[gnu::always_inline]] inline void FoldTyped(const std::uint8_t* bytes, std::size_t frames, unsigned channels,
                                             std::int32_t* lo, std::int32_t* hi) {
    const std::size_t samples = frames * channels;
    if (32 % channels == 0 || 48 % channels == 0) {
        const std::size_t width = 32 % channels == 0 ? 32 : 48;
        Lanes<T> lanes;
        if (width == 32)
            FoldAll<T, 32, kPacked24, kShuffle>(bytes, samples, lanes);
        else
            FoldAll<T, 48, kPacked24, kShuffle>(bytes, samples, lanes);
        // Halves the lanes while each half still holds whole rows of
        // channels, so few are left to fold one by one.
        std::size_t w = width;
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
        return;
    }
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

}  // namespace wave
