#include "res/StringTable.h"

#include <array>

namespace res {
namespace {

struct Entry {
    int id;
    std::string_view text;  // UTF-8
};

constexpr std::array kStrings{
    Entry{IDS_RIGHTS_NOTICE,
          "Reelmarker \u00a9 2026 VANTO. All rights reserved.\n\n"
          "This program is protected by copyright law. Copying or distributing it, "
          "or any part of it, without the written permission of VANTO is not allowed."},
    Entry{IDS_LICENCE_NOTICE,
          "Reelmarker is licensed, not sold, under the VANTO End User Licence Agreement. "
          "It is provided \"as is\", without warranty of any kind; see the agreement for details."},
};

}  // namespace

QString LoadString(int id) {
    for (const Entry& entry : kStrings) {
        if (entry.id == id) return QString::fromUtf8(entry.text.data(), static_cast<qsizetype>(entry.text.size()));
    }
    return {};
}

}  // namespace res
