#pragma once

#include "about/CAboutPage.h"
#include "app/PageIndex.h"
#include "framework/PropertySheet.h"
#include "pages/CCartInfoPage.h"
#include "pages/CCartInfoPage2.h"
#include "pages/CEbuInfo.h"
#include "pages/CInfoPage.h"
#include "player/CPlayerPage.h"

// The six pages in their fixed order (PageIndex).
class CCartCkSheet : public framework::CPropertySheet {
    Q_OBJECT

public:
    explicit CCartCkSheet(int initialPage = 0);

    // The records the loader fills, on the pages that hold them.
    PageRecords Records();

    CInfoPage m_InfoPage;
    CEbuInfo m_EbuInfoPage;
    CCartInfoPage m_CartInfoPage;
    CCartInfoPage2 m_CartInfoPage2;
    CAboutPage m_AboutPage;
    CPlayerPage m_PlayerPage;
};
