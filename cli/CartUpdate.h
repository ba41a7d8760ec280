#pragma once

#include <memory>
#include <optional>
#include <string>

#include "cli/BatchSaves.h"
#include "cli/LoadedFile.h"
#include "cli/WriteOptionFlags.h"

namespace cli {

// Why a loaded file cannot take the writes: the field at fault, where one
// is, and the message.
struct WriteRefusal {
    std::optional<wave::CartField> field;
    std::string message;
    // What a new or larger cart chunk would do for the file: "adds one",
    // "enlarges the chunk"; empty where growth would not help.
    std::string growthWould;
};

// The fields the writes touch, in the order of their bytes, each once.
std::string FieldList(const wave::CartWrites& writes);

// The refusal of a file that did not load: its load failure, and whether a
// cart chunk could be added to it.
WriteRefusal RefusalOf(LoadedFile& loaded);

// The refusal's message, with the growth option that would help where one
// would: "(--grow adds one)".
std::string WithGrowthHint(const WriteRefusal& refused);

// Checks that the file loaded and can hold every write, or with growth
// allowed, that a cart chunk can be added or enlarged to hold them; nothing
// when it can.
std::optional<WriteRefusal> CheckAgainstFile(LoadedFile& loaded, const wave::CartWrites& writes,
                                             const WriteOptions& write);

// Writes the checked writes in place and hands the file to the batch to sync
// and report; adds or enlarges the cart chunk where growth is allowed and
// needed; in a dry run only says what it would write. False when the write
// failed (already reported).
bool WriteAndReport(const std::string& file, std::unique_ptr<LoadedFile> loaded, const wave::CartWrites& writes,
                    const WriteOptions& write, BatchSaves& saves);

}  // namespace cli
