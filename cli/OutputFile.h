#pragma once

#include <string>
#include <string_view>

namespace cli {

// Writes the bytes to a new file beside `path` and renames it over `path`,
// so a failure never leaves half an output, nor spoils a file already
// there. Refuses to replace `keep` (the input the output was made from).
// The reason when it fails; empty on success.
std::string ReplaceFile(const std::string& path, std::string_view bytes, const std::string& keep);

}  // namespace cli
