#pragma once

#include <string>
#include <vector>

namespace bench {

struct Spawned {
    bool ok = false;  // started, and exited with 0
    double seconds = 0;
    long peakKiB = 0;  // the child's largest resident set, from wait4
};

// Runs the program with stdout to /dev/null and stderr left to ours, so
// that a failure shows why, and waits for it.
Spawned Spawn(std::vector<std::string> argv);

}  // namespace bench
