#include "FormatTexts.h"

namespace wave {

const char* FormatName(std::uint16_t formatTag) {
    if (formatTag == kFormatPcm) return "PCM";
    if (formatTag == kFormatMpeg) return "MPEG";
    return "NOT PCM";
}

FormatTexts TextsOf(const WaveFormat& f) {
    auto s16 = [](std::uint16_t v) { return std::to_string(static_cast<std::int16_t>(v)); };
    auto s32 = [](std::uint32_t v) { return std::to_string(static_cast<std::int32_t>(v)); };
    return {FormatName(f.wFormatTag), s16(f.nChannels),      s32(f.nSamplesPerSec),
            s16(f.wBitsPerSample),    s32(f.nAvgBytesPerSec), s16(f.nBlockAlign)};
}

}  // namespace wave
