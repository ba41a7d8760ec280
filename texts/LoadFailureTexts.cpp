#include "texts/LoadFailureTexts.h"

#include <array>

#include "texts/ProgramName.h"

namespace texts {

namespace {

using wave::LoadFailure;

struct Row {
    LoadFailure failure;
    FailureMessage message;
};

// Indexed by the failure's number.
constexpr auto kRows = std::to_array<Row>({
    {LoadFailure::None, {"", nullptr, MessageIcon::None}},
    {LoadFailure::OpenFailed, {"Unable to open file.\nMake sure it is not in use.", nullptr, MessageIcon::None}},
    {LoadFailure::NotWave, {"This file is not a wave file.", kProgramName, MessageIcon::Error}},
    {LoadFailure::PrematureEnd, {"Premature end of file.", kProgramName, MessageIcon::Error}},
    {LoadFailure::InvalidRiffHeader, {"Invalid RIFF header.", kProgramName, MessageIcon::Error}},
    {LoadFailure::NoFormatChunk, {"Invalid wave file.\nWave header not found.", kProgramName, MessageIcon::Error}},
    {LoadFailure::DataBeforeCart,
     {"This is a valid wave file\nbut cart chunk not found.", kProgramName, MessageIcon::Error}},
    {LoadFailure::CartNotFound, {"Cart chunk NOT found.\n\nNOT EDITABLE", "Warning", MessageIcon::Exclamation}},
    {LoadFailure::InvalidCartHeader, {"Invalid cart chunk header.", "Warning", MessageIcon::Error}},
});

constexpr bool OneRowPerFailureInOrder() {
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        if (static_cast<std::size_t>(kRows[i].failure) != i) return false;
    }
    return kRows.back().failure == wave::kLastLoadFailure;
}
static_assert(OneRowPerFailureInOrder(), "the failure table needs one row per failure, in the enum's order");

}  // namespace

const FailureMessage& MessageFor(LoadFailure failure) { return kRows[static_cast<std::size_t>(failure)].message; }

const char* CaptionFor(LoadFailure failure, const char* applicationName) {
    const char* own = MessageFor(failure).caption;
    return own != nullptr ? own : applicationName;
}

}  // namespace texts
