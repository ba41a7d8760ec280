#include "wave/TimerChecks.h"

#include "wave/TimerTime.h"
#include "wave/TimerUsage.h"

namespace wave {

std::optional<std::string> ValueRefusal(std::uint64_t value, std::uint64_t frames, std::uint32_t sampleRate) {
    if (value <= frames) return std::nullopt;
    return "the time " + MinutesText(value, sampleRate) + " lies past the end of the audio (" +
           MinutesText(frames, sampleRate) + ", frame " + std::to_string(frames) + ")";
}

std::vector<std::string> OrderWarnings(const PostTimers& timers, std::uint32_t sampleRate) {
    std::vector<std::string> warnings;
    for (const TimerType type : kTimerTypes) {
        const PostTimer* start = nullptr;
        const PostTimer* end = nullptr;
        for (const PostTimer& timer : timers) {
            const auto usage = ParseUsage(timer.usage);
            if (!usage || usage->type != type) continue;
            if (usage->role == TimerRole::Start && !start) start = &timer;
            if (usage->role == TimerRole::End && !end) end = &timer;
        }
        if (!start || !end || start->value <= end->value) continue;
        const std::string code{TypeCode(type)};
        warnings.push_back(code + "s (" + MinutesText(start->value, sampleRate) + ") is after " + code + "e (" +
                           MinutesText(end->value, sampleRate) + ")");
    }
    return warnings;
}

}  // namespace wave
