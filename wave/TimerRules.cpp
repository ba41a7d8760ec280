// The timer rules: the usage grammar, values within the audio, pairs in
// order, and what the system the files go to reads of them.
#include <algorithm>
#include <map>
#include <set>

#include "wave/CartValues.h"
#include "wave/ChunkChecks.h"
#include "wave/ChunkLayout.h"
#include "wave/PostTimerLines.h"
#include "wave/TimerChecks.h"
#include "wave/TimerUsage.h"

namespace wave {

namespace {

// How a system takes a usage code it does not cue on: said as a warning or
// as information, or not at all where it reads the code.
struct SystemReading {
    std::optional<Severity> note;
    const char* how = "";
};

bool IsOneOf(const std::string& code, std::initializer_list<const char*> codes) {
    return std::any_of(codes.begin(), codes.end(), [&code](const char* c) { return code == c; });
}

SystemReading ReadingOf(CheckProfile profile, const std::string& code, TimerType type) {
    switch (profile) {
        case CheckProfile::Generic: return {};
        case CheckProfile::Rivendell:
            if (IsOneOf(code, {"AUDs", "AUDe", "AUD ", "INTs", "INTe", "INT ", "INT1", "SEGs", "SEC1", "SEGe", "EOD "}))
                return {};
            return {Severity::Warning, "ignored by this system"};
        case CheckProfile::Enco:
            if (type == TimerType::Marker) return {Severity::Info, "ignored by this system"};
            if (type == TimerType::Secondary || type == TimerType::Tertiary)
                return {Severity::Info, "triggers a hardware event in this system"};
            if (type == TimerType::Audio || type == TimerType::Intro || type == TimerType::Segue) return {};
            return {Severity::Warning, "ignored by this system"};
        case CheckProfile::Genesys:
            if (IsOneOf(code, {"AUDs", "AUDe", "INT ", "SEC1", "MRK1", "MRK2"})) return {};
            return {Severity::Warning, "ignored by this system"};
    }
    return {};
}

class TimerChecker {
public:
    TimerChecker(const CheckedChunkData& cart, const CheckedLayout& layout, CheckProfile profile, Findings& findings)
        : cart_(cart),
          layout_(layout),
          profile_(profile),
          findings_(findings),
          timers_(CartValues(cart.bytes).Timers()),
          rate_(layout.format ? layout.format->samplesPerSec : 0) {}

    void Run() {
        std::map<std::string, int> uses;
        int plainAudio = 0;
        for (std::size_t k = 0; k < timers_.size(); ++k) {
            const PostTimer& timer = timers_[k];
            if (IsUnsetUsage(timer.usage)) {
                if (timer.value != 0)
                    Add("C9", Severity::Info, Slot(k) + "is unused but holds the value " + std::to_string(timer.value),
                        k);
                continue;
            }
            const std::string code = UsageCode(timer.usage);
            const std::optional<TimerUsage> usage = ParseUsage(timer.usage);
            if (!usage) {
                Add("C8", Severity::Warning, Slot(k) + "usage \"" + code + "\" is outside the grammar; it is kept", k);
                continue;
            }
            if (const SystemReading reading = ReadingOf(profile_, code, usage->type); reading.note)
                Add("C8", *reading.note, Slot(k) + "\"" + code + "\" is " + reading.how, k);
            if (layout_.dataFrames) {
                if (std::optional<std::string> past = ValueRefusal(timer.value, *layout_.dataFrames, rate_))
                    Add("C10", Severity::Error, Slot(k) + "\"" + code + "\": " + *past, k);
            }
            if (usage->type == TimerType::Audio && usage->role == TimerRole::Plain) ++plainAudio;
            if (usage->type == TimerType::Audio && usage->role == TimerRole::Numbered)
                Add("C12", Severity::Warning, Slot(k) + "\"" + code + "\": AUD is used only with s and e", k);
            ++uses[code];
        }
        CheckAudioPairs(uses, plainAudio);
        for (const std::string& warning : OrderWarnings(timers_, rate_)) Add("C11", Severity::Warning, warning);
        CheckWithinAudioBounds();
    }

private:
    void Add(const char* rule, Severity severity, std::string message, std::optional<std::size_t> slot = std::nullopt) {
        const std::int64_t at = static_cast<std::int64_t>(cart::kPostTimers + cart::kPostTimerSize * slot.value_or(0));
        findings_.push_back({rule, severity, "cart: " + std::move(message), cart_.dataPos + at});
    }

    static std::string Slot(std::size_t k) { return "timer " + std::to_string(k + 1) + ": "; }

    // Two plain AUD timers are a start and an end; one, or three, is a
    // bound nobody can place. AUDs and AUDe come once each, except where
    // the system reads a second start.
    void CheckAudioPairs(const std::map<std::string, int>& uses, int plainAudio) {
        if (plainAudio == 2) {
            Add("C12", Severity::Info, "two plain \"AUD \" timers are read as the audio's start and end");
        } else if (plainAudio != 0) {
            Add("C12", Severity::Warning,
                std::to_string(plainAudio) + " plain \"AUD \" timer" + (plainAudio == 1 ? "" : "s") +
                    "; AUD is used with s and e");
        }
        for (const char* code : {"AUDs", "AUDe"}) {
            const auto found = uses.find(code);
            const bool mayRepeat = profile_ == CheckProfile::Enco && std::string_view(code) == "AUDs";
            if (found != uses.end() && found->second > 1 && !mayRepeat)
                Add("C13", Severity::Warning,
                    std::string("\"") + code + "\" is used " + std::to_string(found->second) +
                        " times; it marks one bound");
        }
    }

    // Intro and segue markers lie within the audio's bounds where both are set.
    void CheckWithinAudioBounds() {
        const PostTimer* start = Find(TimerType::Audio, TimerRole::Start);
        const PostTimer* end = Find(TimerType::Audio, TimerRole::End);
        if (!start || !end || start->value > end->value) return;
        for (std::size_t k = 0; k < timers_.size(); ++k) {
            const std::optional<TimerUsage> usage = ParseUsage(timers_[k].usage);
            if (!usage || (usage->type != TimerType::Intro && usage->type != TimerType::Segue)) continue;
            if (timers_[k].value < start->value || timers_[k].value > end->value) {
                Add("C11", Severity::Warning,
                    Slot(k) + "\"" + UsageCode(timers_[k].usage) + "\" lies outside AUDs..AUDe", k);
            }
        }
    }

    const PostTimer* Find(TimerType type, TimerRole role) const {
        for (const PostTimer& timer : timers_) {
            const std::optional<TimerUsage> usage = ParseUsage(timer.usage);
            if (usage && usage->type == type && usage->role == role) return &timer;
        }
        return nullptr;
    }

    const CheckedChunkData& cart_;
    const CheckedLayout& layout_;
    CheckProfile profile_;
    Findings& findings_;
    PostTimers timers_;
    std::uint32_t rate_;
};

}  // namespace

void CheckTimers(const CheckedChunkData& cart, const CheckedLayout& layout, CheckProfile profile, Findings& findings) {
    TimerChecker(cart, layout, profile, findings).Run();
}

}  // namespace wave
