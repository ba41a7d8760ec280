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

enum class MessageIcon { None, Error, Exclamation, Information };

struct FailureMessage {
    const char* text;
    const char* caption;  // nullptr: the application's name
    MessageIcon icon;
    bool streamStaysOpen;
};

// The fixed box for each failure; None has no message.
const FailureMessage& MessageFor(LoadFailure failure);

// The caption to show: the row's own, or the application's name.
const char* CaptionFor(LoadFailure failure, const char* applicationName);

}  // namespace wave
