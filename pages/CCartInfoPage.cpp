#include "pages/CCartInfoPage.h"

#include "pages/CartEditEnabling.h"
#include "pages/CartPageChanges.h"
#include "res/DialogTemplates.h"
#include "res/resource.h"
#include "wave/ChunkLayout.h"

namespace {
constexpr std::initializer_list<int> kEditable = {IDC_TITLE, IDC_ARTIST, IDC_CLIENT_ID, IDC_CATEGORY,
                                                  IDC_CLASSIFICATION};
}  // namespace

CCartInfoPage::CCartInfoPage() : CPropertyPage(res::Template(IDD_CART_INFO)) {}

bool CCartInfoPage::OnInitDialog() {
    // Watching starts before the first refresh: filling the edits counts
    // as a change.
    WatchCartFieldChanges(this, kEditable);
    return CPropertyPage::OnInitDialog();
}

void CCartInfoPage::DoDataExchange(framework::CDataExchange* pDX) {
    using namespace framework;
    DDX_Text(pDX, IDC_ARTIST, m_strArtist);
    DDV_MaxChars(pDX, m_strArtist, wave::cart::kArtist.width);
    DDX_Text(pDX, IDC_CATEGORY, m_strCategory);
    DDV_MaxChars(pDX, m_strCategory, wave::cart::kCategory.width);
    DDX_Text(pDX, IDC_VERSION, m_strVersion);
    DDV_MaxChars(pDX, m_strVersion, wave::cart::kVersion.width);
    DDX_Text(pDX, IDC_CLIENT_ID, m_strClientID);
    DDV_MaxChars(pDX, m_strClientID, wave::cart::kClientID.width);
    DDX_Text(pDX, IDC_TITLE, m_strTitle);
    DDV_MaxChars(pDX, m_strTitle, wave::cart::kTitle.width);
    DDX_Text(pDX, IDC_CLASSIFICATION, m_strClassification);
    DDV_MaxChars(pDX, m_strClassification, wave::cart::kClassification.width);
}

void CCartInfoPage::OnShowWindow(bool) {
    if (QWidget* version = GetDlgItem(IDC_VERSION)) version->setEnabled(false);
    for (const int id : kEditable) {
        if (QWidget* edit = GetDlgItem(id)) EnableCartEdit(edit, m_bCartLoaded, m_bReadOnly);
    }
}
