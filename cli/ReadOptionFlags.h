#pragma once

#include <CLI/CLI.hpp>
#include <string>

#include "cli/LoadedFile.h"

namespace cli {

// --any-layout and --encoding, which every command takes: how it reads its
// files.
class ReadOptionFlags {
public:
    void AddTo(CLI::App& command);
    // What the command line gave, once it is parsed.
    ReadOptions Options() const;

private:
    bool anyLayout_ = false;
    std::string encoding_ = "windows-1252";
};

}  // namespace cli
