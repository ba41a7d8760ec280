#include "wave/SampleFormat.h"

#include <algorithm>
#include <cmath>

namespace wave {

std::optional<SampleFormat> PcmSampleFormat(const AudioData& audio) {
    const WaveFormat& f = audio.format;
    std::optional<SampleFormat> format;
    if (audio.coding == kFormatPcm) {
        if (f.bitsPerSample == 8) format = SampleFormat::Unsigned8;
        if (f.bitsPerSample == 16) format = SampleFormat::Int16;
        if (f.bitsPerSample == 24) format = SampleFormat::Int24;
        if (f.bitsPerSample == 32) format = SampleFormat::Int32;
    } else if (audio.coding == kFormatFloat) {
        if (f.bitsPerSample == 32) format = SampleFormat::Float32;
        if (f.bitsPerSample == 64) format = SampleFormat::Float64;
    }
    // A block that is not exactly one sample per channel would be read
    // as a different sound.
    if (!format || f.channels == 0 || f.blockAlign != f.channels * BytesPerSample(*format)) return std::nullopt;
    return format;
}

std::uint16_t BytesPerSample(SampleFormat format) {
    switch (format) {
        case SampleFormat::Unsigned8: return 1;
        case SampleFormat::Int16: return 2;
        case SampleFormat::Int24: return 3;
        case SampleFormat::Int32: return 4;
        case SampleFormat::Float32: return 4;
        case SampleFormat::Float64: return 8;
    }
    return 1;
}

std::int32_t FloatTo32(float sample) {
    // NaN carries no level; it reads as silence.
    if (std::isnan(sample)) return 0;
    const float scaled = std::clamp(sample * 32767.0f, -32768.0f, 32767.0f);
    return static_cast<std::int32_t>(std::lrint(scaled)) * 65536;
}

std::int32_t FloatTo32(double sample) {
    if (std::isnan(sample)) return 0;
    const double scaled = std::clamp(sample * 32767.0, -32768.0, 32767.0);
    return static_cast<std::int32_t>(std::lrint(scaled)) * 65536;
}

}  // namespace wave
