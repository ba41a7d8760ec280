#include "wave/LoadFailure.h"

namespace wave {

// No default: a failure added to the enum breaks the build (-Wswitch) until
// it is placed here.
bool StreamStaysOpen(LoadFailure failure) {
    switch (failure) {
        case LoadFailure::None:
        case LoadFailure::NotWave:
        case LoadFailure::PrematureEnd:
        case LoadFailure::InvalidRiffHeader:
        case LoadFailure::NoFormatChunk: return true;
        case LoadFailure::OpenFailed:
        case LoadFailure::DataBeforeCart:
        case LoadFailure::CartNotFound:
        case LoadFailure::InvalidCartHeader: return false;
    }
    return false;
}

}  // namespace wave
