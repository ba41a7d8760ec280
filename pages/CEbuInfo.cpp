#include "pages/CEbuInfo.h"

#include "res/DialogTemplates.h"
#include "res/resource.h"
#include "wave/ChunkLayout.h"

CEbuInfo::CEbuInfo() : CPropertyPage(res::Template(IDD_EBU_INFO)) {}

void CEbuInfo::DoDataExchange(framework::CDataExchange* pDX) {
    using namespace framework;
    DDX_Text(pDX, IDC_DESCRIPTION, m_strDescription);
    DDV_MaxChars(pDX, m_strDescription, wave::bext::kDescription.width);
    DDX_Text(pDX, IDC_ORIGINATOR, m_strOriginator);
    DDV_MaxChars(pDX, m_strOriginator, wave::bext::kOriginator.width);
    DDX_Text(pDX, IDC_CODING_HISTORY, m_strCodingHistory);
    DDX_Text(pDX, IDC_ORIGINATOR_REF, m_strOriginatorRef);
    DDV_MaxChars(pDX, m_strOriginatorRef, wave::bext::kOriginatorReference.width);
    DDX_Text(pDX, IDC_ORIGINATION_TIME, m_strOriginationTime);
    DDV_MaxChars(pDX, m_strOriginationTime, wave::bext::kOriginationTime.width);
    DDX_Text(pDX, IDC_ORIGINATION_DATE, m_strOriginationDate);
    DDV_MaxChars(pDX, m_strOriginationDate, wave::bext::kOriginationDate.width);
}
