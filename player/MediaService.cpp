#include "GstMediaGraph.h"

namespace player {

namespace {
std::unique_ptr<MediaService>& Current() {
    static std::unique_ptr<MediaService> service = std::make_unique<GstMediaService>();
    return service;
}
}  // namespace

MediaService& MediaServices() { return *Current(); }

std::unique_ptr<MediaService> SetMediaService(std::unique_ptr<MediaService> service) {
    std::swap(Current(), service);
    return service;
}

}  // namespace player
