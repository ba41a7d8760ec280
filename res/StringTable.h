#pragma once

#include <QString>
#include <string_view>

#include "res/resource.h"

namespace res {

// The maker's addresses, shown on the About page and opened from it.
inline constexpr std::string_view kMakerServiceEmail = "service@vanto.example";
inline constexpr std::string_view kMakerWebSite = "https://www.vanto.example/";

// The text of that entry (IDS_ in resource.h); empty for a number the table does not hold.
QString LoadString(int id);

}  // namespace res
