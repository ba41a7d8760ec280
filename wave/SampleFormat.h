#pragma once

#include <cstdint>
#include <optional>

#include "wave/AudioData.h"

namespace wave {

// The PCM sample codings the peak loop reads straight from the file.
enum class SampleFormat { Unsigned8, Int16, Int24, Int32, Float32, Float64 };

// The coding of integer or float PCM audio; none for compressed codings
// (MPEG, ADPCM, ...) and for blocks that do not hold whole frames of it.
std::optional<SampleFormat> PcmSampleFormat(const AudioData& audio);

std::uint16_t BytesPerSample(SampleFormat format);

// Peaks keep every sample as a signed 32-bit value, its most significant bit
// at bit 31: integer samples shifted up (8-bit offset to signed first), float
// samples scaled to 16 bits as waveform players do (x * 32767, rounded, held
// to the 16-bit range), then shifted up. So a peak narrows to 16 or 8 bits
// with a plain shift.
std::int32_t FloatTo32(float sample);
std::int32_t FloatTo32(double sample);

}  // namespace wave
