#pragma once

#include <optional>
#include <string>

#include "LoadedFile.h"

namespace cli {

// Why a loaded file cannot take the writes: the field at fault, where one
// is, and the message.
struct WriteRefusal {
    std::optional<wave::CartField> field;
    std::string message;
};

// Checks that the file loaded and can hold every write; nothing when it can.
std::optional<WriteRefusal> CheckAgainstFile(const LoadedFile& loaded, const wave::CartWrites& writes);

// Saves the checked writes in place, or in a dry run only says what it
// would write, and reports the outcome on the usual streams. False when the
// save failed.
bool WriteAndReport(const std::string& file, LoadedFile& loaded, const wave::CartWrites& writes, bool dryRun);

}  // namespace cli
