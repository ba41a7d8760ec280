// A cart chunk added to files of the layouts writers commonly produce, then
// read back three ways: by libsndfile (the same audio, the new cart values),
// chunk by chunk against the file as it was, and by ffprobe where installed.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <ostream>
#include <tuple>

#include "tests/sndfile/LibsndfileFiles.h"
#include "tests/support/WaveBuilder.h"
#include "wave/ChunkIds.h"
#include "wave/ChunkLayout.h"
#include "wave/ChunkSurvey.h"
#include "wave/Ds64.h"
#include "wave/WaveDocument.h"

namespace {

using fixture::ByteVector;
using wave::CartField;
namespace fs = std::filesystem;

constexpr const char* kTitle = "Grown Title";
constexpr const char* kArtist = "Grown Artist";
constexpr std::size_t kTimer = 2;  // counted from 1, as the user counts them
constexpr std::uint32_t kTimerValue = 96000;

wave::CartWrites GrowthWrites() {
    ByteVector entry = {'S', 'E', 'C', '1'};
    fixture::PutLE(entry, kTimerValue, 4);
    const wave::Field part{wave::cart::kPostTimers + (kTimer - 1) * wave::cart::kPostTimerSize,
                           wave::cart::kPostTimerSize};
    return {{CartField::Title, kTitle},
            {CartField::Artist, kArtist},
            {CartField::Timers, std::string(entry.begin(), entry.end()), part}};
}

// ---- The layouts ----------------------------------------------------------

void WriteLibsndfile(const fs::path& path, int format, const std::function<void(sndfile_fixture::WriteOptions&)>& set) {
    sndfile_fixture::WriteOptions options;
    options.format = format;
    if (set) set(options);
    sndfile_fixture::WriteWithLibsndfile(path, options);
}

// The file with a chunk put right before "data", and its RIFF size made to fit.
void InsertBeforeData(const fs::path& path, const std::string& id, const ByteVector& data) {
    ByteVector bytes = fixture::ReadFile(path);
    wave::WaveStream file;
    file.Open(path.string(), wave::WaveStream::Mode::ReadOnly);
    const wave::ChunkSurvey survey = wave::SurveyChunks(file);
    const auto at = survey.chunks.at(static_cast<std::size_t>(survey.Find(wave::chunk_id::kData))).entry.offset;
    ByteVector chunk(id.begin(), id.end());
    fixture::PutLE(chunk, static_cast<std::uint32_t>(data.size()), 4);
    chunk.insert(chunk.end(), data.begin(), data.end());
    bytes.insert(bytes.begin() + at, chunk.begin(), chunk.end());
    const auto riffSize = static_cast<std::uint32_t>(bytes.size() - 8);
    for (std::size_t i = 0; i < 4; ++i) bytes[4 + i] = static_cast<std::uint8_t>(riffSize >> (8 * i));
    fixture::WriteFile(path, bytes);
}

ByteVector Le(std::initializer_list<std::pair<std::uint32_t, int>> fields) {
    ByteVector out;
    for (const auto& [value, bytes] : fields) fixture::PutLE(out, value, bytes);
    return out;
}

// MPEG audio in WAV, as broadcast MPEG files are laid out: an extended
// format block, "fact" with the sample count, then "data". The frames are
// libsndfile's own Layer III encoding where it can write one; otherwise
// silent Layer II frames, which any decoder takes.
void WriteMpegWave(const fs::path& path) {
    const fs::path raw = fs::path(path).replace_extension(".mp3");
    SF_INFO probe{};
    probe.samplerate = 48000;
    probe.channels = 2;
    probe.format = SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
    ByteVector frames;
    ByteVector format;
    std::uint32_t samples = 0;
    if (sf_format_check(&probe) == SF_TRUE) {
        WriteLibsndfile(raw, SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, {});
        frames = fixture::ReadFile(raw);
        fs::remove(raw);
        samples = 4800;
        // MPEGLAYER3WAVEFORMAT: 0x0055, then ID, flags, block size, frames per block, codec delay.
        format = Le({{0x55, 2},
                     {2, 2},
                     {48000, 4},
                     {16000, 4},
                     {1, 2},
                     {0, 2},
                     {12, 2},
                     {1, 2},
                     {2, 4},
                     {576, 2},
                     {1, 2},
                     {0, 2}});
    } else {
        ByteVector frame = {0xFF, 0xFD, 0xA4, 0x00};  // MPEG-1 Layer II, 192 kbit/s, 48 kHz, stereo
        frame.resize(576, 0);                         // nothing allocated: silence
        for (int i = 0; i < 5; ++i) frames.insert(frames.end(), frame.begin(), frame.end());
        samples = 5 * 1152;
        // MPEG1WAVEFORMAT: 0x0050, then layer, bit rate, mode, mode extension, emphasis, flags, PTS.
        format = Le({{0x50, 2},
                     {2, 2},
                     {48000, 4},
                     {24000, 4},
                     {576, 2},
                     {0, 2},
                     {22, 2},
                     {2, 2},
                     {192000, 4},
                     {1, 2},
                     {0, 2},
                     {1, 2},
                     {0x10, 2},
                     {0, 4},
                     {0, 4}});
    }
    fixture::WriteFile(
        path,
        fixture::WaveBuilder().chunk("fmt ", format).chunk("fact", Le({{samples, 4}})).chunk("data", frames).bytes());
}

struct Layout {
    const char* name;
    std::function<void(const fs::path&)> write;
};

void PrintTo(const Layout& layout, std::ostream* out) { *out << layout.name; }

const Layout kLayouts[] = {
    {"pcm", [](const fs::path& p) { WriteLibsndfile(p, SF_FORMAT_WAV | SF_FORMAT_PCM_16, {}); }},
    {"list_after_data",
     [](const fs::path& p) {
         WriteLibsndfile(p, SF_FORMAT_WAV | SF_FORMAT_PCM_16, [](auto& o) { o.titleAfterData = "Listed after data"; });
     }},
    {"bext_no_cart",
     [](const fs::path& p) {
         WriteLibsndfile(p, SF_FORMAT_WAV | SF_FORMAT_PCM_24,
                         [](auto& o) { o.bext = sndfile_fixture::TypicalBroadcastInfo(); });
     }},
    {"junk_before_data",
     [](const fs::path& p) {
         WriteLibsndfile(p, SF_FORMAT_WAV | SF_FORMAT_PCM_16, {});
         InsertBeforeData(p, "JUNK", ByteVector(4096, 0));
     }},
    {"rf64", [](const fs::path& p) { WriteLibsndfile(p, SF_FORMAT_RF64 | SF_FORMAT_PCM_16, {}); }},
    {"mpeg", WriteMpegWave},
    {"float_peak",
     [](const fs::path& p) { WriteLibsndfile(p, SF_FORMAT_WAV | SF_FORMAT_FLOAT, [](auto& o) { o.peak = true; }); }},
};

// ---- Reading back ---------------------------------------------------------

// What libsndfile makes of a file: every frame decoded, and its cart chunk;
// or why it would not open it.
struct Decoded {
    std::string refusal;
    SF_INFO info{};
    std::vector<double> frames;
    std::optional<SF_CART_INFO> cart;
};

Decoded Decode(const fs::path& path) {
    Decoded out;
    const std::unique_ptr<SNDFILE, int (*)(SNDFILE*)> file(sf_open(path.c_str(), SFM_READ, &out.info), sf_close);
    if (!file) {
        out.refusal = sf_strerror(nullptr);
        return out;
    }
    SF_CART_INFO cart{};
    if (sf_command(file.get(), SFC_GET_CART_INFO, &cart, sizeof cart) == SF_TRUE) out.cart = cart;
    out.frames.resize(static_cast<std::size_t>(out.info.frames * out.info.channels));
    const sf_count_t got = sf_readf_double(file.get(), out.frames.data(), out.info.frames);
    out.frames.resize(static_cast<std::size_t>(got * out.info.channels));
    return out;
}

struct Chunk {
    std::string id;
    ByteVector bytes;  // header, data and pad byte
};

struct Chunks {
    wave::ChunkSurvey survey;
    std::vector<Chunk> all;
};

Chunks ReadChunks(const fs::path& path) {
    Chunks out;
    wave::WaveStream file;
    file.Open(path.string(), wave::WaveStream::Mode::ReadOnly);
    out.survey = wave::SurveyChunks(file);
    const ByteVector bytes = fixture::ReadFile(path);
    for (const wave::SurveyedChunk& c : out.survey.chunks) {
        out.all.push_back(
            {wave::ChunkName(c.entry.id), ByteVector(bytes.begin() + c.entry.offset, bytes.begin() + c.end)});
    }
    return out;
}

// Every chunk a growth must leave as it was: all but cart and filler. The
// RIFF size in ds64 follows the file's length, so it is left out here and
// checked against the length on its own.
std::vector<Chunk> KeptChunks(const Chunks& chunks) {
    std::vector<Chunk> kept;
    for (const Chunk& c : chunks.all) {
        const std::uint32_t id = wave::FourCCAt(c.bytes.data());
        if (id == wave::chunk_id::kCart || wave::IsFiller(id)) continue;
        kept.push_back(c);
        if (id == wave::chunk_id::kDs64 && chunks.survey.IsRf64()) {
            const std::size_t at = 8 + wave::Ds64Sizes::kRiffSizeOffset;
            std::fill(kept.back().bytes.begin() + at, kept.back().bytes.begin() + at + 8, 0);
        }
    }
    return kept;
}

// Where the fixed-order walk is meant to find the cart chunk: in a RIFF
// file, after "fmt " and any of "fact", "mext", "bext" in that order.
bool FixedOrderReaches(const Chunks& chunks) {
    if (chunks.survey.IsRf64() || chunks.all.empty() || chunks.all[0].id != "fmt ") return false;
    const std::array<std::string, 3> optional = {"fact", "mext", "bext"};
    std::size_t next = 0;
    for (std::size_t i = 1; i < chunks.all.size(); ++i) {
        if (chunks.all[i].id == "cart") return true;
        while (next < optional.size() && optional[next] != chunks.all[i].id) ++next;
        if (next++ == optional.size()) return false;
    }
    return false;
}

std::string FieldsRead(const fs::path& path, wave::ChunkWalk walk) {
    wave::WaveDocument doc;
    const wave::LoadFailure failure = doc.OpenWave(path.string(), wave::WaveStream::Mode::ReadOnly, walk);
    if (failure != wave::LoadFailure::None || !doc.CartLoaded()) return "<refused>";
    const wave::PostTimer timer = doc.Cart().Timers()[kTimer - 1];
    return doc.Cart().Text(CartField::Title) + "|" + doc.Cart().Text(CartField::Artist) + "|" +
           std::to_string(timer.value);
}

const std::string kExpectedFields = std::string(kTitle) + "|" + kArtist + "|" + std::to_string(kTimerValue);

// ---- The tests ------------------------------------------------------------

class GrowLayouts : public testing::TestWithParam<std::tuple<Layout, bool>> {
protected:
    void SetUp() override {
        std::get<0>(GetParam()).write(path_);
        fs::copy_file(path_, original_);
        before_ = Decode(path_);
        beforeChunks_ = ReadChunks(path_);
        ASSERT_EQ(beforeChunks_.survey.problem, "");
        ASSERT_LT(beforeChunks_.survey.Find(wave::chunk_id::kCart), 0);

        wave::WaveDocument doc;
        doc.OpenWave(path_.string(), wave::WaveStream::Mode::ReadWrite, wave::ChunkWalk::AnyLayout);
        ASSERT_TRUE(doc.CanAddCart());
        const wave::SaveResult grown = doc.GrowCart(GrowthWrites(), append());
        ASSERT_TRUE(grown.ok) << grown.error;
        afterChunks_ = ReadChunks(path_);
        ASSERT_EQ(afterChunks_.survey.problem, "");
    }

    bool append() const { return std::get<1>(GetParam()); }
    bool cartBeforeData() const {
        return afterChunks_.survey.Find(wave::chunk_id::kCart) < afterChunks_.survey.Find(wave::chunk_id::kData);
    }

    fixture::TempDir dir_;
    fs::path path_ = dir_.file("grown.wav");
    fs::path original_ = dir_.file("original.wav");
    Decoded before_;
    Chunks beforeChunks_;
    Chunks afterChunks_;
};

TEST_P(GrowLayouts, LibsndfileDecodesTheSameFramesAndReadsTheNewCart) {
    const Decoded after = Decode(path_);
    ASSERT_EQ(after.refusal, before_.refusal);
    if (!before_.refusal.empty()) GTEST_SKIP() << "libsndfile reads neither version: " << before_.refusal;
    EXPECT_EQ(after.info.frames, before_.info.frames);
    EXPECT_EQ(after.info.format, before_.info.format);
    EXPECT_TRUE(after.frames == before_.frames) << "the decoded frames changed";
    ASSERT_TRUE(after.cart.has_value()) << "libsndfile finds no cart chunk";
    EXPECT_EQ(sndfile_fixture::Text(after.cart->title), kTitle);
    EXPECT_EQ(sndfile_fixture::Text(after.cart->artist), kArtist);
    EXPECT_EQ(std::string(after.cart->post_timers[kTimer - 1].usage, 4), "SEC1");
    EXPECT_EQ(after.cart->post_timers[kTimer - 1].value, static_cast<std::int32_t>(kTimerValue));
}

TEST_P(GrowLayouts, EveryOtherChunkStaysByteForByteInItsOrder) {
    const std::vector<Chunk> before = KeptChunks(beforeChunks_);
    const std::vector<Chunk> after = KeptChunks(afterChunks_);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(after[i].id, before[i].id) << "chunk " << i;
        EXPECT_TRUE(after[i].bytes == before[i].bytes) << "the \"" << before[i].id << "\" chunk changed";
    }
    EXPECT_EQ(static_cast<std::int64_t>(afterChunks_.survey.riffSize) + 8, afterChunks_.survey.fileSize);
    const auto& ids = afterChunks_.all;
    EXPECT_EQ(std::count_if(ids.begin(), ids.end(), [](const Chunk& c) { return c.id == "cart"; }), 1);
    if (append()) {
        EXPECT_EQ(ids.back().id, "cart");
    }
    // A filler big enough takes the chunk without moving a byte.
    if (!append() && beforeChunks_.survey.Find(wave::FourCC("JUNK")) >= 0) {
        EXPECT_EQ(afterChunks_.survey.fileSize, beforeChunks_.survey.fileSize);
    }
}

TEST_P(GrowLayouts, OurWalksReadTheNewValues) {
    EXPECT_EQ(FieldsRead(path_, wave::ChunkWalk::AnyLayout), kExpectedFields);
    if (!cartBeforeData()) return;
    // Placed before "data": where a reader that stops at "data" finds it.
    if (FixedOrderReaches(afterChunks_)) {
        EXPECT_EQ(FieldsRead(path_, wave::ChunkWalk::FixedOrder), kExpectedFields);
    }
}

// ffprobe's view of a file: the stream it reports, the samples it decodes,
// and what it complains of.
struct Probe {
    std::string stream;
    std::string duration;  // duration_ts and duration, stream's and format's
    std::uint64_t samples = 0;
    std::string errors;
};

Probe RunFfprobe(const fs::path& path, const fs::path& errors) {
    const std::string command =
        "ffprobe -v error -show_entries "
        "stream=codec_name,sample_rate,channels,duration_ts,duration:format=duration:"
        "frame=nb_samples -of default=noprint_wrappers=1 '" +
        path.string() + "' 2>'" + errors.string() + "'";
    Probe probe;
    const std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    if (!pipe) return {"", "", 0, "ffprobe could not be started"};
    std::array<char, 256> buffer{};
    while (std::fgets(buffer.data(), buffer.size(), pipe.get()) != nullptr) {
        const std::string line = buffer.data();
        if (line.starts_with("nb_samples="))
            probe.samples += std::stoull(line.substr(11));
        else if (line.starts_with("duration"))
            probe.duration += line;
        else
            probe.stream += line;
    }
    std::ifstream in(errors);
    probe.errors.assign(std::istreambuf_iterator<char>(in), {});
    return probe;
}

TEST_P(GrowLayouts, FfprobeSeesTheSameStreamAndNoError) {
    if (std::system("command -v ffprobe >/dev/null 2>&1") != 0) GTEST_SKIP() << "ffprobe is not installed";
    const Probe before = RunFfprobe(original_, dir_.file("before.err"));
    const Probe after = RunFfprobe(path_, dir_.file("after.err"));
    EXPECT_EQ(before.errors, "");
    EXPECT_EQ(after.errors, "");
    EXPECT_EQ(after.stream, before.stream);
    EXPECT_GT(after.samples, 0u);
    EXPECT_EQ(after.samples, before.samples);
    // For compressed audio in WAV ffprobe estimates the duration from the bit
    // rate over every byte from the audio's start to the end of the file, so
    // a chunk put after "data" lengthens it though no frame changed. The
    // decoded sample count above is what stays.
    const bool estimated = !after.stream.starts_with("codec_name=pcm_");
    if (!estimated || cartBeforeData()) {
        EXPECT_EQ(after.duration, before.duration);
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, GrowLayouts, testing::Combine(testing::ValuesIn(kLayouts), testing::Bool()),
                         [](const auto& param) {
                             return std::string(std::get<0>(param.param).name) +
                                    (std::get<1>(param.param) ? "_append" : "_grow");
                         });

}  // namespace
