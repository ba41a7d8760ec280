#pragma once

#include <string>

#include "wave/Peaks.h"

namespace decode {

// The peaks of audio the core does not read itself (MPEG Layer II, A-law,
// ADPCM, ...), decoded by GStreamer to 16-bit samples, each kept shifted up
// to 32 bits as the core's peaks are. Frames count from the first decoded
// frame; framesPerBucket, cancel and arrived work as for ComputePcmPeaks.
// Fails, saying why, when no decoder takes the file.
wave::PeakResult DecodedPeaks(const std::string& path, const wave::PeakOptions& options);

}  // namespace decode
