#include "wave/WaveCheck.h"

#include <algorithm>

#include "wave/ChunkChecks.h"

namespace wave {

const char* SeverityName(Severity severity) {
    switch (severity) {
        case Severity::Error: return "error";
        case Severity::Warning: return "warning";
        case Severity::Info: return "info";
    }
    return "info";
}

std::size_t CountOf(const Findings& findings, Severity severity) {
    return static_cast<std::size_t>(std::count_if(findings.begin(), findings.end(),
                                                  [severity](const Finding& f) { return f.severity == severity; }));
}

std::string FindingsSummary(const Findings& findings) {
    const std::size_t errors = CountOf(findings, Severity::Error);
    const std::size_t warnings = CountOf(findings, Severity::Warning);
    if (errors == 0 && warnings == 0) return "No problems found";
    const auto counted = [](std::size_t n, const char* what) {
        return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
    };
    if (warnings == 0) return counted(errors, "error");
    if (errors == 0) return counted(warnings, "warning");
    return counted(errors, "error") + ", " + counted(warnings, "warning");
}

Findings CheckWave(WaveStream& file, const CheckOptions& options) {
    Findings findings;
    const std::optional<CheckedLayout> layout = CheckLayout(file, findings);
    if (!layout) return findings;
    CheckBext(*layout, options, findings);
    CheckCart(*layout, options, findings);
    return findings;
}

}  // namespace wave
