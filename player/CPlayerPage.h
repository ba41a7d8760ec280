#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "framework/PropertyPage.h"
#include "pages/PageRecords.h"
#include "player/MediaGraph.h"
#include "player/OverviewPeaks.h"

class QLabel;
class MarkerPanel;
class WaveformView;

namespace wave {
class WaveDocument;
}

// The Player page: plays the open file by its path, showing position and
// length. The document lends its file while the media service has it, and
// takes it back where it was afterwards. Above, the file's waveform with its
// post timers and the playhead; below, the markers, whose edits go into the
// second cart page's timers and are written by APPLY like any other field.
class CPlayerPage : public framework::CPropertyPage, public PlayerRecord {
    Q_OBJECT

public:
    CPlayerPage();
    ~CPlayerPage() override;

    void OnPlay();
    // The one tear-down: Stop, the end of playback, leaving the page.
    void OnStop();
    bool OnKillActive() override;
    // Play is held off while a save uses the stream.
    void HoldPlayback(bool held);
    // The open file's overview is still being computed.
    bool OverviewRunning() const { return m_overview.Running(); }

    std::int64_t m_lFilePos = 0;
    // The open file's owner, which lends it while the media service plays
    // it; set by the main dialog.
    wave::WaveDocument* m_pDocument = nullptr;
    std::unique_ptr<player::MediaGraph> m_pGraph;
    // The graph again while it answers for seeking and events; null otherwise.
    player::MediaGraph* m_pSeeking = nullptr;
    player::MediaGraph* m_pEvent = nullptr;
    int m_nTimer = 0;
    QLabel* m_stcDisplay = nullptr;
    // The timers the markers edit and the page that owns them; set by the
    // main dialog, with whether they may be edited now.
    CartInfo2Record* m_pTimerRecord = nullptr;
    framework::CPropertyPage* m_pTimerPage = nullptr;
    std::function<bool()> m_markersEditable;
    WaveformView* m_waveform = nullptr;
    MarkerPanel* m_markers = nullptr;

signals:
    // The open file's overview is complete (ok) or could not be made.
    void overviewFinished(bool ok);

protected:
    bool OnInitDialog() override;
    void DoDataExchange(framework::CDataExchange* pDX) override;
    void OnShowWindow(bool show) override;
    bool event(QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void OnGraphNotify();
    void OnTimer();
    void ShowPosition(const QString& line);
    void ReleaseGraph();
    void GiveStreamBack();
    void TellStreamLost();
    void FailPlay(const char* message);
    void SetButtons(bool playEnabled, bool stopEnabled);
    // The waveform and markers of the file the page shows; the overview
    // starts anew only for another file.
    void ShowMarkers();
    void OnMarkersEdited(const wave::PostTimers& timers);
    void OnSeek(std::uint64_t frame);

    OverviewPeaks m_overview;
    std::string m_strOverviewFile;
    // Counts the overviews started: a call still queued from an earlier
    // one is dropped.
    unsigned m_nOverview = 0;
    // The frames the overview counted, once known.
    std::optional<std::uint64_t> m_frames;

    // The stream could not be reopened since the last Play, and the user
    // has been told so.
    bool m_bReopenFailureShown = false;
    // The file is gone since the stream was last open, and the user has been
    // told so.
    bool m_bGoneShown = false;
};
