#pragma once

#include <QIcon>
#include <atomic>
#include <thread>

#include "CartWrites.h"
#include "Dialog.h"
#include "WaveDocument.h"

class CCartCkSheet;
class QLabel;
class QProgressBar;
class QPushButton;

// False from the start of a save until its end is handled; close requests
// are ignored meanwhile.
extern std::atomic<bool> g_bCanClose;

// The main window: the sheet of pages above, Exit, APPLY and the save
// progress below. Owns the open file and what the loader keeps of it.
class CMainDlg : public framework::CDialog {
    Q_OBJECT

public:
    explicit CMainDlg(QWidget* parent = nullptr);
    ~CMainDlg() override;

    CCartCkSheet* Sheet() const { return m_pSheet; }
    wave::WaveDocument& Document() { return m_document; }
    bool Saving() const { return saving_; }

    // APPLY may be enabled only with a cart chunk loaded and no save running.
    void EnableDlgItem(int id, bool enable) override;

    QLabel* m_stcWait = nullptr;
    QPushButton* m_btnExit = nullptr;
    QProgressBar* m_progress = nullptr;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    void DoDataExchange(framework::CDataExchange* pDX) override;

private:
    bool OnInitDialog();
    void OnOpenWave();
    void LoadWaveFile();
    void OnApply();
    void SaveThreadProc(wave::CartWrites writes);
    void SetProgress(int position);
    void OnSaveDone();
    void HoldOffDuringSave(bool held);
    bool CartLoaded() const;

    CCartCkSheet* m_pSheet = nullptr;
    wave::WaveDocument m_document;
    QIcon m_hIcon;
    std::thread worker_;
    std::atomic<bool> workerDone_{true};
    wave::SaveResult saveResult_;
    bool saving_ = false;
};
