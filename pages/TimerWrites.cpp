#include "pages/TimerWrites.h"

#include "wave/ChunkLayout.h"

wave::CartWrites TimerWrites(const wave::PostTimers& now, const wave::PostTimers& asLoaded) {
    wave::CartWrites writes;
    for (std::size_t k = 0; k < now.size(); ++k) {
        if (now[k] == asLoaded[k]) continue;
        std::string bytes;
        for (const std::uint32_t word : {now[k].usage, now[k].value})
            for (int b = 0; b < 4; ++b) bytes.push_back(static_cast<char>((word >> (8 * b)) & 0xFF));
        const wave::Field slot{wave::cart::kPostTimers + k * wave::cart::kPostTimerSize, wave::cart::kPostTimerSize};
        writes.push_back({wave::CartField::Timers, std::move(bytes), slot});
    }
    return writes;
}
