#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "wave/CheckRules.h"
#include "wave/TextCodec.h"
#include "wave/WaveStream.h"

namespace wave {

// One thing a rule found in a file, and the byte it concerns where there is
// one.
struct Finding {
    std::string rule;
    Severity severity = Severity::Info;
    std::string message;
    std::optional<std::int64_t> offset;
};

using Findings = std::vector<Finding>;

// The system the files are going to: it changes only the timer rules.
enum class CheckProfile { Generic, Rivendell, Enco, Genesys };

struct CheckOptions {
    CheckProfile profile = CheckProfile::Generic;
    Charset charset = Charset::Windows1252;
    // The cart rules also check a cart chunk the fixed-order walk does not
    // reach, as `--any-layout` reads it.
    bool anyLayout = false;
};

// "error", "warning", "info".
const char* SeverityName(Severity severity);

// How many findings have the severity.
std::size_t CountOf(const Findings& findings, Severity severity);

// "No problems found", or "2 errors, 1 warning": the errors and warnings.
std::string FindingsSummary(const Findings& findings);

// Every rule the file's chunks allow, applied to an open file: structure
// always; bext rules where a bext chunk is; cart rules where a cart chunk
// is. Reads chunk headers and the fmt, ds64, bext and cart chunks, never
// the audio.
Findings CheckWave(WaveStream& file, const CheckOptions& options);

}  // namespace wave
