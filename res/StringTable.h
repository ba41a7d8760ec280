#pragma once

#include <QString>
#include <string_view>

namespace res {

// String table entries, by the numbers the code names them with.
inline constexpr int IDS_RIGHTS_NOTICE = 104;   // About page: who holds the rights
inline constexpr int IDS_LICENCE_NOTICE = 105;  // About page: the terms of use

// The maker's addresses, shown on the About page and opened from it.
inline constexpr std::string_view kMakerServiceEmail = "service@vanto.example";
inline constexpr std::string_view kMakerWebSite = "https://www.vanto.example/";

// The text of that entry; empty for a number the table does not hold.
QString LoadString(int id);

}  // namespace res
