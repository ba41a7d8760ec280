#pragma once

#include <QIcon>
#include <atomic>
#include <functional>
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
    // The walk every load runs first; with the fixed-order one, a file whose
    // cart chunk only the any-layout walk finds is offered that walk.
    void SetChunkWalk(wave::ChunkWalk walk) { m_walk = walk; }

    // APPLY may be enabled only with a cart chunk loaded from a writable file
    // and no save running.
    void EnableDlgItem(int id, bool enable) override;
    // With APPLY enabled, asks whether to save first; Save carries on only
    // after a successful save, Cancel drops the request.
    void SettleEditsThen(std::function<void()> proceed) override;

    QLabel* m_stcWait = nullptr;
    QPushButton* m_btnExit = nullptr;
    QProgressBar* m_progress = nullptr;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void accept() override;
    void reject() override;
    void DoDataExchange(framework::CDataExchange* pDX) override;

private:
    bool OnInitDialog();
    void OnOpenWave();
    void LoadWaveFile();
    wave::LoadFailure OpenByWalk(wave::ChunkWalk walk);
    bool AnyLayoutFindsCart() const;
    void ShowLoadFailure(wave::LoadFailure failure);
    void OnApply();
    void SaveThreadProc(wave::CartWrites writes);
    void SetProgress(int position);
    void OnSaveDone();
    void HoldOffDuringSave(bool held);
    bool CartLoaded() const;
    bool ApplyEnabled() const;
    void SetCartPagesModified(bool modified);
    void SetCartPagesEdited(bool edited);
    bool CartPagesEdited() const;

    CCartCkSheet* m_pSheet = nullptr;
    wave::WaveDocument m_document;
    QIcon m_hIcon;
    std::thread worker_;
    std::atomic<bool> workerDone_{true};
    wave::SaveResult saveResult_;
    bool saving_ = false;
    bool readOnly_ = false;
    wave::ChunkWalk m_walk = wave::ChunkWalk::FixedOrder;  // the file could be opened for reading only
    // Dates and times as loaded (or last saved): only those changed since
    // are written. The values a running save writes become the new ones.
    wave::CartInfo2Record loadedCart2_;
    wave::CartInfo2Record savingCart2_;
    // What the user asked for before choosing to save first.
    std::function<void()> afterSave_;
};
