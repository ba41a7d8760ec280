#include "app/CCartCkSheet.h"

CCartCkSheet::CCartCkSheet(int initialPage) : CPropertySheet(initialPage) {
    // In PageIndex order. Player is declared after About but comes before it in the tabs.
    AddPage(&m_InfoPage);
    AddPage(&m_EbuInfoPage);
    AddPage(&m_CartInfoPage);
    AddPage(&m_CartInfoPage2);
    AddPage(&m_PlayerPage);
    AddPage(&m_AboutPage);
}

PageRecords CCartCkSheet::Records() {
    return {m_InfoPage, m_EbuInfoPage, m_CartInfoPage, m_CartInfoPage2, m_PlayerPage};
}
