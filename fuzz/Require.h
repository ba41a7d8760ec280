#pragma once

#include <cstdio>

// A broken promise ends the run where it was found; the message says which,
// since a trap alone shows only the line.
inline void Require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::fflush(stderr);
    __builtin_trap();
}
