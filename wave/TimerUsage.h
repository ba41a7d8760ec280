#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wave {

// What a post timer marks. Automation systems cue on these: where the audio
// starts and ends, how long the intro runs, where the next item may start.
enum class TimerType { Segue, Audio, Intro, Outro, Secondary, Tertiary, Marker, EndOfData };

inline constexpr std::array kTimerTypes = {TimerType::Segue,  TimerType::Audio,     TimerType::Intro,
                                           TimerType::Outro,  TimerType::Secondary, TimerType::Tertiary,
                                           TimerType::Marker, TimerType::EndOfData};

// The fourth character of a usage code: "s", "e", a digit or a space.
enum class TimerRole { Start, End, Numbered, Plain };

// A usage code read by the grammar: a three-letter type and a role.
struct TimerUsage {
    TimerType type = TimerType::Marker;
    TimerRole role = TimerRole::Plain;
    int number = 0;  // the digit, for Numbered

    bool operator==(const TimerUsage&) const = default;
};

// An unused slot: all four bytes zero.
constexpr bool IsUnsetUsage(std::uint32_t usage) { return usage == 0; }

// The code read by the grammar; none for an unset slot or a code outside it
// (such codes are kept and shown as stored, never rewritten).
std::optional<TimerUsage> ParseUsage(std::uint32_t usage);
// The four bytes of a code the grammar knows, first character lowest.
std::uint32_t UsageWord(const TimerUsage& usage);
// 1 to 4 bytes, NUL-padded, as a usage word; none when longer or empty.
std::optional<std::uint32_t> UsageWordOf(std::string_view bytes);

// "SEG", "AUD", ...
std::string_view TypeCode(TimerType type);
// "segue", "audio", ... for lists and screen readers.
std::string_view TypeName(TimerType type);

// The start code's type for a pair whose span is shaded (INTs..INTe,
// SEGs..SEGe, AUDs..AUDe): true for those three types.
bool HasSpan(TimerType type);

}  // namespace wave
