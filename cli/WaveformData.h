#pragma once

#include <cstdint>
#include <string>

#include "wave/Peaks.h"

namespace cli {

// The waveform data web players read (peaks.js and others), version 2: a
// header, then min and max per pixel, channels interleaved, narrowed to 8
// or 16 bits by a shift, as that format defines.
struct WaveformHeader {
    std::uint32_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::uint32_t samplesPerPixel = 0;
    int bits = 16;
    std::uint32_t length = 0;  // pixels
};

WaveformHeader HeaderOf(const wave::Peaks& peaks, int bits);

// {"version":2,"channels":C,"sample_rate":R,"samples_per_pixel":N,"bits":B,
// "length":L,"data":[...]}
std::string WaveformJson(const wave::Peaks& peaks, int bits);

// The binary form: int32 version 2, uint32 flags (bit 0: 8-bit), int32
// sample rate, int32 samples per pixel, uint32 length, int32 channels, then
// int8 or int16 values, little-endian.
std::string WaveformDat(const wave::Peaks& peaks, int bits);

}  // namespace cli
