#include "about/CAboutPage.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "about/LinkOpener.h"
#include "res/DialogTemplates.h"
#include "res/StringTable.h"
#include "res/resource.h"

namespace {

constexpr int kNoticeCellHeight = 12;  // pixels, line spacing included

QString FromView(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// The font at the largest pixel size whose character cell (the line
// height) is no taller than the given height.
QFont WithCellHeight(QFont font, int cell) {
    font.setPixelSize(cell);
    const int measured = QFontMetrics(font).height();
    if (measured > cell) font.setPixelSize(std::max(1, cell * cell / measured));
    while (font.pixelSize() > 1 && QFontMetrics(font).height() > cell) font.setPixelSize(font.pixelSize() - 1);
    return font;
}

}  // namespace

CAboutPage::CAboutPage() : CPropertyPage(res::Template(IDD_ABOUT)) {}

void CAboutPage::DoDataExchange(framework::CDataExchange* pDX) { framework::DDX_Control(pDX, IDC_EMAIL, m_lnkEmail); }

bool CAboutPage::OnInitDialog() {
    CPropertyPage::OnInitDialog();  // attaches the e-mail link
    m_btnWebSite.AutoLoad(GetDlgItem(IDC_WEBSITE));
    if (auto* button = Item<QPushButton>(IDC_WEBSITE))
        connect(button, &QPushButton::clicked, this, &CAboutPage::OnWebSiteButton);

    m_lnkEmail.SetTarget("mailto:" + FromView(res::kMakerServiceEmail) + "?Subject=Reelmarker",
                         "Email VANTO customer service");
    m_lnkEmail.SetUnderlineMode(CLinkStatic::UNDERLINE_ALWAYS);
    // Visited looks like unvisited: a click does not change the colour.
    m_lnkEmail.SetLinkColors(framework::RGB(156, 48, 156), framework::RGB(156, 48, 156), framework::RGB(96, 104, 180));

    // Product line and credits bold at the dialog font's height; the notices
    // smaller, at its weight.
    for (const int id : {IDC_PRODUCT, IDC_CREDITS, IDC_LEGAL1, IDC_LEGAL2}) {
        auto* label = Item<QLabel>(id);
        if (label == nullptr) continue;
        QFont font = label->font();
        font.setFamilies({"Verdana"});
        if (id == IDC_PRODUCT || id == IDC_CREDITS) {
            font.setWeight(QFont::Bold);
        } else {
            font = WithCellHeight(font, kNoticeCellHeight);
            label->setWordWrap(true);  // the notices fill their boxes line by line
        }
        label->setFont(font);
        if (id == IDC_LEGAL1) label->setText(res::LoadString(IDS_RIGHTS_NOTICE));
        if (id == IDC_LEGAL2) label->setText(res::LoadString(IDS_LICENCE_NOTICE));
    }
    return true;
}

void CAboutPage::OnWebSiteButton() { LinkOpeners().OpenInBrowser(FromView(res::kMakerWebSite)); }
