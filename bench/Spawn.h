#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace bench {

struct Spawned {
    bool ok = false;      // started, and exited with 0
    int exitStatus = -1;  // -1 when it did not start or did not exit
    double seconds = 0;
    long peakKiB = 0;  // the child's largest resident set, from wait4
};

// Waits for a started child and measures it from `start`.
Spawned WaitFor(pid_t pid, std::chrono::steady_clock::time_point start);

// Runs the program with stdout to /dev/null and stderr left to ours, so
// that a failure shows why, and waits for it.
Spawned Spawn(std::vector<std::string> argv);

}  // namespace bench
