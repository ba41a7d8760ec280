#pragma once

namespace wave {

// Which check ended a load. The numbers are the rows of the loader's
// failure table; None means the cart chunk loaded.
enum class LoadFailure {
    None = 0,
    OpenFailed = 1,
    NotWave = 2,
    PrematureEnd = 3,
    InvalidRiffHeader = 4,
    NoFormatChunk = 5,
    DataBeforeCart = 6,
    CartNotFound = 7,
    InvalidCartHeader = 8,
};

// The last row: tables with a row per failure check that they end here.
inline constexpr LoadFailure kLastLoadFailure = LoadFailure::InvalidCartHeader;

// Whether the stream stays open after a load that ended so; the rows that
// close it leave nothing for the player or the saver.
bool StreamStaysOpen(LoadFailure failure);

}  // namespace wave
