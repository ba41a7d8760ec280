#include "wave/FormatTexts.h"

#include <array>

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
    return {FormatName(f.wFormatTag),         s16(f.nChannels),       s32(f.nSamplesPerSec),
            std::to_string(f.wBitsPerSample), s32(f.nAvgBytesPerSec), s16(f.nBlockAlign)};
}

namespace {

using T = FormatTexts;

// "Fomat Tag:" is the page's own spelling.
constexpr std::array<FormatRow, 6> kRows = {{
    {"Fomat Tag:", &T::formatTag},
    {"Channel:", &T::channels},
    {"Sample Rate:", &T::sampleRate},
    {"Bits Per Sample:", &T::bitsPerSample},
    {"Average Bytes Per Sec:", &T::avgBytesPerSec},
    {"Block Align:", &T::blockAlign},
}};

}  // namespace

std::span<const FormatRow> FormatRows() { return kRows; }

}  // namespace wave
