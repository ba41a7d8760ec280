#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "LoadedFile.h"

namespace cli {

// One file's format, bext and cart as a JSON object with a fixed key order.
nlohmann::ordered_json JsonReport(const std::string& file, const LoadedFile& loaded);

}  // namespace cli
