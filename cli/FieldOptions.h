#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "wave/CartWrites.h"
#include "wave/TextCodec.h"

namespace cli {

// The cart fields `set` can write: the core's rows that name an option, in
// field order.
std::vector<const wave::CartFieldRow*> SettableFields();

// The option's help text: what it sets and the limit it keeps to.
std::string HelpFor(const wave::CartFieldRow& row);

// The value turned into what the field stores, or a message naming the
// limit it breaks: 8-bit characters only, text widths in
// bytes, dates and times in range.
struct CheckedValue {
    std::optional<wave::CartWrite> write;
    std::string error;
};
CheckedValue CheckValue(const wave::CartFieldRow& row, const std::string& utf8, wave::Charset charset);

// A post timer as its parts: its number (1 to 8), usage code and sample
// count. `--timer` text and `apply`'s typed timers are checked as these.
struct TimerValue {
    std::size_t number;
    std::string usage;
    std::uint32_t samples;
};
CheckedValue CheckTimer(const TimerValue& timer, wave::Charset charset);

// Eight NUL bytes for post timer `number`, or the limit it breaks.
CheckedValue ClearTimer(std::size_t number);

// `--clear-timer N`: eight NUL bytes for post timer N (1 to 8).
inline constexpr const char* kClearTimerOption = "--clear-timer";

// A field named on the command line and the text given for it; for
// `--clear-timer`, the post timers' row and the timer's number.
struct RequestedValue {
    const wave::CartFieldRow* row;
    std::string text;
    bool clearTimer = false;
};
CheckedValue CheckRequested(const RequestedValue& value, wave::Charset charset);

}  // namespace cli
