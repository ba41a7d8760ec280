#pragma once

#include <QString>
#include <optional>
#include <string>

namespace framework {

// The file's 8-bit text for the screen, and back. Back fails only for
// characters the 8-bit set cannot hold, which the edits refuse as typed.
QString FromFileText(const std::string& bytes);
std::optional<std::string> ToFileText(const QString& text);

}  // namespace framework
