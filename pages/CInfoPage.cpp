#include "pages/CInfoPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "framework/DesktopSettings.h"
#include "framework/Dialog.h"
#include "framework/FileChooser.h"
#include "framework/MessageBoxService.h"
#include "framework/Text8.h"
#include "framework/WindowMessages.h"
#include "res/DialogTemplates.h"
#include "res/resource.h"
#include "wave/FormatTexts.h"

CInfoPage::CInfoPage() : CPropertyPage(res::Template(IDD_INFO)) {}

bool CInfoPage::OnInitDialog() {
    connect(Item<QPushButton>(IDC_OPEN), &QPushButton::clicked, this, &CInfoPage::OnOpen);
    // Each window starts in the program's own set, the first on offer, and
    // keeps the one chosen for every file it opens.
    auto* charsets = Item<QComboBox>(IDC_CHARSET);
    for (const framework::CharsetChoice& choice : framework::CharsetChoices()) {
        charsets->addItem(choice.name, static_cast<int>(choice.charset));
    }
    framework::SetFileCharset(framework::CharsetChoices().front().charset);
    // The other pages show the file's text anew in the set chosen when they
    // are next shown, and save in it; nothing is written now.
    connect(charsets, &QComboBox::currentIndexChanged, this, [charsets](int index) {
        framework::SetFileCharset(static_cast<wave::Charset>(charsets->itemData(index).toInt()));
    });
    auto* always = Item<QCheckBox>(IDC_ALWAYS_ANY_LAYOUT);
    always->setChecked(DesktopSettings::AlwaysOpenAnyLayout());
    connect(always, &QCheckBox::toggled, this, &DesktopSettings::SetAlwaysOpenAnyLayout);
    connect(Item<QPushButton>(IDC_FINDINGS), &QPushButton::clicked, this, &CInfoPage::OnFindings);
    ShowFindings();
    return CPropertyPage::OnInitDialog();
}

void CInfoPage::SetAlwaysOpenAnyLayout(bool always) {
    DesktopSettings::SetAlwaysOpenAnyLayout(always);
    if (auto* box = Item<QCheckBox>(IDC_ALWAYS_ANY_LAYOUT)) box->setChecked(always);
}

void CInfoPage::DoDataExchange(framework::CDataExchange* pDX) {
    framework::DDX_Control(pDX, IDC_BLOCK_ALIGN, m_stcBlockAlign);
    framework::DDX_Control(pDX, IDC_AVG_BYTES_PER_SEC, m_stcAvgBytesPerSec);
    framework::DDX_Control(pDX, IDC_FORMAT_TAG, m_stcFormatTag);
    framework::DDX_Control(pDX, IDC_SAMPLE_RATE, m_stcSampleRate);
    framework::DDX_Control(pDX, IDC_CHANNELS, m_stcChannels);
    framework::DDX_Control(pDX, IDC_BITS_PER_SAMPLE, m_stcBitsPerSample);
}

void CInfoPage::ShowFormat() {
    if (m_stcFormatTag == nullptr) return;  // the page was never shown
    const wave::FormatTexts texts = m_format ? wave::TextsOf(*m_format) : wave::FormatTexts{};
    m_stcChannels->setText(QString::fromStdString(texts.channels));
    m_stcSampleRate->setText(QString::fromStdString(texts.sampleRate));
    m_stcBitsPerSample->setText(QString::fromStdString(texts.bitsPerSample));
    m_stcFormatTag->setText(QString::fromStdString(texts.formatTag));
    m_stcAvgBytesPerSec->setText(QString::fromStdString(texts.avgBytesPerSec));
    m_stcBlockAlign->setText(QString::fromStdString(texts.blockAlign));
}

void CInfoPage::ShowFindings() {
    auto* summary = Item<QLabel>(IDC_CHECK_SUMMARY);
    if (summary == nullptr) return;  // the page was never shown
    summary->setText(m_findings ? QString::fromStdString(wave::FindingsSummary(*m_findings)) : QString());
    GetDlgItem(IDC_FINDINGS)->setEnabled(m_findings && !m_findings->empty());
}

void CInfoPage::OnFindings() {
    if (!m_findings) return;
    QStringList lines;
    for (const wave::Finding& finding : *m_findings) {
        QString line = QString("%1 %2: %3")
                           .arg(QString::fromStdString(finding.rule), wave::SeverityName(finding.severity),
                                QString::fromStdString(finding.message));
        if (finding.offset) line += QString(" (at byte %1)").arg(*finding.offset);
        lines << line;
    }
    framework::MessageBoxes().Show(this, lines.join('\n'), "Findings", framework::MessageIcon::Information);
}

void CInfoPage::EnableOpen(bool enable) {
    if (QWidget* open = GetDlgItem(IDC_OPEN)) open->setEnabled(enable);
}

void CInfoPage::OnOpen() {
    // Another file replaces the edits of this one: they are settled first.
    auto choose = [this] { ChooseAndOpen(); };
    if (framework::CDialog* main = framework::AfxGetMainWnd()) {
        main->SettleEditsThen(choose);
    } else {
        choose();
    }
}

void CInfoPage::ChooseAndOpen() {
    const std::optional<QString> path =
        framework::FileChoosers().ChooseFileToOpen(this, "Wave Files (*.wav)", DesktopSettings::LastFolder());
    if (path) OpenPath(*path);
}

void CInfoPage::OpenPath(const QString& path) {
    m_strPath = QFile::encodeName(path).toStdString();
    Item<QLineEdit>(IDC_PATH)->setText(path);
    // Only a folder that is there is worth starting the next choice in.
    const QFileInfo folder(QFileInfo(path).absolutePath());
    if (folder.isDir()) DesktopSettings::SetLastFolder(folder.absoluteFilePath());
    QEvent openWave(framework::WM_OPENWAVE);
    QCoreApplication::sendEvent(m_pMainDlg, &openWave);
}
