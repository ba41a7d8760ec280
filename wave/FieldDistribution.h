#pragma once

#include <cstdint>

#include "wave/FieldCodecs.h"
#include "wave/PageRecords.h"

namespace wave {

// The bext fields into the EBU Info page's record.
void FillEbuInfo(ConstBytes bext, EbuInfoRecord& ebu);

// The cart fields, the post timers and the URL rule into both cart pages'
// records. Fields beyond the data read as empty or zero.
void FillCartPages(ConstBytes cart, CartInfoRecord& page1, CartInfo2Record& page2);

// The eight post timers of the cart data.
PostTimers ReadPostTimers(ConstBytes cart);

inline constexpr const char* kUrlNotSupported = "Not supported in version 0100";

}  // namespace wave
