#pragma once

// The places of the pages in the main dialog's sheet, in tab order.
enum PageIndex : int {
    kStartPage = 0,
    kEbuInfoPage = 1,
    kCartInfoPage = 2,
    kCartInfoPage2 = 3,
    kPlayerPage = 4,
    kAboutPage = 5,
};
