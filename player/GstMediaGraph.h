#pragma once

#include <QPointer>
#include <deque>
#include <mutex>
#include <string>

#include "player/GstHandles.h"
#include "player/MediaGraph.h"

namespace player {

// A graph on GStreamer's playbin.
class GstMediaGraph : public MediaGraph {
public:
    // The audio output is made from a launch description.
    GstMediaGraph(ElementHandle playbin, std::string audioSink);
    ~GstMediaGraph() override;

    bool NotifyWindow(QObject* receiver) override;
    bool RenderFile(const QString& path) override;
    SeekingAnswer CheckSeeking() override;
    bool Run() override;
    bool Stop() override;
    std::optional<std::int64_t> CurrentPosition() override;
    std::optional<std::int64_t> Duration() override;
    bool SetPosition(std::int64_t position) override;
    std::optional<long> GetEvent() override;

private:
    static GstBusSyncReply OnBusMessage(GstBus* bus, GstMessage* message, gpointer self);
    void Post(long eventCode);

    ElementHandle playbin_;
    BusHandle bus_;
    std::string audioSink_;
    std::mutex mutex_;  // the bus handler runs on GStreamer's threads
    std::deque<long> events_;
    QPointer<QObject> receiver_;
    bool rendering_ = false;
    bool renderFailed_ = false;
};

// Makes playbin graphs playing to the given audio output.
class GstMediaService : public MediaService {
public:
    explicit GstMediaService(std::string audioSink = "autoaudiosink") : audioSink_(std::move(audioSink)) {}
    std::unique_ptr<MediaGraph> CreateGraph() override;

private:
    std::string audioSink_;
};

}  // namespace player
