// The peak loop against a plain decode of the same bytes, for every sample
// coding, channel counts on and off the vector lanes, odd lengths, buckets
// split between blocks and data chunks cut short.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "tests/support/WaveBuilder.h"
#include "wave/AudioData.h"
#include "wave/Peaks.h"
#include "wave/SampleFormat.h"

namespace {

using fixture::ByteVector;
using wave::SampleFormat;

struct Coding {
    SampleFormat format;
    std::uint16_t tag;
    std::uint16_t bits;
};

constexpr Coding kCodings[] = {{SampleFormat::Unsigned8, 1, 8}, {SampleFormat::Int16, 1, 16},
                               {SampleFormat::Int24, 1, 24},    {SampleFormat::Int32, 1, 32},
                               {SampleFormat::Float32, 3, 32},  {SampleFormat::Float64, 3, 64}};

// One sample as its coding defines it, one byte at a time.
std::int32_t Decoded(SampleFormat format, const std::uint8_t* p) {
    std::uint64_t raw = 0;
    for (int k = wave::BytesPerSample(format) - 1; k >= 0; --k) raw = (raw << 8) | p[k];
    switch (format) {
        case SampleFormat::Unsigned8: return (static_cast<std::int32_t>(raw) - 128) * (1 << 24);
        case SampleFormat::Int16: return static_cast<std::int16_t>(raw) * 65536;
        case SampleFormat::Int24: return static_cast<std::int32_t>(static_cast<std::uint32_t>(raw) << 8);
        case SampleFormat::Int32: return static_cast<std::int32_t>(raw);
        case SampleFormat::Float32: {
            float v;
            const auto bits = static_cast<std::uint32_t>(raw);
            std::memcpy(&v, &bits, 4);
            return wave::FloatTo32(v);
        }
        case SampleFormat::Float64: {
            double v;
            std::memcpy(&v, &raw, 8);
            return wave::FloatTo32(v);
        }
    }
    return 0;
}

ByteVector Samples(const Coding& coding, std::size_t count, std::mt19937& random) {
    ByteVector bytes;
    std::uniform_real_distribution<double> level(-1.2, 1.2);
    for (std::size_t i = 0; i < count; ++i) {
        if (coding.format == SampleFormat::Float32) {
            const float v = static_cast<float>(level(random));
            std::uint32_t bits;
            std::memcpy(&bits, &v, 4);
            fixture::PutLE(bytes, bits, 4);
        } else if (coding.format == SampleFormat::Float64) {
            const double v = level(random);
            std::uint64_t bits;
            std::memcpy(&bits, &v, 8);
            fixture::PutLE(bytes, static_cast<std::uint32_t>(bits), 4);
            fixture::PutLE(bytes, static_cast<std::uint32_t>(bits >> 32), 4);
        } else {
            for (int k = 0; k < coding.bits / 8; ++k) bytes.push_back(static_cast<std::uint8_t>(random()));
        }
    }
    return bytes;
}

// Min and max per bucket and channel, one sample at a time.
std::vector<std::int32_t> Expected(const Coding& coding, const ByteVector& data, unsigned channels,
                                   std::uint64_t perBucket) {
    const std::size_t width = wave::BytesPerSample(coding.format);
    const std::size_t frames = data.size() / (width * channels);
    std::vector<std::int32_t> out;
    for (std::size_t first = 0; first < frames; first += perBucket) {
        for (unsigned c = 0; c < channels; ++c) {
            std::int32_t lo = std::numeric_limits<std::int32_t>::max();
            std::int32_t hi = std::numeric_limits<std::int32_t>::min();
            for (std::size_t f = first; f < std::min<std::size_t>(frames, first + perBucket); ++f) {
                const std::int32_t v = Decoded(coding.format, &data[(f * channels + c) * width]);
                lo = std::min(lo, v);
                hi = std::max(hi, v);
            }
            out.push_back(lo);
            out.push_back(hi);
        }
    }
    return out;
}

struct Opened {
    fixture::TempDir dir;
    wave::WaveStream stream;
    wave::AudioData audio;
};

std::unique_ptr<Opened> Open(const ByteVector& file) {
    auto opened = std::make_unique<Opened>();
    const auto path = opened->dir.write("a.wav", file);
    EXPECT_TRUE(opened->stream.Open(path.string(), wave::WaveStream::Mode::ReadOnly));
    std::string problem;
    const auto audio = wave::LocateAudio(opened->stream, problem);
    EXPECT_TRUE(audio) << problem;
    if (audio) opened->audio = *audio;
    return opened;
}

wave::PeakResult PeaksOf(const Opened& opened, std::uint64_t perBucket, unsigned threads = 2,
                         std::size_t blockBytes = 4096) {
    wave::PeakOptions options;
    options.framesPerBucket = perBucket;
    options.threads = threads;
    options.blockBytes = blockBytes;
    return wave::ComputePcmPeaks(opened.stream.Descriptor(), opened.audio, options);
}

TEST(PeakLoop, EveryCodingAndChannelCountMatchesAPlainDecode) {
    std::mt19937 random(7);
    for (const Coding& coding : kCodings) {
        for (const unsigned channels : {1u, 2u, 3u, 4u, 5u, 6u, 8u}) {
            // Lengths that end inside a row of vector lanes and inside a bucket.
            const std::size_t frames = 3001 + channels;
            const ByteVector data = Samples(coding, frames * channels, random);
            const auto file = fixture::WaveBuilder()
                                  .chunk("fmt ", fixture::FormatBlock(coding.tag, static_cast<std::uint16_t>(channels),
                                                                      48000, coding.bits))
                                  .chunk("data", data)
                                  .bytes();
            const auto opened = Open(file);
            // Buckets smaller than, equal to and spanning several blocks.
            for (const std::uint64_t perBucket : {1u, 37u, 1000u, 5000u}) {
                SCOPED_TRACE(testing::Message() << coding.bits << "-bit tag " << coding.tag << ", " << channels
                                                << " channels, " << perBucket << " frames a bucket");
                const wave::PeakResult result = PeaksOf(*opened, perBucket);
                ASSERT_EQ(result.outcome, wave::PeakOutcome::Done) << result.error;
                EXPECT_EQ(result.peaks.frames, frames);
                EXPECT_EQ(result.peaks.values, Expected(coding, data, channels, perBucket));
            }
        }
    }
}

TEST(PeakLoop, ExtensibleRf64AndTruncatedDataChunks) {
    std::mt19937 random(3);
    const Coding coding{SampleFormat::Int24, 1, 24};
    const ByteVector data = Samples(coding, 2 * 999, random);
    ByteVector extensible = fixture::FormatBlock(0xFFFE, 2, 44100, 24);
    fixture::PutLE(extensible, 22, 2);          // cbSize
    fixture::PutLE(extensible, 24, 2);          // valid bits
    fixture::PutLE(extensible, 3, 4);           // channel mask
    fixture::PutLE(extensible, 1, 2);           // sub-format: PCM
    extensible.resize(extensible.size() + 14);  // the rest of the GUID
    const auto rf64 = fixture::WaveBuilder()
                          .fileId("RF64")
                          .chunk("ds64", fixture::Ds64(0, data.size()))
                          .chunk("fmt ", extensible)
                          .chunk("JUNK", ByteVector(3))
                          .padByte()
                          .chunkDeclaring("data", 0xFFFFFFFFu, data)
                          .bytes();
    EXPECT_EQ(PeaksOf(*Open(rf64), 100).peaks.values, Expected(coding, data, 2, 100));

    // A recording cut short: its data chunk declares more than the file
    // holds, and the last frame is cut in half.
    auto cut = fixture::WaveBuilder()
                   .chunk("fmt ", fixture::FormatBlock(1, 2, 44100, 24))
                   .chunkDeclaring("data", 1u << 20, data)
                   .bytes();
    cut.resize(cut.size() - 4);
    const auto opened = Open(cut);
    EXPECT_TRUE(opened->audio.Truncated());
    EXPECT_EQ(opened->audio.Frames(), 998u);
    const ByteVector held(data.begin(), data.end() - 6);
    EXPECT_EQ(PeaksOf(*opened, 100, 1).peaks.values, Expected(coding, held, 2, 100));
}

TEST(PeakLoop, FloatsScaleToSixteenBitsHeldToItsRangeAndNaNIsPassedOver) {
    EXPECT_EQ(wave::FloatTo32(1.0f), 32767 * 65536);
    EXPECT_EQ(wave::FloatTo32(-1.0), -32767 * 65536);
    EXPECT_EQ(wave::FloatTo32(-7.5f), -32768 * 65536);
    EXPECT_EQ(wave::FloatTo32(std::numeric_limits<double>::infinity()), 32767 * 65536);
    EXPECT_EQ(wave::FloatTo32(0.5f / 32767.0f), 0);  // rounds half to even
    ByteVector data;
    for (const float v : {std::nanf(""), 0.25f, std::nanf(""), -0.5f, std::nanf(""), std::nanf("")}) {
        std::uint32_t bits;
        std::memcpy(&bits, &v, 4);
        fixture::PutLE(data, bits, 4);
    }
    const auto file =
        fixture::WaveBuilder().chunk("fmt ", fixture::FormatBlock(3, 3, 48000, 32)).chunk("data", data).bytes();
    // Channel 1 holds only NaN: silence.
    EXPECT_EQ(PeaksOf(*Open(file), 2).peaks.values,
              (std::vector<std::int32_t>{wave::FloatTo32(-0.5f), wave::FloatTo32(-0.5f), wave::FloatTo32(0.25f),
                                         wave::FloatTo32(0.25f), 0, 0}));
}

TEST(PeakLoop, RefusesWhatItCannotReadAndStopsWhenCancelled) {
    const auto adpcm = Open(fixture::WaveBuilder()
                                .chunk("fmt ", fixture::FormatBlock(2, 1, 22050, 4))
                                .chunk("data", ByteVector(512))
                                .bytes());
    EXPECT_EQ(PeaksOf(*adpcm, 10).outcome, wave::PeakOutcome::Failed);
    // A block that is not one sample per channel would be misread.
    auto odd = fixture::FormatBlock(1, 2, 48000, 16);
    odd[12] = 6;
    EXPECT_EQ(
        PeaksOf(*Open(fixture::WaveBuilder().chunk("fmt ", odd).chunk("data", ByteVector(60)).bytes()), 10).outcome,
        wave::PeakOutcome::Failed);

    const auto pcm = Open(fixture::WaveBuilder()
                              .chunk("fmt ", fixture::FormatBlock(1, 1, 48000, 16))
                              .chunk("data", ByteVector(200000))
                              .bytes());
    EXPECT_EQ(PeaksOf(*pcm, 0).outcome, wave::PeakOutcome::Failed);
    std::atomic<bool> cancel{true};
    wave::PeakOptions options;
    options.cancel = &cancel;
    EXPECT_EQ(wave::ComputePcmPeaks(pcm->stream.Descriptor(), pcm->audio, options).outcome,
              wave::PeakOutcome::Cancelled);

    std::string problem;
    fixture::TempDir dir;
    wave::WaveStream noData;
    ASSERT_TRUE(
        noData.Open(dir.write("n.wav", fixture::WaveBuilder().chunk("fmt ", fixture::PcmFormat()).bytes()).string(),
                    wave::WaveStream::Mode::ReadOnly));
    EXPECT_FALSE(wave::LocateAudio(noData, problem));
    EXPECT_EQ(problem, "it has no \"data\" chunk");
}

TEST(PeakLoop, ArrivingBlocksCoverEveryBucketWithItsFinalValues) {
    std::mt19937 random(11);
    const Coding coding{SampleFormat::Int16, 1, 16};
    const ByteVector data = Samples(coding, 2 * 10007, random);
    const auto opened =
        Open(fixture::WaveBuilder().chunk("fmt ", fixture::FormatBlock(1, 2, 8000, 16)).chunk("data", data).bytes());
    std::vector<std::int32_t> seen(Expected(coding, data, 2, 300).size(), 0);
    wave::PeakOptions options;
    options.framesPerBucket = 300;
    options.blockBytes = 1000;
    options.arrived = [&seen](std::uint64_t first, std::span<const std::int32_t> values) {
        std::copy(values.begin(), values.end(), seen.begin() + static_cast<std::ptrdiff_t>(first * 4));
    };
    const auto result = wave::ComputePcmPeaks(opened->stream.Descriptor(), opened->audio, options);
    EXPECT_EQ(seen, result.peaks.values);
    EXPECT_EQ(seen, Expected(coding, data, 2, 300));
}

}  // namespace
