#pragma once

#include <cstddef>

namespace wave {

// A fixed-width field of a chunk's data: offset from the first data byte.
struct Field {
    std::size_t offset;
    std::size_t width;
};

namespace bext {
inline constexpr Field kDescription{0, 256};
inline constexpr Field kOriginator{256, 32};
inline constexpr Field kOriginatorReference{288, 32};
inline constexpr Field kOriginationDate{320, 10};
inline constexpr Field kOriginationTime{330, 8};
inline constexpr std::size_t kTimeReference = 338;  // 64 bits, low word first
inline constexpr std::size_t kVersion = 346;
inline constexpr std::size_t kLoudness = 412;       // five 16-bit values, version 2
inline constexpr std::size_t kCodingHistory = 602;  // runs to the end of the chunk
}  // namespace bext

namespace cart {
inline constexpr Field kVersion{0, 4};
inline constexpr Field kTitle{4, 64};
inline constexpr Field kArtist{68, 64};
inline constexpr Field kCutID{132, 64};
inline constexpr Field kClientID{196, 64};
inline constexpr Field kCategory{260, 64};
inline constexpr Field kClassification{324, 64};
inline constexpr Field kOutCue{388, 64};
inline constexpr Field kStartDate{452, 10};
inline constexpr Field kStartTime{462, 8};
inline constexpr Field kEndDate{470, 10};
inline constexpr Field kEndTime{480, 8};
inline constexpr Field kProducerAppID{488, 64};
inline constexpr Field kProducerAppVersion{552, 64};
inline constexpr Field kUserDef{616, 64};
inline constexpr std::size_t kLevelReference = 680;
inline constexpr std::size_t kPostTimers = 684;
inline constexpr std::size_t kPostTimerCount = 8;
inline constexpr std::size_t kPostTimerSize = 8;
inline constexpr Field kURL{1024, 1024};
inline constexpr std::size_t kTagText = 2048;  // runs to the end of the chunk
}  // namespace cart

}  // namespace wave
