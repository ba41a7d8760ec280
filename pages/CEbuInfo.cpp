#include "CEbuInfo.h"

#include "DialogTemplates.h"
#include "resource.h"

CEbuInfo::CEbuInfo() : CPropertyPage(res::Template(IDD_EBU_INFO)) {}

void CEbuInfo::DoDataExchange(framework::CDataExchange* pDX) {
    using namespace framework;
    DDX_Text(pDX, IDC_DESCRIPTION, m_strDescription);
    DDV_MaxChars(pDX, m_strDescription, 256);
    DDX_Text(pDX, IDC_ORIGINATOR, m_strOriginator);
    DDV_MaxChars(pDX, m_strOriginator, 32);
    DDX_Text(pDX, IDC_CODING_HISTORY, m_strCodingHistory);
    DDX_Text(pDX, IDC_ORIGINATOR_REF, m_strOriginatorRef);
    DDV_MaxChars(pDX, m_strOriginatorRef, 32);
    DDX_Text(pDX, IDC_ORIGINATION_TIME, m_strOriginationTime);
    DDV_MaxChars(pDX, m_strOriginationTime, 8);
    DDX_Text(pDX, IDC_ORIGINATION_DATE, m_strOriginationDate);
    DDV_MaxChars(pDX, m_strOriginationDate, 10);
}
