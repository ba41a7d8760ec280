#pragma once

#include "wave/CartWrites.h"
#include "wave/PostTimers.h"

// One write of its 8 bytes (usage code, then the value, little-endian) for
// each post timer slot the markers changed since the load, so APPLY writes
// exactly those bytes and leaves every other slot as stored.
wave::CartWrites TimerWrites(const wave::PostTimers& now, const wave::PostTimers& asLoaded);
