#pragma once

#include <ostream>
#include <string>

#include "cli/LoadedFile.h"

namespace cli {

// One file's format, bext and cart for people, labelled as the desktop
// program's pages label them. Sections the load did not reach are left out.
void PrintTextReport(std::ostream& out, const std::string& file, const LoadedFile& loaded);

}  // namespace cli
