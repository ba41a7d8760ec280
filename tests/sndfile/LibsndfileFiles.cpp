#include "tests/sndfile/LibsndfileFiles.h"

#include <cmath>
#include <stdexcept>

namespace sndfile_fixture {

namespace {

// Owns an open SNDFILE.
class Handle {
public:
    Handle(const std::filesystem::path& path, int mode, SF_INFO& info) : file_(sf_open(path.c_str(), mode, &info)) {
        if (file_ == nullptr) {
            throw std::runtime_error("libsndfile cannot open " + path.string() + ": " + sf_strerror(nullptr));
        }
    }
    ~Handle() { sf_close(file_); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    SNDFILE* get() const { return file_; }

private:
    SNDFILE* file_;
};

// A tone rather than silence, so that frames moved or overwritten show.
std::vector<short> Tone(sf_count_t frames, int channels) {
    std::vector<short> samples(static_cast<std::size_t>(frames * channels));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double phase = 0.031 * static_cast<double>(i / static_cast<std::size_t>(channels));
        const double wobble = static_cast<double>(i % static_cast<std::size_t>(channels)) * 0.5;
        samples[i] = static_cast<short>(std::lround(12000.0 * std::sin(phase + wobble)));
    }
    return samples;
}

template <std::size_t N>
void Compare(std::vector<std::string>& out, const char* name, const char (&a)[N], const char (&b)[N]) {
    if (std::memcmp(a, b, N) != 0) out.emplace_back(name);
}

}  // namespace

void SetTimer(SF_CART_INFO& cart, std::size_t k, std::string_view usage, std::int32_t value) {
    SetText(cart.post_timers[k].usage, usage);
    cart.post_timers[k].value = value;
}

void SetTagText(SF_CART_INFO& cart, std::string_view text) {
    SetText(cart.tag_text, text);
    cart.tag_text_size = static_cast<std::uint32_t>(std::min(text.size(), sizeof cart.tag_text));
}

void SetCodingHistory(SF_BROADCAST_INFO& bext, std::string_view text) {
    SetText(bext.coding_history, text);
    bext.coding_history_size = static_cast<std::uint32_t>(std::min(text.size(), sizeof bext.coding_history));
}

SF_CART_INFO TypicalCartInfo() {
    SF_CART_INFO cart{};
    SetText(cart.version, "0101");
    SetText(cart.title, "Evening News Open");
    SetText(cart.artist, "House Orchestra");
    SetText(cart.cut_id, "CUT-7781");
    SetText(cart.client_id, "Radio Nord");
    SetText(cart.category, "NEWS");
    SetText(cart.classification, "Intro");
    SetText(cart.out_cue, "...and now the weather");
    SetText(cart.start_date, "2019-03-04");
    SetText(cart.start_time, "05:06:07");
    SetText(cart.end_date, "2038-01-19");
    SetText(cart.end_time, "03:14:07");
    SetText(cart.producer_app_id, "Studio Tool");
    SetText(cart.producer_app_version, "4.2.1");
    SetText(cart.user_def, "rotation B");
    cart.level_reference = 32768;
    SetTimer(cart, 0, "MRK ", 4800);
    SetTimer(cart, 1, "SEC1", 96000);
    SetTimer(cart, 2, "EOD1", 230400);
    SetTimer(cart, 3, "AUD1", 2147483647);
    SetText(cart.url, "http://www.example.org/spots/7781");
    SetTagText(cart, "<cart><tag>station</tag></cart>");
    return cart;
}

SF_BROADCAST_INFO TypicalBroadcastInfo() {
    SF_BROADCAST_INFO bext{};
    SetText(bext.description, "News open, full length, with tail");
    SetText(bext.originator, "Radio Nord Production");
    SetText(bext.originator_reference, "RN-2019-0304-17");
    SetText(bext.origination_date, "2019-03-01");
    SetText(bext.origination_time, "14:15:16");
    SetCodingHistory(bext, "A=PCM,F=48000,W=16,M=stereo,T=original\r\n");
    return bext;
}

void WriteWithLibsndfile(const std::filesystem::path& path, const WriteOptions& options) {
    SF_INFO info{};
    info.samplerate = options.sampleRate;
    info.channels = options.channels;
    info.format = options.format;
    {
        Handle file(path, SFM_WRITE, info);
        // Metadata has to be set before the first frame is written.
        if (options.bext) {
            SF_BROADCAST_INFO bext = *options.bext;
            if (sf_command(file.get(), SFC_SET_BROADCAST_INFO, &bext, sizeof bext) != SF_TRUE) {
                throw std::runtime_error("libsndfile refused the broadcast info");
            }
        }
        if (options.cart) {
            SF_CART_INFO cart = *options.cart;
            if (sf_command(file.get(), SFC_SET_CART_INFO, &cart, sizeof cart) != SF_TRUE) {
                throw std::runtime_error("libsndfile refused the cart info");
            }
        }
        if (options.peak && sf_command(file.get(), SFC_SET_ADD_PEAK_CHUNK, nullptr, SF_TRUE) != SF_TRUE) {
            throw std::runtime_error("libsndfile refused the PEAK chunk");
        }
        const std::vector<short> tone = Tone(options.frames, options.channels);
        if (sf_writef_short(file.get(), tone.data(), options.frames) != options.frames) {
            throw std::runtime_error("libsndfile wrote fewer frames than asked");
        }
        if (options.titleAfterData &&
            sf_set_string(file.get(), SF_STR_TITLE, options.titleAfterData->c_str()) != SF_ERR_NO_ERROR) {
            throw std::runtime_error("libsndfile refused the title");
        }
    }
}

LibsndfileView ReadWithLibsndfile(const std::filesystem::path& path) {
    LibsndfileView view;
    Handle file(path, SFM_READ, view.info);
    SF_CART_INFO cart{};
    if (sf_command(file.get(), SFC_GET_CART_INFO, &cart, sizeof cart) == SF_TRUE) view.cart = cart;
    SF_BROADCAST_INFO bext{};
    if (sf_command(file.get(), SFC_GET_BROADCAST_INFO, &bext, sizeof bext) == SF_TRUE) view.bext = bext;
    view.samples.resize(static_cast<std::size_t>(view.info.frames * view.info.channels));
    const sf_count_t got = sf_readf_short(file.get(), view.samples.data(), view.info.frames);
    view.samples.resize(static_cast<std::size_t>(got * view.info.channels));
    return view;
}

std::vector<std::string> DifferingCartFields(const SF_CART_INFO& a, const SF_CART_INFO& b) {
    std::vector<std::string> out;
    Compare(out, "version", a.version, b.version);
    Compare(out, "title", a.title, b.title);
    Compare(out, "artist", a.artist, b.artist);
    Compare(out, "cut_id", a.cut_id, b.cut_id);
    Compare(out, "client_id", a.client_id, b.client_id);
    Compare(out, "category", a.category, b.category);
    Compare(out, "classification", a.classification, b.classification);
    Compare(out, "out_cue", a.out_cue, b.out_cue);
    Compare(out, "start_date", a.start_date, b.start_date);
    Compare(out, "start_time", a.start_time, b.start_time);
    Compare(out, "end_date", a.end_date, b.end_date);
    Compare(out, "end_time", a.end_time, b.end_time);
    Compare(out, "producer_app_id", a.producer_app_id, b.producer_app_id);
    Compare(out, "producer_app_version", a.producer_app_version, b.producer_app_version);
    Compare(out, "user_def", a.user_def, b.user_def);
    if (a.level_reference != b.level_reference) out.emplace_back("level_reference");
    for (std::size_t k = 0; k < 8; ++k) {
        const bool same = std::memcmp(a.post_timers[k].usage, b.post_timers[k].usage, 4) == 0 &&
                          a.post_timers[k].value == b.post_timers[k].value;
        if (!same) out.push_back("post_timers[" + std::to_string(k) + "]");
    }
    Compare(out, "reserved", a.reserved, b.reserved);
    Compare(out, "url", a.url, b.url);
    if (a.tag_text_size != b.tag_text_size ||
        std::memcmp(a.tag_text, b.tag_text, std::min<std::size_t>(a.tag_text_size, sizeof a.tag_text)) != 0) {
        out.emplace_back("tag_text");
    }
    return out;
}

std::vector<std::string> DifferingBextFields(const SF_BROADCAST_INFO& a, const SF_BROADCAST_INFO& b) {
    std::vector<std::string> out;
    Compare(out, "description", a.description, b.description);
    Compare(out, "originator", a.originator, b.originator);
    Compare(out, "originator_reference", a.originator_reference, b.originator_reference);
    Compare(out, "origination_date", a.origination_date, b.origination_date);
    Compare(out, "origination_time", a.origination_time, b.origination_time);
    if (a.time_reference_low != b.time_reference_low || a.time_reference_high != b.time_reference_high) {
        out.emplace_back("time_reference");
    }
    if (a.version != b.version) out.emplace_back("version");
    Compare(out, "umid", a.umid, b.umid);
    if (a.coding_history_size != b.coding_history_size ||
        std::memcmp(a.coding_history, b.coding_history,
                    std::min<std::size_t>(a.coding_history_size, sizeof a.coding_history)) != 0) {
        out.emplace_back("coding_history");
    }
    return out;
}

}  // namespace sndfile_fixture
