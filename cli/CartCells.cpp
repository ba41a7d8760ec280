#include "cli/CartCells.h"

#include "wave/CartValues.h"
#include "wave/Overloaded.h"
#include "wave/PostTimerLines.h"

namespace cli {

const std::vector<CartColumn>& CartColumns() {
    static const std::vector<CartColumn> columns = [] {
        std::vector<CartColumn> all;
        for (const wave::CartFieldRow& row : wave::CartFieldRows()) {
            if (row.kind != wave::FieldKind::Timers) {
                all.push_back({&row, row.key});
                continue;
            }
            for (std::size_t k = 0; k < wave::cart::kPostTimerCount; ++k)
                all.push_back({&row, "timer" + std::to_string(k + 1), k});
        }
        return all;
    }();
    return columns;
}

std::string TimerCell(const std::string& usage, std::uint32_t samples) {
    // An all-NUL usage is unset whatever the value (some writers store
    // 0xFFFFFFFF there), as the post-timer lines say.
    if (usage.empty()) return {};
    return usage + ":" + std::to_string(samples);
}

std::string CellOf(const CartColumn& column, const wave::CartValues& cart, wave::Charset charset) {
    auto decoded = [&](const std::string& text) { return wave::DecodeText(text, charset); };
    return std::visit(wave::Overloaded{[&](const std::string& text) { return decoded(text); },
                                       [](std::uint32_t number) { return std::to_string(number); },
                                       [&](const wave::PostTimers& timers) {
                                           const wave::PostTimer& timer = timers[column.timer];
                                           return TimerCell(decoded(wave::UsageText(timer.usage)), timer.value);
                                       },
                                       [](wave::NoUrlArea) { return std::string(); }},
                      cart.Of(column.row->field));
}

}  // namespace cli
