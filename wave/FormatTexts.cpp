#include "wave/FormatTexts.h"

namespace wave {

const char* FormatName(std::uint16_t formatTag) {
    if (formatTag == kFormatPcm) return "PCM";
    if (formatTag == kFormatMpeg) return "MPEG";
    return "NOT PCM";
}

FormatTexts TextsOf(const WaveFormat& f) {
    auto s16 = [](std::uint16_t v) { return std::to_string(static_cast<std::int16_t>(v)); };
    auto s32 = [](std::uint32_t v) { return std::to_string(static_cast<std::int32_t>(v)); };
    // A bit count is never negative; MPEG files store 0xFFFF there.
    return {FormatName(f.formatTag),         s16(f.channels),       s32(f.samplesPerSec),
            std::to_string(f.bitsPerSample), s32(f.avgBytesPerSec), s16(f.blockAlign)};
}

}  // namespace wave
