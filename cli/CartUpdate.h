#pragma once

#include <memory>
#include <optional>
#include <string>

#include "cli/BatchSaves.h"
#include "cli/LoadedFile.h"

namespace cli {

// Why a loaded file cannot take the writes: the field at fault, where one
// is, and the message.
struct WriteRefusal {
    std::optional<wave::CartField> field;
    std::string message;
};

// The fields the writes touch, in the order of their bytes, each once.
std::string FieldList(const wave::CartWrites& writes);

// Checks that the file loaded and can hold every write; nothing when it can.
std::optional<WriteRefusal> CheckAgainstFile(const LoadedFile& loaded, const wave::CartWrites& writes);

// Writes the checked writes in place and hands the file to the batch to sync
// and report, or in a dry run only says what it would write. False when the
// write failed (already reported).
bool WriteAndReport(const std::string& file, std::unique_ptr<LoadedFile> loaded, const wave::CartWrites& writes,
                    bool dryRun, BatchSaves& saves);

}  // namespace cli
