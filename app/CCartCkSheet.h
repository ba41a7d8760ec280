#pragma once

#include "CAboutPage.h"
#include "CCartInfoPage.h"
#include "CCartInfoPage2.h"
#include "CEbuInfo.h"
#include "CInfoPage.h"
#include "CPlayerPage.h"
#include "PageIndex.h"
#include "PropertySheet.h"

// The six pages in their fixed order (PageIndex).
class CCartCkSheet : public framework::CPropertySheet {
    Q_OBJECT

public:
    explicit CCartCkSheet(int initialPage = 0);

    // The records the loader fills, on the pages that hold them.
    wave::PageRecords Records();

    CInfoPage m_InfoPage;
    CEbuInfo m_EbuInfoPage;
    CCartInfoPage m_CartInfoPage;
    CCartInfoPage2 m_CartInfoPage2;
    CAboutPage m_AboutPage;
    CPlayerPage m_PlayerPage;
};
