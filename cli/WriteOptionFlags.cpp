#include "cli/WriteOptionFlags.h"

namespace cli {

void WriteOptionFlags::AddTo(CLI::App& command) {
    command.add_flag("--dry-run", options_.dryRun, "Check and report; write nothing");
    command.add_flag("--grow", options_.grow,
                     "Add a cart chunk where a file has none, or enlarge one whose tag text does not fit; "
                     "the file may change length or be rewritten");
    command.add_flag("--append", options_.append,
                     "With --grow or alone: put a new or larger cart chunk after the last chunk, never rewriting "
                     "the file");
}

WriteOptions WriteOptionFlags::Options() const {
    WriteOptions options = options_;
    options.grow = options.grow || options.append;  // appending is growth the user asked for by name
    return options;
}

}  // namespace cli
