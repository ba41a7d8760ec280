// `peaks` output against min and max of the samples libsndfile decodes from
// the same file, in both waveform-data forms, for every PCM coding and for
// A-law, which goes through the decoder.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>
#include <random>

#include "tests/cli/CliRunner.h"
#include "tests/support/WaveBuilder.h"

namespace {

struct Coding {
    int subtype;
    const char* name;
};

constexpr Coding kCodings[] = {{SF_FORMAT_PCM_U8, "8-bit"},  {SF_FORMAT_PCM_16, "16-bit"}, {SF_FORMAT_PCM_24, "24-bit"},
                               {SF_FORMAT_PCM_32, "32-bit"}, {SF_FORMAT_FLOAT, "float"},   {SF_FORMAT_DOUBLE, "double"},
                               {SF_FORMAT_ALAW, "A-law"}};

void WriteWave(const std::filesystem::path& path, int subtype, int channels, sf_count_t frames) {
    SF_INFO info{};
    info.samplerate = 44100;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | subtype;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    std::mt19937 random(static_cast<unsigned>(subtype * 10 + channels));
    // Past full scale too: floats keep it, integers clip to their range.
    std::uniform_real_distribution<double> level(-1.1, 1.1);
    std::vector<double> samples(static_cast<std::size_t>(frames * channels));
    for (double& s : samples) s = level(random);
    EXPECT_EQ(sf_writef_double(file, samples.data(), frames), frames);
    sf_close(file);
}

// Every sample as a 32-bit value with its top bit at bit 31, floats scaled
// to 16 bits first, as waveform data defines them.
std::vector<std::int32_t> Decoded(const std::filesystem::path& path, int subtype, int& channels) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    EXPECT_NE(file, nullptr);
    channels = info.channels;
    std::vector<std::int32_t> out(static_cast<std::size_t>(info.frames * info.channels));
    if (subtype == SF_FORMAT_FLOAT) {
        std::vector<float> v(out.size());
        sf_readf_float(file, v.data(), info.frames);
        for (std::size_t i = 0; i < v.size(); ++i)
            out[i] = static_cast<std::int32_t>(std::lrint(std::clamp(v[i] * 32767.0f, -32768.0f, 32767.0f))) * 65536;
    } else if (subtype == SF_FORMAT_DOUBLE) {
        std::vector<double> v(out.size());
        sf_readf_double(file, v.data(), info.frames);
        for (std::size_t i = 0; i < v.size(); ++i)
            out[i] = static_cast<std::int32_t>(std::lrint(std::clamp(v[i] * 32767.0, -32768.0, 32767.0))) * 65536;
    } else {
        sf_readf_int(file, out.data(), info.frames);
    }
    sf_close(file);
    return out;
}

std::vector<int> Expected(const std::vector<std::int32_t>& samples, int channels, std::size_t perPixel, int bits) {
    const std::size_t frames = samples.size() / static_cast<std::size_t>(channels);
    std::vector<int> out;
    for (std::size_t first = 0; first < frames; first += perPixel) {
        for (int c = 0; c < channels; ++c) {
            std::int32_t lo = std::numeric_limits<std::int32_t>::max();
            std::int32_t hi = std::numeric_limits<std::int32_t>::min();
            for (std::size_t f = first; f < std::min(frames, first + perPixel); ++f) {
                lo = std::min(lo, samples[f * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c)]);
                hi = std::max(hi, samples[f * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c)]);
            }
            out.push_back(lo >> (32 - bits));
            out.push_back(hi >> (32 - bits));
        }
    }
    return out;
}

std::int64_t LE(const fixture::ByteVector& bytes, std::size_t at, int n, bool isSigned) {
    std::uint64_t v = 0;
    for (int k = n - 1; k >= 0; --k) v = (v << 8) | bytes[at + static_cast<std::size_t>(k)];
    if (isSigned && (v >> (8 * n - 1)) != 0) return static_cast<std::int64_t>(v) - (std::int64_t{1} << (8 * n));
    return static_cast<std::int64_t>(v);
}

TEST(PeaksReadByLibsndfile, JsonAndDatMatchTheDecodedSamplesForEveryCoding) {
    fixture::TempDir dir;
    for (const Coding& coding : kCodings) {
        for (const int channels : {1, 2, 3}) {
            // GStreamer's A-law decoder takes one or two channels.
            if (coding.subtype == SF_FORMAT_ALAW && channels > 2) continue;
            SCOPED_TRACE(testing::Message() << coding.name << ", " << channels << " channels");
            const auto wav = dir.file("in.wav");
            // libsndfile leaves an odd-sized A-law data chunk without its pad
            // byte, which GStreamer's parser refuses; PCM keeps the odd length.
            const sf_count_t frames = coding.subtype == SF_FORMAT_ALAW ? 10008 : 10007;
            WriteWave(wav, coding.subtype, channels, frames);
            int read = 0;
            const std::vector<std::int32_t> samples = Decoded(wav, coding.subtype, read);

            const auto json = dir.file("out.json");
            CliRun run = RunCli({"peaks", "--samples-per-pixel", "100", "--output", json.string(), wav.string()});
            ASSERT_EQ(run.status, 0) << run.err;
            const fixture::ByteVector text = fixture::ReadFile(json);
            const auto parsed = nlohmann::json::parse(text.begin(), text.end());
            EXPECT_EQ(parsed["version"], 2);
            EXPECT_EQ(parsed["channels"], channels);
            EXPECT_EQ(parsed["sample_rate"], 44100);
            EXPECT_EQ(parsed["samples_per_pixel"], 100);
            EXPECT_EQ(parsed["bits"], 16);
            EXPECT_EQ(parsed["length"], (frames + 99) / 100);
            EXPECT_EQ(parsed["data"].get<std::vector<int>>(), Expected(samples, read, 100, 16));

            const auto dat = dir.file("out.dat");
            run =
                RunCli({"peaks", "--pixels-per-second", "441", "--bits", "8", "--output", dat.string(), wav.string()});
            ASSERT_EQ(run.status, 0) << run.err;
            const fixture::ByteVector bytes = fixture::ReadFile(dat);
            ASSERT_GE(bytes.size(), 24u);
            EXPECT_EQ(LE(bytes, 0, 4, true), 2);
            EXPECT_EQ(LE(bytes, 4, 4, false), 1);  // 8-bit
            EXPECT_EQ(LE(bytes, 8, 4, true), 44100);
            EXPECT_EQ(LE(bytes, 12, 4, true), 100);
            EXPECT_EQ(LE(bytes, 16, 4, false), (frames + 99) / 100);
            EXPECT_EQ(LE(bytes, 20, 4, true), channels);
            std::vector<int> values;
            for (std::size_t at = 24; at < bytes.size(); ++at)
                values.push_back(static_cast<int>(LE(bytes, at, 1, true)));
            EXPECT_EQ(values, Expected(samples, read, 100, 8));
        }
    }
}

}  // namespace
