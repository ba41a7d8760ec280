#pragma once

#include <string>
#include <vector>

#include "cli/LoadedFile.h"

namespace cli {

// One column of the cart in `show --csv` and in `apply`'s edits: a field's
// key, or one post timer ("timer1" to "timer8").
struct CartColumn {
    const wave::CartFieldRow* row;
    std::string name;
    std::size_t timer = 0;  // which post timer, from 0, in the timers' columns
};

// Every cart column, in the order of the fields' bytes.
const std::vector<CartColumn>& CartColumns();

// The column's value in cart data as text, decoded from the file's
// character set: a number in decimal, a timer as "USAGE:SAMPLES", an unset
// timer and an absent URL area as empty text.
std::string CellOf(const CartColumn& column, const wave::CartValues& cart, wave::Charset charset);

// "USAGE:SAMPLES", or empty text for an unset timer (no usage code), whatever
// its sample count.
std::string TimerCell(const std::string& usage, std::uint32_t samples);

}  // namespace cli
