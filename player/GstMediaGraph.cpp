#include "player/GstMediaGraph.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>

#include "framework/WindowMessages.h"

namespace player {

namespace {

// Preroll of a local file takes milliseconds; a stuck one must not hang Play.
constexpr GstClockTime kRenderTimeout = 10 * GST_SECOND;
constexpr std::int64_t kNanosecondsPerUnit = 100;
// playbin's "audio" flag alone: a wave file needs no video or subtitles.
constexpr guint kPlayFlagAudio = 1u << 1;

}  // namespace

GstMediaGraph::GstMediaGraph(ElementHandle playbin, std::string audioSink)
    : playbin_(std::move(playbin)), audioSink_(std::move(audioSink)) {}

GstMediaGraph::~GstMediaGraph() {
    // Going to NULL joins the streaming threads, so the bus handler is not
    // running when it is taken away.
    gst_element_set_state(playbin_.get(), GST_STATE_NULL);
    if (bus_) gst_bus_set_sync_handler(bus_.get(), nullptr, nullptr, nullptr);
}

bool GstMediaGraph::NotifyWindow(QObject* receiver) {
    bus_.reset(gst_element_get_bus(playbin_.get()));
    if (!bus_) return false;
    {
        const std::lock_guard lock(mutex_);
        receiver_ = receiver;
    }
    gst_bus_set_sync_handler(bus_.get(), &GstMediaGraph::OnBusMessage, this, nullptr);
    return true;
}

GstBusSyncReply GstMediaGraph::OnBusMessage(GstBus*, GstMessage* message, gpointer self) {
    // Every message is dropped here, and a dropped message is the handler's
    // to unreference: it holds its element, and so the whole pipeline.
    const MessageHandle dropped(message);
    auto* graph = static_cast<GstMediaGraph*>(self);
    switch (GST_MESSAGE_TYPE(message)) {
        case GST_MESSAGE_EOS: graph->Post(EC_COMPLETE); break;
        case GST_MESSAGE_ERROR: {
            std::unique_lock lock(graph->mutex_);
            if (graph->rendering_) {
                graph->renderFailed_ = true;
            } else {
                lock.unlock();
                graph->Post(EC_ERRORABORT);
            }
            break;
        }
        default: break;
    }
    return GST_BUS_DROP;
}

void GstMediaGraph::Post(long eventCode) {
    const std::lock_guard lock(mutex_);
    events_.push_back(eventCode);
    if (receiver_) QCoreApplication::postEvent(receiver_, new QEvent(framework::WM_PLAYEREVENT));
}

bool GstMediaGraph::RenderFile(const QString& path) {
    const GCharHandle uri(gst_filename_to_uri(QFile::encodeName(path).constData(), nullptr));
    ElementHandle sink = AdoptElement(gst_parse_launch(audioSink_.c_str(), nullptr));
    if (!uri || !sink) return false;
    g_object_set(playbin_.get(), "uri", uri.get(), "audio-sink", sink.get(), "flags", kPlayFlagAudio, nullptr);
    {
        const std::lock_guard lock(mutex_);
        rendering_ = true;
        renderFailed_ = false;
    }
    bool ok = gst_element_set_state(playbin_.get(), GST_STATE_PAUSED) != GST_STATE_CHANGE_FAILURE;
    if (ok) {
        const GstStateChangeReturn settled = gst_element_get_state(playbin_.get(), nullptr, nullptr, kRenderTimeout);
        ok = settled == GST_STATE_CHANGE_SUCCESS || settled == GST_STATE_CHANGE_NO_PREROLL;
    }
    const std::lock_guard lock(mutex_);
    rendering_ = false;
    return ok && !renderFailed_;
}

SeekingAnswer GstMediaGraph::CheckSeeking() {
    const QueryHandle query(gst_query_new_seeking(GST_FORMAT_TIME));
    if (!gst_element_query(playbin_.get(), query.get())) return SeekingAnswer::Unknown;
    gboolean seekable = FALSE;
    gst_query_parse_seeking(query.get(), nullptr, &seekable, nullptr, nullptr);
    return seekable ? SeekingAnswer::Full : SeekingAnswer::Partial;
}

bool GstMediaGraph::Run() {
    return gst_element_set_state(playbin_.get(), GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE;
}

bool GstMediaGraph::Stop() { return gst_element_set_state(playbin_.get(), GST_STATE_NULL) != GST_STATE_CHANGE_FAILURE; }

std::optional<std::int64_t> GstMediaGraph::CurrentPosition() {
    gint64 position = 0;
    if (!gst_element_query_position(playbin_.get(), GST_FORMAT_TIME, &position)) return std::nullopt;
    return position / kNanosecondsPerUnit;
}

bool GstMediaGraph::SetPosition(std::int64_t position) {
    // Accurate: a marker placed by ear must play from where it is.
    return gst_element_seek_simple(playbin_.get(), GST_FORMAT_TIME,
                                   static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                                   position * kNanosecondsPerUnit) != FALSE;
}

std::optional<std::int64_t> GstMediaGraph::Duration() {
    gint64 duration = 0;
    if (!gst_element_query_duration(playbin_.get(), GST_FORMAT_TIME, &duration)) return std::nullopt;
    return duration / kNanosecondsPerUnit;
}

std::optional<long> GstMediaGraph::GetEvent() {
    const std::lock_guard lock(mutex_);
    if (events_.empty()) return std::nullopt;
    const long code = events_.front();
    events_.pop_front();
    return code;
}

std::unique_ptr<MediaGraph> GstMediaService::CreateGraph() {
    static const bool initialised = gst_init_check(nullptr, nullptr, nullptr) != FALSE;
    if (!initialised) return nullptr;
    ElementHandle playbin = AdoptElement(gst_element_factory_make("playbin", nullptr));
    if (!playbin) return nullptr;
    return std::make_unique<GstMediaGraph>(std::move(playbin), audioSink_);
}

}  // namespace player
