#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

class QObject;

namespace player {

// Event codes the page acts on.
inline constexpr long EC_COMPLETE = 1;    // playback reached the end
inline constexpr long EC_USERABORT = 2;   // the user aborted playback
inline constexpr long EC_ERRORABORT = 3;  // the media service failed during playback

// What asking for full seeking (absolute, forwards, backwards) answers.
enum class SeekingAnswer {
    None,     // the graph has no seeking at all
    Partial,  // only some of the three: no position is shown
    Full,
    Unknown,  // the question failed; seeking is kept and tried
};

// A playback graph for one file, shaped after the calls the Player page
// makes: event notification, render, seeking, run, stop, positions in
// 100 ns units, and the next waiting event without waiting.
class MediaGraph {
public:
    virtual ~MediaGraph() = default;
    // From now on WM_PLAYEREVENT is posted to the receiver whenever events
    // wait. False: the graph has no event notification.
    virtual bool NotifyWindow(QObject* receiver) = 0;
    // Builds what plays the file on the audio output. False when it cannot.
    virtual bool RenderFile(const QString& path) = 0;
    virtual SeekingAnswer CheckSeeking() = 0;
    // Starts playback and returns at once.
    virtual bool Run() = 0;
    virtual bool Stop() = 0;
    virtual std::optional<std::int64_t> CurrentPosition() = 0;
    virtual std::optional<std::int64_t> Duration() = 0;
    // Moves playback to the position (100 ns units). False when the graph
    // cannot seek.
    virtual bool SetPosition(std::int64_t) { return false; }
    // The next waiting event, or nothing when none waits.
    virtual std::optional<long> GetEvent() = 0;
};

// Makes graphs; null when the media service is not there.
class MediaService {
public:
    virtual ~MediaService() = default;
    virtual std::unique_ptr<MediaGraph> CreateGraph() = 0;
};

// The service in use (GStreamer unless replaced) and its replacement.
MediaService& MediaServices();
std::unique_ptr<MediaService> SetMediaService(std::unique_ptr<MediaService> service);

}  // namespace player
