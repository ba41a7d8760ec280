#pragma once

#include <cstdint>

#include "wave/WaveStream.h"

namespace wave {

// A write lock on a byte range of an open stream, held while it lives. Keeps
// our other processes (and other windows on the same file) from interleaving
// their check and write with ours. A file system that refuses the lock does
// not stop a save: the saver's check alone then guards it.
class RangeLock {
public:
    RangeLock(WaveStream& file, std::int64_t start, std::int64_t length)
        : file_(file), start_(start), length_(length), held_(file.LockRange(start, length)) {}
    ~RangeLock() {
        if (held_) file_.UnlockRange(start_, length_);
    }
    RangeLock(const RangeLock&) = delete;
    RangeLock& operator=(const RangeLock&) = delete;

private:
    WaveStream& file_;
    std::int64_t start_;
    std::int64_t length_;
    bool held_;
};

}  // namespace wave
