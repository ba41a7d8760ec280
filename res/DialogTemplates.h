#pragma once

#include "DialogTemplate.h"

namespace res {

// Dialog and page templates, by the numbers the code names them with.
inline constexpr int IDD_MAIN = 102;        // main dialog
inline constexpr int IDD_INFO = 107;        // Start page
inline constexpr int IDD_EBU_INFO = 108;    // EBU Info page
inline constexpr int IDD_CART_INFO = 109;   // Cart Chunk Info 1 page
inline constexpr int IDD_CART_INFO2 = 110;  // Cart Chunk Info 2 page
inline constexpr int IDD_ABOUT = 135;       // About page
inline constexpr int IDD_PLAYER = 143;      // Player page

// The template of that number. An unknown number gives an empty template
// whose id is -1, so a caller can test for it without catching anything.
const framework::DialogTemplate& Template(int id);

}  // namespace res
