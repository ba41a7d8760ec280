#include "LoadFailure.h"

#include <array>

namespace wave {

namespace {

constexpr const char* kProgramName = "Reelmarker";

struct Row {
    LoadFailure failure;
    FailureMessage message;
};

// Indexed by the failure's number.
constexpr auto kRows = std::to_array<Row>({
    {LoadFailure::None, {"", nullptr, MessageIcon::None, true}},
    {LoadFailure::OpenFailed, {"Unable to open file.\nMake sure it is not in use.", nullptr, MessageIcon::None, false}},
    {LoadFailure::NotWave, {"This file is not a wave file.", kProgramName, MessageIcon::Error, true}},
    {LoadFailure::PrematureEnd, {"Premature end of file.", kProgramName, MessageIcon::Error, true}},
    {LoadFailure::InvalidRiffHeader, {"Invalid RIFF header.", kProgramName, MessageIcon::Error, true}},
    {LoadFailure::NoFormatChunk,
     {"Invalid wave file.\nWave header not found.", kProgramName, MessageIcon::Error, true}},
    {LoadFailure::DataBeforeCart,
     {"This is a valid wave file\nbut cart chunk not found.", kProgramName, MessageIcon::Error, false}},
    {LoadFailure::CartNotFound, {"Cart chunk NOT found.\n\nNOT EDITABLE", "Warning", MessageIcon::Exclamation, false}},
    {LoadFailure::InvalidCartHeader, {"Invalid cart chunk header.", "Warning", MessageIcon::Error, false}},
});

// Whether the failure is the enum's last. The switch has no default, so a
// failure added to the enum breaks the build (-Wswitch) until it is placed
// here, and then the check below until it has its row.
constexpr bool IsLast(LoadFailure failure) {
    switch (failure) {
        case LoadFailure::None:
        case LoadFailure::OpenFailed:
        case LoadFailure::NotWave:
        case LoadFailure::PrematureEnd:
        case LoadFailure::InvalidRiffHeader:
        case LoadFailure::NoFormatChunk:
        case LoadFailure::DataBeforeCart:
        case LoadFailure::CartNotFound: return false;
        case LoadFailure::InvalidCartHeader: return true;
    }
    return false;
}

constexpr bool OneRowPerFailureInOrder() {
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        if (static_cast<std::size_t>(kRows[i].failure) != i) return false;
    }
    return IsLast(kRows.back().failure);
}
static_assert(OneRowPerFailureInOrder(), "the failure table needs one row per failure, in the enum's order");

}  // namespace

const FailureMessage& MessageFor(LoadFailure failure) { return kRows[static_cast<std::size_t>(failure)].message; }

const char* CaptionFor(LoadFailure failure, const char* applicationName) {
    const char* own = MessageFor(failure).caption;
    return own != nullptr ? own : applicationName;
}

}  // namespace wave
