#pragma once

#include "wave/LoadFailure.h"

// How the programs tell the user why a load ended: the box the window shows
// and the error the command line prints, from one table.
namespace texts {

enum class MessageIcon { None, Error, Exclamation, Information };

struct FailureMessage {
    const char* text;
    const char* caption;  // nullptr: the application's name
    MessageIcon icon;
};

// The fixed message for each failure; None has none.
const FailureMessage& MessageFor(wave::LoadFailure failure);

// The caption to show: the row's own, or the application's name.
const char* CaptionFor(wave::LoadFailure failure, const char* applicationName);

}  // namespace texts
