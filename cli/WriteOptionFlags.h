#pragma once

#include <CLI/CLI.hpp>

namespace cli {

// How a command that writes may change its files.
struct WriteOptions {
    bool dryRun = false;
    // A cart chunk may be added where there is none, or enlarged where its
    // tag text does not fit: the file may change its length, or be rewritten.
    bool grow = false;
    // Such a chunk goes after the last chunk, never by a rewrite.
    bool append = false;
};

// --dry-run, --grow and --append, which every command that writes takes.
class WriteOptionFlags {
public:
    void AddTo(CLI::App& command);
    WriteOptions Options() const;

private:
    WriteOptions options_;
};

}  // namespace cli
