#include "LoadFailure.h"

#include <array>

namespace wave {

namespace {

constexpr const char* kProgramName = "Reelmarker";

constexpr std::array<FailureMessage, 9> kMessages = {{
    {"", nullptr, MessageIcon::None, true},
    {"Unable to open file.\nMake sure it is not in use.", nullptr, MessageIcon::None, false},
    {"This file is not a wave file.", kProgramName, MessageIcon::Error, true},
    {"Premature end of file.", kProgramName, MessageIcon::Error, true},
    {"Invalid RIFF header.", kProgramName, MessageIcon::Error, true},
    {"Invalid wave file.\nWave header not found.", kProgramName, MessageIcon::Error, true},
    {"This is a valid wave file\nbut cart chunk not found.", kProgramName, MessageIcon::Error, false},
    {"Cart chunk NOT found.\n\nNOT EDITABLE", "Warning", MessageIcon::Exclamation, false},
    {"Invalid cart chunk header.", "Warning", MessageIcon::Error, false},
}};

}  // namespace

const FailureMessage& MessageFor(LoadFailure failure) { return kMessages[static_cast<std::size_t>(failure)]; }

const char* CaptionFor(LoadFailure failure, const char* applicationName) {
    const char* own = MessageFor(failure).caption;
    return own != nullptr ? own : applicationName;
}

}  // namespace wave
