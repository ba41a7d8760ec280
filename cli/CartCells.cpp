#include "cli/CartCells.h"

#include "wave/FieldCodecs.h"
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

std::string CellOf(const CartColumn& column, const LoadedFile& loaded) {
    using Kind = wave::FieldKind;
    const wave::ConstBytes data = *loaded.document.m_pCartData;
    const wave::CartInfo2Record& page2 = loaded.records.cart2;
    const wave::CartFieldRow& row = *column.row;
    auto decoded = [&](const std::string& text) { return wave::DecodeText(text, loaded.charset); };
    switch (row.kind) {
        case Kind::Text:
        case Kind::Date:
        case Kind::Time: return decoded(wave::ReadTextField(data, row.layout));
        case Kind::Url: return page2.m_bUrlSupported ? decoded(page2.m_strURL) : std::string();
        case Kind::Number: return std::to_string(wave::ReadU32(data, row.layout.offset));
        case Kind::Timers: {
            const wave::PostTimer& timer = page2.m_timers[column.timer];
            return TimerCell(decoded(wave::UsageText(timer.dwUsage)), timer.dwValue);
        }
        case Kind::TextToEnd: return decoded(wave::ReadTextToEnd(data, row.layout.offset));
    }
    return {};
}

}  // namespace cli
