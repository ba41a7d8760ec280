#pragma once

#include <cstdint>
#include <string>

#include "wave/CartFields.h"

namespace framework {
class CDataExchange;
}

// Checks of cart values beyond their lengths and ranges, as data-exchange
// validations: a failure names the field, focuses its control and stops the
// exchange.

struct DateMembers {
    std::uint32_t year = 0;
    std::uint32_t month = 0;
    std::uint32_t day = 0;
    bool operator==(const DateMembers&) const = default;
};

// The day exists in its month and year. A date left as shown is not
// checked: one stored already impossible stays until the user edits it.
void DDV_CalendarDate(framework::CDataExchange* pDX, wave::CartField field, int dayId, DateMembers date,
                      DateMembers shown);

// Where the chunk holds a URL area, a URL that reads back as one, or none.
void DDV_Url(framework::CDataExchange* pDX, bool urlArea, const std::string& url);
