#include "player/CPlayerPage.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTimerEvent>
#include <filesystem>

#include "framework/Dialog.h"
#include "framework/MessageBoxService.h"
#include "framework/Text8.h"
#include "framework/WindowMessages.h"
#include "player/MarkerPanel.h"
#include "player/PlayingLine.h"
#include "player/WaveformView.h"
#include "res/DialogTemplates.h"
#include "res/resource.h"
#include "wave/WaveDocument.h"

namespace {
constexpr int kPositionPeriodMs = 200;
// The position line: pale cyan on black, in the strip's middle.
constexpr QRgb kDisplayText = qRgb(153, 255, 255);
constexpr int kDisplayIndent = 6;
constexpr double kUnitsPerSecond = 1e7;  // the media graph's 100 ns units
}  // namespace

CPlayerPage::CPlayerPage() : CPropertyPage(res::Template(IDD_PLAYER)) {}

CPlayerPage::~CPlayerPage() {
    m_overview.Stop();
    // Closing the program while playing: stop and release the graph before
    // the page goes; the stream is the main dialog's to close.
    if (m_nTimer != 0) killTimer(m_nTimer);
    if (m_pGraph) m_pGraph->Stop();
    ReleaseGraph();
}

bool CPlayerPage::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    connect(Item<QPushButton>(IDC_PLAY), &QPushButton::clicked, this, &CPlayerPage::OnPlay);
    connect(Item<QPushButton>(IDC_STOP), &QPushButton::clicked, this, &CPlayerPage::OnStop);
    SetButtons(false, false);
    QPalette palette = m_stcDisplay->palette();
    palette.setColor(QPalette::WindowText, QColor(kDisplayText));
    m_stcDisplay->setPalette(palette);
    m_stcDisplay->setFont(QFont("Verdana", 8));
    m_stcDisplay->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_stcDisplay->setContentsMargins(kDisplayIndent, 0, 0, 0);
    // The waveform above the player's strip, the markers below it.
    const framework::DialogUnits units(font());
    m_waveform = new WaveformView(this);
    m_waveform->setGeometry(units.ToPixels(14, 14, 321, 78));
    m_markers = new MarkerPanel(this);
    m_markers->setGeometry(units.ToPixels(14, 122, 321, 130));
    connect(m_waveform, &WaveformView::seekRequested, this, &CPlayerPage::OnSeek);
    connect(m_waveform, &WaveformView::timerMoved, this,
            [this](int slot, std::uint64_t frame) { m_markers->Move(slot, frame); });
    connect(m_markers, &MarkerPanel::edited, this, &CPlayerPage::OnMarkersEdited);
    return true;
}

void CPlayerPage::ShowMarkers() {
    if (m_waveform == nullptr) return;
    const std::uint32_t rate = m_pTimerRecord != nullptr ? m_pTimerRecord->m_nSampleRate : 0;
    if (m_strFile != m_strOverviewFile) {
        m_strOverviewFile = m_strFile;
        m_frames.reset();
        m_waveform->Clear();
        if (m_strFile.empty()) {
            ++m_nOverview;
            m_overview.Stop();
        } else {
            const unsigned run = ++m_nOverview;
            m_overview.Start(
                m_strFile, m_waveform,
                [this, run](const OverviewPeaks::Shape& shape) {
                    if (run != m_nOverview) return;
                    m_waveform->SetShape(shape);
                    if (shape.frames != 0) m_frames = shape.frames;
                    ShowMarkers();
                },
                [this, run](const OverviewPeaks::Part& part) {
                    if (run == m_nOverview) m_waveform->AddPeaks(part);
                },
                [this, run](const OverviewPeaks::Shape& shape, bool ok) {
                    if (run != m_nOverview) return;
                    // The worker has posted its last call: joining takes no time.
                    m_overview.Stop();
                    if (ok) {
                        m_frames = shape.frames;
                        m_waveform->Settle(shape.frames);
                    }
                    ShowMarkers();
                    emit overviewFinished(ok);
                });
        }
    }
    const wave::PostTimers timers = m_pTimerRecord != nullptr ? m_pTimerRecord->m_timers : wave::PostTimers{};
    const bool cart = m_pTimerRecord != nullptr && m_pTimerRecord->m_bCartLoaded;
    m_waveform->SetTimers(cart ? timers : wave::PostTimers{}, rate, m_frames.value_or(0));
    m_markers->Show(cart ? timers : wave::PostTimers{}, rate, m_frames, framework::FileCharset(),
                    cart && m_markersEditable && m_markersEditable());
}

void CPlayerPage::OnMarkersEdited(const wave::PostTimers& timers) {
    if (m_pTimerRecord == nullptr || m_pTimerPage == nullptr) return;
    m_pTimerRecord->m_timers = timers;
    m_pTimerPage->SetModified(true);
    m_pTimerPage->SetEdited(true);
    if (framework::CDialog* main = framework::AfxGetMainWnd()) main->EnableDlgItem(IDC_APPLY, true);
    m_waveform->SetTimers(timers, m_pTimerRecord->m_nSampleRate, m_frames.value_or(0));
}

void CPlayerPage::OnSeek(std::uint64_t frame) {
    m_markers->SetPlayhead(frame);
    const std::uint32_t rate = m_pTimerRecord != nullptr ? m_pTimerRecord->m_nSampleRate : 0;
    if (m_pSeeking != nullptr && rate != 0)
        m_pSeeking->SetPosition(static_cast<std::int64_t>(static_cast<double>(frame) * kUnitsPerSecond / rate));
}

void CPlayerPage::DoDataExchange(framework::CDataExchange* pDX) {
    framework::DDX_Control(pDX, IDC_DISPLAY, m_stcDisplay);
    if (!pDX->m_bSaveAndValidate) ShowMarkers();
}

void CPlayerPage::SetButtons(bool playEnabled, bool stopEnabled) {
    QWidget* play = GetDlgItem(IDC_PLAY);
    QWidget* stop = GetDlgItem(IDC_STOP);
    if (play == nullptr || stop == nullptr) return;
    play->setEnabled(playEnabled || play->isEnabled());
    stop->setEnabled(stopEnabled || stop->isEnabled());
    // A button that goes off with the focus hands it to the other one: left
    // to itself the focus would move on to Exit, where the next Space ends
    // the program.
    if (play->hasFocus() && !playEnabled && stopEnabled) stop->setFocus(Qt::OtherFocusReason);
    if (stop->hasFocus() && !stopEnabled && playEnabled) play->setFocus(Qt::OtherFocusReason);
    play->setEnabled(playEnabled);
    stop->setEnabled(stopEnabled);
}

void CPlayerPage::OnShowWindow(bool show) {
    SetButtons(!m_strFile.empty(), false);
    if (show) ShowMarkers();
}

void CPlayerPage::HoldPlayback(bool held) {
    if (held) {
        SetButtons(false, GetDlgItem(IDC_STOP) != nullptr && GetDlgItem(IDC_STOP)->isEnabled());
    } else if (!m_pGraph) {
        SetButtons(!m_strFile.empty(), false);
    }
}

void CPlayerPage::OnPlay() {
    m_bReopenFailureShown = false;  // each Play may fail anew, and says so once
    if (m_pDocument != nullptr && m_pDocument->file.IsOpen()) {
        m_bGoneShown = false;  // it is back (opened anew): losing it again is news
        m_lFilePos = m_pDocument->LendFile();
    }
    ReleaseGraph();
    m_pGraph = player::MediaServices().CreateGraph();
    if (!m_pGraph) return FailPlay("Unable to create graph");
    if (!m_pGraph->NotifyWindow(this)) return FailPlay("Unable to create event notification");
    m_pEvent = m_pGraph.get();
    if (!m_pGraph->RenderFile(QFile::decodeName(QByteArray::fromStdString(m_strFile)))) {
        return FailPlay("Unable to render file");
    }
    const player::SeekingAnswer seeking = m_pGraph->CheckSeeking();
    const bool positionsKnown = seeking == player::SeekingAnswer::Full || seeking == player::SeekingAnswer::Unknown;
    m_pSeeking = positionsKnown ? m_pGraph.get() : nullptr;
    if (!m_pGraph->Run()) return FailPlay(nullptr);
    m_nTimer = startTimer(kPositionPeriodMs);
    SetButtons(false, true);
}

void CPlayerPage::FailPlay(const char* message) {
    if (message != nullptr)
        framework::MessageBoxes().Show(this, message, "Warning", framework::MessageIcon::Exclamation);
    // What was acquired stays held until the next Play or tear-down, but the
    // file goes back to the main dialog at once, so a save still reaches it.
    GiveStreamBack();
}

void CPlayerPage::OnStop() {
    if (m_nTimer != 0) {
        killTimer(m_nTimer);
        m_nTimer = 0;
    }
    if (!m_pGraph) return;
    m_pGraph->Stop();
    SetButtons(true, false);
    m_stcDisplay->clear();
    ReleaseGraph();
    GiveStreamBack();
}

void CPlayerPage::ReleaseGraph() {
    m_pSeeking = nullptr;
    m_pEvent = nullptr;
    m_pGraph.reset();
}

void CPlayerPage::GiveStreamBack() {
    if (m_pDocument == nullptr || !m_pDocument->FileLent()) return;
    if (m_pDocument->TakeFileBack(m_lFilePos)) {
        m_bReopenFailureShown = false;
        m_bGoneShown = false;
    } else {
        TellStreamLost();
    }
}

// A failed Play gives the stream back and a later tear-down tries again:
// the same loss is told once. A file that is gone stays gone, and is told
// once until it is back.
void CPlayerPage::TellStreamLost() {
    std::error_code error;
    if (!std::filesystem::exists(m_strFile, error)) {
        if (!m_bGoneShown) {
            framework::MessageBoxes().Show(this,
                                           "The file was moved or deleted while open:\n" +
                                               QFile::decodeName(QByteArray::fromStdString(m_strFile)) +
                                               "\n\nOpen it again from where it is now to play or save it.",
                                           QString(), framework::MessageIcon::Exclamation);
        }
        m_bGoneShown = true;
        return;
    }
    if (!m_bReopenFailureShown) {
        framework::MessageBoxes().Show(this, "File sharing violationg\nPlease restart program", QString(),
                                       framework::MessageIcon::None);
    }
    m_bReopenFailureShown = true;
}

bool CPlayerPage::OnKillActive() {
    if (!m_strFile.empty()) OnStop();
    return CPropertyPage::OnKillActive();
}

bool CPlayerPage::event(QEvent* event) {
    if (event->type() == framework::WM_PLAYEREVENT) {
        OnGraphNotify();
        return true;
    }
    return CPropertyPage::event(event);
}

void CPlayerPage::OnGraphNotify() {
    if (m_pEvent == nullptr) return;
    while (const std::optional<long> code = m_pEvent->GetEvent()) {
        // An error ends playback as its end does; otherwise the page would
        // stay playing with nothing to play.
        if (*code == player::EC_COMPLETE || *code == player::EC_USERABORT || *code == player::EC_ERRORABORT) {
            OnStop();
            return;
        }
    }
}

void CPlayerPage::timerEvent(QTimerEvent* event) {
    if (event->timerId() != m_nTimer) {
        CPropertyPage::timerEvent(event);
        return;
    }
    OnTimer();
}

void CPlayerPage::OnTimer() {
    if (m_pSeeking == nullptr) return;
    const std::optional<std::int64_t> position = m_pSeeking->CurrentPosition();
    const std::optional<std::int64_t> duration = m_pSeeking->Duration();
    // Some streams learn their length only after a while; until then the
    // display keeps what it showed.
    if (!position || !duration) return;
    ShowPosition(QString::fromStdString(player::PlayingLine(*position, *duration)));
    const std::uint32_t rate = m_pTimerRecord != nullptr ? m_pTimerRecord->m_nSampleRate : 0;
    const auto frame =
        static_cast<std::uint64_t>(std::max<double>(0, static_cast<double>(*position) * rate / kUnitsPerSecond));
    m_waveform->SetPlayhead(frame);
    m_markers->SetPlayhead(m_waveform->Playhead());
}

void CPlayerPage::ShowPosition(const QString& line) { m_stcDisplay->setText(line); }
