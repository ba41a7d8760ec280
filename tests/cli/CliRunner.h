#pragma once

#include <string>
#include <vector>

// What one run of the built reelmarker-cli printed and returned.
struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

CliRun RunCli(const std::vector<std::string>& args);
