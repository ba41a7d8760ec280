// filesrc ! decodebin ! audioconvert ! appsink, pulled on the caller's
// thread. The sink holds a few buffers at most, so memory stays bounded
// whatever the file's length; samples are folded as they come.
#include "decode/DecodedPeaks.h"

#include <gst/gst.h>

#include <algorithm>
#include <cstring>
#include <limits>

#include "player/GstHandles.h"
#include "wave/PeakFold.h"

namespace decode {

namespace {

using player::AdoptElement;
using player::ElementHandle;

// Cancel is polled between pulls: a short wait keeps a stop, which the
// window waits for, short.
constexpr GstClockTime kPullWait = 20 * GST_MSECOND;

struct SampleUnref {
    void operator()(GstSample* sample) const { gst_sample_unref(sample); }
};
using SampleHandle = std::unique_ptr<GstSample, SampleUnref>;
struct CapsUnref {
    void operator()(GstCaps* caps) const { gst_caps_unref(caps); }
};
using CapsHandle = std::unique_ptr<GstCaps, CapsUnref>;

// decodebin's pads appear once it knows the stream: the first audio one
// goes to the converter.
void OnPadAdded(GstElement*, GstPad* pad, gpointer converter) {
    std::unique_ptr<GstPad, player::GstObjectUnref> sink(
        gst_element_get_static_pad(static_cast<GstElement*>(converter), "sink"));
    if (!gst_pad_is_linked(sink.get())) gst_pad_link(pad, sink.get());
}

// Folds 16-bit interleaved frames into buckets as they arrive.
class Folder {
public:
    Folder(wave::Peaks& peaks, const wave::PeakOptions& options) : peaks_(peaks), options_(options) {}

    bool Add(const std::int16_t* samples, std::size_t frames) {
        const unsigned channels = peaks_.channels;
        const std::uint64_t n = options_.framesPerBucket;
        const std::uint64_t firstBucket = peaks_.frames / n;
        for (std::size_t f = 0; f < frames; ++f, ++peaks_.frames) {
            if (peaks_.frames % n == 0) {
                if (peaks_.values.size() + 2u * channels > wave::kMaxPeakValues) return false;
                for (unsigned c = 0; c < channels; ++c) {
                    peaks_.values.push_back(std::numeric_limits<std::int32_t>::max());
                    peaks_.values.push_back(std::numeric_limits<std::int32_t>::min());
                }
            }
            std::int32_t* bucket = peaks_.values.data() + peaks_.values.size() - 2u * channels;
            for (unsigned c = 0; c < channels; ++c) {
                const std::int32_t v = samples[f * channels + c] * 65536;
                bucket[2 * c] = std::min(bucket[2 * c], v);
                bucket[2 * c + 1] = std::max(bucket[2 * c + 1], v);
            }
        }
        if (options_.arrived && frames > 0) {
            const std::size_t from = static_cast<std::size_t>(firstBucket) * 2u * channels;
            options_.arrived(firstBucket, std::span(peaks_.values).subspan(from));
        }
        return true;
    }

private:
    wave::Peaks& peaks_;
    const wave::PeakOptions& options_;
};

wave::PeakResult Failure(std::string why) {
    wave::PeakResult result;
    result.error = std::move(why);
    return result;
}

std::string BusError(GstBus* bus) {
    player::MessageHandle message(gst_bus_pop_filtered(bus, GST_MESSAGE_ERROR));
    if (!message) return {};
    GError* error = nullptr;
    gst_message_parse_error(message.get(), &error, nullptr);
    const std::unique_ptr<GError, player::GstErrorFree> owned(error);
    return owned ? owned->message : "the decoder failed";
}

}  // namespace

wave::PeakResult DecodedPeaks(const std::string& path, const wave::PeakOptions& options) {
    if (options.framesPerBucket == 0) return Failure("a bucket must hold at least one frame");
    if (!gst_init_check(nullptr, nullptr, nullptr)) return Failure("GStreamer could not start");
    ElementHandle pipeline = AdoptElement(gst_pipeline_new("peaks"));
    GstElement* source = gst_element_factory_make("filesrc", nullptr);
    GstElement* decoder = gst_element_factory_make("decodebin", nullptr);
    GstElement* converter = gst_element_factory_make("audioconvert", nullptr);
    GstElement* sink = gst_element_factory_make("appsink", nullptr);
    if (!pipeline || !source || !decoder || !converter || !sink) {
        for (GstElement* made : {source, decoder, converter, sink})
            if (made) AdoptElement(made);
        return Failure("GStreamer lacks filesrc, decodebin, audioconvert or appsink");
    }
    gst_bin_add_many(GST_BIN(pipeline.get()), source, decoder, converter, sink, nullptr);
    g_object_set(source, "location", path.c_str(), nullptr);
    // Peaks must be those of the decoded samples, not of added noise.
    g_object_set(converter, "dithering", 0, "noise-shaping", 0, nullptr);
    const CapsHandle caps(gst_caps_from_string("audio/x-raw,format=S16LE,layout=interleaved"));
    g_object_set(sink, "caps", caps.get(), "sync", FALSE, "max-buffers", 8u, "emit-signals", FALSE, nullptr);
    g_signal_connect(decoder, "pad-added", G_CALLBACK(OnPadAdded), converter);
    if (!gst_element_link(source, decoder) || !gst_element_link(converter, sink))
        return Failure("the decoding pipeline could not be linked");

    const player::BusHandle bus(gst_element_get_bus(pipeline.get()));
    wave::PeakResult result;
    result.peaks.framesPerBucket = options.framesPerBucket;
    Folder folder(result.peaks, options);
    gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);
    for (;;) {
        if (options.cancel && options.cancel->load()) {
            result.outcome = wave::PeakOutcome::Cancelled;
            break;
        }
        GstSample* pulled = nullptr;
        g_signal_emit_by_name(sink, "try-pull-sample", kPullWait, &pulled);
        const SampleHandle sample(pulled);
        if (!sample) {
            if (std::string why = BusError(bus.get()); !why.empty()) {
                result.error = "it could not be decoded: " + why;
                break;
            }
            gboolean eos = FALSE;
            g_object_get(sink, "eos", &eos, nullptr);
            if (eos) {
                result.outcome = wave::PeakOutcome::Done;
                break;
            }
            continue;
        }
        if (result.peaks.channels == 0) {
            const GstStructure* format = gst_caps_get_structure(gst_sample_get_caps(sample.get()), 0);
            int channels = 0;
            int rate = 0;
            gst_structure_get_int(format, "channels", &channels);
            gst_structure_get_int(format, "rate", &rate);
            if (channels <= 0 || channels > static_cast<int>(wave::kMaxPeakChannels)) {
                result.error = "its decoded audio has " + std::to_string(channels) + " channels";
                break;
            }
            result.peaks.channels = static_cast<std::uint16_t>(channels);
            result.peaks.sampleRate = static_cast<std::uint32_t>(rate);
        }
        GstMapInfo map;
        GstBuffer* buffer = gst_sample_get_buffer(sample.get());
        if (!buffer || !gst_buffer_map(buffer, &map, GST_MAP_READ)) continue;
        const std::size_t frames = map.size / (2u * result.peaks.channels);
        std::vector<std::int16_t> samples(frames * result.peaks.channels);
        std::memcpy(samples.data(), map.data, samples.size() * 2);
        gst_buffer_unmap(buffer, &map);
        if (!folder.Add(samples.data(), frames)) {
            result.error = "it would give more than " + std::to_string(wave::kMaxPeakValues) +
                           " peak values; choose more samples per bucket";
            break;
        }
    }
    // Going to NULL joins the streaming threads before the elements go.
    gst_element_set_state(pipeline.get(), GST_STATE_NULL);
    if (result.outcome == wave::PeakOutcome::Done && result.peaks.channels == 0)
        return Failure("it holds no audio GStreamer could decode");
    return result;
}

}  // namespace decode
