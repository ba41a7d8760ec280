#pragma once

#include <deque>
#include <memory>

#include "player/MediaGraph.h"

// A media service whose graphs do what the test scripts, and remember what
// the page asked of them.
struct GraphScript {
    bool createFails = false;
    bool notifyFails = false;
    bool renderFails = false;
    bool runFails = false;
    player::SeekingAnswer seeking = player::SeekingAnswer::Full;
    std::optional<std::int64_t> position = 755'000'000;     // 75.5 s
    std::optional<std::int64_t> duration = 37'230'000'000;  // 3723 s
    std::deque<long> events;
    int graphsAlive = 0;
    int stops = 0;
    QString renderedPath;
};

class FakeMediaGraph : public player::MediaGraph {
public:
    explicit FakeMediaGraph(GraphScript& script) : script_(script) { ++script_.graphsAlive; }
    ~FakeMediaGraph() override { --script_.graphsAlive; }
    bool NotifyWindow(QObject*) override { return !script_.notifyFails; }
    bool RenderFile(const QString& path) override {
        script_.renderedPath = path;
        return !script_.renderFails;
    }
    player::SeekingAnswer CheckSeeking() override { return script_.seeking; }
    bool Run() override { return !script_.runFails; }
    bool Stop() override {
        ++script_.stops;
        return true;
    }
    std::optional<std::int64_t> CurrentPosition() override { return script_.position; }
    std::optional<std::int64_t> Duration() override { return script_.duration; }
    std::optional<long> GetEvent() override {
        if (script_.events.empty()) return std::nullopt;
        const long code = script_.events.front();
        script_.events.pop_front();
        return code;
    }

private:
    GraphScript& script_;
};

class FakeMediaService : public player::MediaService {
public:
    explicit FakeMediaService(GraphScript& script) : script_(script) {}
    std::unique_ptr<player::MediaGraph> CreateGraph() override {
        if (script_.createFails) return nullptr;
        return std::make_unique<FakeMediaGraph>(script_);
    }

private:
    GraphScript& script_;
};

// The fake service over a script stands in for the real one for as long as
// this lives.
class FakeServiceInPlace {
public:
    explicit FakeServiceInPlace(GraphScript& script)
        : previous_(player::SetMediaService(std::make_unique<FakeMediaService>(script))) {}
    ~FakeServiceInPlace() { player::SetMediaService(std::move(previous_)); }
    FakeServiceInPlace(const FakeServiceInPlace&) = delete;
    FakeServiceInPlace& operator=(const FakeServiceInPlace&) = delete;

private:
    std::unique_ptr<player::MediaService> previous_;
};
