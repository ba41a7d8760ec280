#pragma once

#include <array>
#include <span>
#include <string>

#include "wave/WaveFormat.h"

namespace wave {

// The format block as the Start page shows it: 16-bit values as signed
// 16-bit numbers, 32-bit values as signed 32-bit numbers, but for the bits
// per sample, shown as stored.
struct FormatTexts {
    std::string formatTag;  // "PCM", "MPEG" or "NOT PCM"
    std::string channels;
    std::string sampleRate;
    std::string bitsPerSample;
    std::string avgBytesPerSec;
    std::string blockAlign;
};

inline constexpr std::uint16_t kFormatPcm = 1;
inline constexpr std::uint16_t kFormatMpeg = 0x0050;

const char* FormatName(std::uint16_t formatTag);
FormatTexts TextsOf(const WaveFormat& format);

// The Start page's caption of the format, and its labels of the texts in
// the order the reports list them.
inline constexpr const char* kFormatCaption = "Wave Info";
struct FormatRow {
    const char* label;
    std::string FormatTexts::*text;
};
// "Fomat Tag:" is the page's own spelling.
inline constexpr std::array<FormatRow, 6> kFormatRows = {{
    {"Fomat Tag:", &FormatTexts::formatTag},
    {"Channel:", &FormatTexts::channels},
    {"Sample Rate:", &FormatTexts::sampleRate},
    {"Bits Per Sample:", &FormatTexts::bitsPerSample},
    {"Average Bytes Per Sec:", &FormatTexts::avgBytesPerSec},
    {"Block Align:", &FormatTexts::blockAlign},
}};
constexpr std::span<const FormatRow> FormatRows() { return kFormatRows; }

// The label of one of the texts.
constexpr const char* FormatLabel(std::string FormatTexts::*text) {
    for (const FormatRow& row : kFormatRows) {
        if (row.text == text) return row.label;
    }
    return "";
}

}  // namespace wave
