#include "framework/ServiceSlot.h"
#include "player/GstMediaGraph.h"

namespace player {

namespace {
using Slot = framework::ServiceSlot<MediaService, GstMediaService>;
}  // namespace

MediaService& MediaServices() { return Slot::Current(); }

std::unique_ptr<MediaService> SetMediaService(std::unique_ptr<MediaService> service) {
    return Slot::Replace(std::move(service));
}

}  // namespace player
