#include "app/CMainDlg.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <chrono>
#include <utility>

#include "app/CCartCkSheet.h"
#include "framework/AddCartQuestion.h"
#include "framework/DesktopSettings.h"
#include "framework/MessageBoxService.h"
#include "framework/OpenAnywayQuestion.h"
#include "framework/SaveQuestion.h"
#include "framework/TemplateWidgets.h"
#include "framework/Text8.h"
#include "framework/WindowMessages.h"
#include "pages/CartPageFields.h"
#include "pages/PageFilling.h"
#include "res/DialogTemplates.h"
#include "res/resource.h"
#include "wave/ChunkIds.h"

namespace {
// The sheet fills the dialog above its own buttons.
constexpr int kSheetHeight = 288;
constexpr int kProgressSteps = 11;
constexpr std::chrono::milliseconds kProgressStep{50};

// The local files among what is dragged, in the order given.
QStringList LocalFiles(const QMimeData* data) {
    QStringList files;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) files << url.toLocalFile();
    }
    return files;
}
}  // namespace

CMainDlg::CMainDlg(QWidget* parent) : CDialog(res::Template(IDD_MAIN), parent) {
    m_hIcon.addFile(":/res/icon-32.png", QSize(32, 32));
    m_hIcon.addFile(":/res/icon-16.png", QSize(16, 16));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    connect(qobject_cast<QPushButton*>(GetDlgItem(IDC_EXIT)), &QPushButton::clicked, this, &QDialog::accept);
    connect(qobject_cast<QPushButton*>(GetDlgItem(IDC_APPLY)), &QPushButton::clicked, this, &CMainDlg::OnApply);
    setAcceptDrops(true);
    OnInitDialog();
}

CMainDlg::~CMainDlg() {
    // The program ended from outside during a save: the write is done or
    // finishes now; only the progress steps are cut short. The worker never
    // waits for this thread, so joining it cannot hang.
    m_bStopWorker = true;
    if (m_saveWorker.joinable()) m_saveWorker.join();
}

void CMainDlg::DoDataExchange(framework::CDataExchange* pDX) {
    framework::DDX_Control(pDX, IDC_WAIT, m_stcWait);
    framework::DDX_Control(pDX, IDC_EXIT, m_btnExit);
    framework::DDX_Control(pDX, IDC_PROGRESS, m_progress);
}

bool CMainDlg::OnInitDialog() {
    UpdateData(false);
    setWindowIcon(m_hIcon);
    GetDlgItem(IDC_APPLY)->setEnabled(false);
    m_pSheet = std::make_unique<CCartCkSheet>(0);
    const framework::DialogUnits units(font());
    m_pSheet->setGeometry(QRect(QPoint(0, 0), units.ToPixels(res::Template(IDD_MAIN).cx, kSheetHeight)));
    m_pSheet->Create(this);
    m_pSheet->m_InfoPage.m_pMainDlg = this;
    m_pSheet->m_PlayerPage.m_pDocument = &m_document;
    m_pSheet->m_PlayerPage.m_pTimerRecord = &m_pSheet->m_CartInfoPage2;
    m_pSheet->m_PlayerPage.m_pTimerPage = &m_pSheet->m_CartInfoPage2;
    m_pSheet->m_PlayerPage.m_markersEditable = [this] { return CartLoaded() && !m_bReadOnly && !Saving(); };
    m_document.lookPastRefusal = true;
    ClearCartFlags(m_pSheet->Records());
    m_progress->hide();
    m_stcWait->hide();
    return true;
}

bool CMainDlg::CartLoaded() const { return m_pSheet != nullptr && m_pSheet->m_CartInfoPage.m_bCartLoaded; }

void CMainDlg::EnableDlgItem(int id, bool enable) {
    if (id == IDC_APPLY && enable && (Saving() || m_bReadOnly || !CartLoaded())) return;
    CDialog::EnableDlgItem(id, enable);
}

bool CMainDlg::event(QEvent* event) {
    if (event->type() == framework::WM_OPENWAVE) {
        OnOpenWave();
        return true;
    }
    if (event->type() == framework::WM_SAVEDONE) {
        OnSaveDone();
        return true;
    }
    return CDialog::event(event);
}

void CMainDlg::OnOpenWave() {
    if (Saving()) return;  // the saver is using the stream
    LoadWaveFile();
}

void CMainDlg::OpenFile(const QString& path) {
    SettleEditsThen([this, path] { m_pSheet->m_InfoPage.OpenPath(path); });
}

void CMainDlg::dragEnterEvent(QDragEnterEvent* event) {
    // Refused during a save, as Open is; the pointer shows it before the drop.
    if (!Saving() && !LocalFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void CMainDlg::dropEvent(QDropEvent* event) {
    const QStringList files = LocalFiles(event->mimeData());
    if (Saving() || files.isEmpty()) return;
    event->acceptProposedAction();
    OpenFirstOf(files, "dropped");
}

void CMainDlg::OpenFirstOf(const QStringList& files, const char* how) {
    if (files.size() > 1) {
        framework::MessageBoxes().Show(
            this,
            QString("%1 files were %2. One file is open at a time, so only the first opens:\n%3")
                .arg(QString::number(files.size()), QString(how), files.front()),
            "", framework::MessageIcon::Information);
    }
    OpenFile(files.front());
}

void CMainDlg::LoadWaveFile() {
    wave::LoadFailure failure = OpenByWalk(m_walk);
    const std::optional<std::uint32_t> stoppedAt = m_document.loaded.stoppedAt;
    if (stoppedAt && m_document.CartPastRefusal()) {
        // The offer stands in for the refusal: telling the user the file is
        // broken, then that it opens, would contradict itself.
        if (!DesktopSettings::AlwaysOpenAnyLayout()) {
            const framework::OpenAnywayAnswer answer =
                framework::OpenAnywayQuestions().Ask(this, AnyLayoutQuestion(failure, *stoppedAt));
            if (!answer.open) {
                m_document.DeclinePastRefusal();
                return;
            }
            if (answer.always) m_pSheet->m_InfoPage.SetAlwaysOpenAnyLayout(true);
        }
        // The walk of the same open read it already: nothing is read again.
        failure = m_document.TakePastRefusal();
        ShowLoaded();
    }
    if (failure != wave::LoadFailure::None) {
        ShowLoadFailure(failure);
        OfferNewCart();
    } else if (m_bReadOnly) {
        framework::MessageBoxes().Show(this, "This file is read-only: it can be viewed but cannot be saved.",
                                       "Read-Only File", framework::MessageIcon::Information);
    }
}

wave::LoadFailure CMainDlg::OpenByWalk(wave::ChunkWalk walk) {
    const std::string& path = m_pSheet->m_InfoPage.m_strPath;
    // The Start page shows the check of every file loaded; a cart chunk the
    // pages may show wherever it lies is checked wherever it lies.
    m_document.checkOnLoad = wave::CheckOptions{wave::CheckProfile::Generic, framework::FileCharset(), true};
    wave::LoadFailure failure = m_document.OpenWave(path, wave::WaveStream::Mode::ReadWrite, walk);
    // A file the user may read but not write is still shown, for viewing.
    m_bReadOnly = failure == wave::LoadFailure::OpenFailed && m_document.file.WriteRefused();
    if (m_bReadOnly) {
        failure = m_document.OpenWave(path, wave::WaveStream::Mode::ReadOnly, walk);
        m_bReadOnly = failure != wave::LoadFailure::OpenFailed;
    }
    ShowLoaded();
    return failure;
}

void CMainDlg::OfferNewCart() {
    if (m_bReadOnly || !m_document.CanAddCart()) return;
    if (!framework::AddCartQuestions().Ask(this, "This file has no cart chunk. Add one when you save?")) return;
    m_bAddingCart = true;
    ShowNewCart(m_document, m_pSheet->Records());
    ShowPages();
    m_pSheet->GetActivePage()->UpdateData(false);
}

void CMainDlg::ShowLoaded() {
    m_bAddingCart = false;
    ShowLoadedWave(m_document, m_pSheet->Records());
    ShowPages();
}

void CMainDlg::ShowFindings() {
    m_pSheet->m_InfoPage.m_findings = m_document.findings;
    m_pSheet->m_InfoPage.ShowFindings();
}

void CMainDlg::ShowPages() {
    ShowFindings();
    m_pSheet->m_InfoPage.ShowFormat();
    m_pSheet->m_CartInfoPage.m_bReadOnly = m_pSheet->m_CartInfoPage2.m_bReadOnly = m_bReadOnly;
    if (!CartLoaded() || m_bReadOnly) GetDlgItem(IDC_APPLY)->setEnabled(false);
    m_loadedCart2 = m_pSheet->m_CartInfoPage2;
    SetCartPagesEdited(false);
}

QString CMainDlg::AnyLayoutQuestion(wave::LoadFailure failure, std::uint32_t stoppedAt) {
    const QString met = QString::fromStdString(wave::ChunkName(stoppedAt));
    if (failure == wave::LoadFailure::NotWave) {
        return QString("This wave file starts with %1, not RIFF, and its cart chunk can be read. Open it anyway?")
            .arg(met);
    }
    return QString(
               "This file has a cart chunk that this program does not look for in its position (%1 comes first). "
               "Open it anyway?")
        .arg(met);
}

void CMainDlg::ShowLoadFailure(wave::LoadFailure failure) {
    const texts::FailureMessage& message = texts::MessageFor(failure);
    framework::MessageBoxes().Show(this, message.text, message.caption ? message.caption : "", message.icon);
}

void CMainDlg::OnApply() {
    if (Saving() || !CartLoaded()) return;
    if (!m_pSheet->GetActivePage()->UpdateData(true)) return;
    // Playback has the file: end it, so the stream is back for the save.
    m_pSheet->m_PlayerPage.OnStop();
    SetCartPagesModified(false);
    SetCartPagesEdited(false);
    m_savingCart2 = m_pSheet->m_CartInfoPage2;
    GetDlgItem(IDC_APPLY)->setEnabled(false);
    m_progress->setRange(0, 10);
    m_bCanClose = false;
    m_progress->show();
    m_stcWait->show();
    m_btnExit->setEnabled(false);
    HoldOffDuringSave(true);
    // The worker gets its own copy of the values; the pages stay usable.
    if (m_saveWorker.joinable()) m_saveWorker.join();
    m_saveResult = {};
    m_saveWorker = std::thread(&CMainDlg::SaveThreadProc, this,
                               SaveWritesFrom(m_pSheet->m_CartInfoPage, m_pSheet->m_CartInfoPage2, m_loadedCart2));
}

void CMainDlg::SaveThreadProc(wave::CartWrites writes) {
    SetProgress(0);
    if (m_bAddingCart) {
        // A rewrite of a large file takes a while: its bytes move the bar.
        auto progress = [this](std::uint64_t done, std::uint64_t total) {
            if (total > 0) SetProgress(static_cast<int>(done * (kProgressSteps - 1) / total));
        };
        m_saveResult = m_document.GrowCart(writes, false, progress);
    } else {
        m_saveResult = m_document.SaveCart(writes);
    }
    for (int i = 0; i < kProgressSteps && !m_bStopWorker; ++i) {
        SetProgress(i);
        std::this_thread::sleep_for(kProgressStep);
    }
    QCoreApplication::postEvent(this, new QEvent(framework::WM_SAVEDONE));
}

// Queued, never waited for: the steps reach the bar in order, all before
// WM_SAVEDONE, and a dialog that goes meanwhile can still join the worker.
void CMainDlg::SetProgress(int position) {
    QProgressBar* bar = m_progress;
    QMetaObject::invokeMethod(
        bar, [bar, position] { bar->setValue(position); }, Qt::QueuedConnection);
}

void CMainDlg::OnSaveDone() {
    if (m_saveWorker.joinable()) m_saveWorker.join();
    m_bCanClose = true;
    if (m_saveResult.ok) {
        framework::MessageBoxes().Show(this, "ChartChunk Infomation has been saved.", "Finish Saving",
                                       framework::MessageIcon::Information);
    } else {
        framework::MessageBoxes().Show(this,
                                       "The cart chunk was NOT saved.\n\n" + QString::fromStdString(m_saveResult.error),
                                       "Saving Failed", framework::MessageIcon::Error);
    }
    m_progress->hide();
    m_stcWait->hide();
    m_btnExit->setEnabled(true);
    HoldOffDuringSave(false);
    if (m_saveResult.ok && m_bAddingCart) {
        // The document holds the file as saved, the new chunk read back.
        ShowLoaded();
        m_pSheet->GetActivePage()->UpdateData(false);
    } else if (m_saveResult.ok) {
        m_loadedCart2 = m_savingCart2;
        // The file as saved, over the document's open.
        if (m_document.file.IsOpen() && m_document.checkOnLoad)
            m_document.findings = wave::CheckWave(m_document.file, *m_document.checkOnLoad);
        ShowFindings();
    } else {
        // Nothing was written: the edits are still to be saved.
        SetCartPagesModified(true);
        SetCartPagesEdited(true);
    }
    // Edits typed while the worker ran are not in the file either.
    if (m_pSheet->m_CartInfoPage.IsModified() || m_pSheet->m_CartInfoPage2.IsModified()) {
        EnableDlgItem(IDC_APPLY, true);
    }
    if (std::function<void()> next = std::exchange(m_afterSave, {}); next && m_saveResult.ok) next();
}

QString CMainDlg::FileName() const {
    return QFileInfo(QFile::decodeName(QByteArray::fromStdString(m_pSheet->m_InfoPage.m_strPath))).fileName();
}

bool CMainDlg::ApplyEnabled() const { return GetDlgItem(IDC_APPLY)->isEnabled(); }

void CMainDlg::SetCartPagesModified(bool modified) {
    m_pSheet->m_CartInfoPage.SetModified(modified);
    m_pSheet->m_CartInfoPage2.SetModified(modified);
}

void CMainDlg::SetCartPagesEdited(bool edited) {
    m_pSheet->m_CartInfoPage.SetEdited(edited);
    m_pSheet->m_CartInfoPage2.SetEdited(edited);
}

bool CMainDlg::CartPagesEdited() const {
    return m_pSheet->m_CartInfoPage.IsEdited() || m_pSheet->m_CartInfoPage2.IsEdited();
}

void CMainDlg::SettleEditsThen(std::function<void()> proceed) {
    if (Saving()) return;
    // Showing a cart page refreshes its fields and so enables APPLY; only
    // what the user changed by hand is worth the question.
    if (!ApplyEnabled() || !CartPagesEdited()) {
        proceed();
        return;
    }
    switch (framework::SaveQuestions().AskToSave(this, FileName())) {
        case framework::SaveAnswer::Cancel: return;
        case framework::SaveAnswer::Discard: proceed(); return;
        case framework::SaveAnswer::Save:
            OnApply();
            // A page that fails validation starts no save, and nothing follows.
            if (Saving()) m_afterSave = std::move(proceed);
            return;
    }
}

void CMainDlg::HoldOffDuringSave(bool held) {
    m_pSheet->HoldPages(held);
    m_pSheet->m_InfoPage.EnableOpen(!held);
    m_pSheet->m_PlayerPage.HoldPlayback(held);
}

void CMainDlg::closeEvent(QCloseEvent* event) {
    if (Saving()) {
        event->ignore();
        return;
    }
    CDialog::closeEvent(event);
}

void CMainDlg::accept() {
    SettleEditsThen([this] { CDialog::accept(); });
}

void CMainDlg::reject() {
    // Escape and the close request end the dialog as a cancel, never under a save.
    if (Saving()) return;
    SettleEditsThen([this] { CDialog::reject(); });
}
