#pragma once

#include <QIcon>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "framework/Dialog.h"
#include "pages/PageRecords.h"
#include "wave/CartWrites.h"
#include "wave/WaveDocument.h"

class CCartCkSheet;
class QLabel;
class QProgressBar;
class QPushButton;

// The main window: the sheet of pages above, Exit, APPLY and the save
// progress below. Owns the open file and what the loader keeps of it.
class CMainDlg : public framework::CDialog {
    Q_OBJECT

public:
    explicit CMainDlg(QWidget* parent = nullptr);
    ~CMainDlg() override;

    CCartCkSheet* Sheet() const { return m_pSheet.get(); }
    wave::WaveDocument& Document() { return m_document; }
    bool Saving() const { return !m_bCanClose; }
    // The walk every load runs first; with the fixed-order one, a file whose
    // cart chunk only the any-layout walk finds is offered that walk.
    void SetChunkWalk(wave::ChunkWalk walk) { m_walk = walk; }
    // Opens a file named outside the Start page (command line, drop) as
    // Open would: unsaved edits are settled first, nothing opens during a save.
    void OpenFile(const QString& path);
    // Opens the first of the files; when there are more, says that only it
    // opens, with how they came ("dropped").
    void OpenFirstOf(const QStringList& files, const char* how);

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
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void accept() override;
    void reject() override;
    void DoDataExchange(framework::CDataExchange* pDX) override;

private:
    bool OnInitDialog();
    void OnOpenWave();
    void LoadWaveFile();
    wave::LoadFailure OpenByWalk(wave::ChunkWalk walk);
    // The pages and APPLY after a load: the format, read-only state, and the
    // dates and times the next save compares with.
    void ShowLoaded();
    // The pages' state after a load or an accepted offer: read-only flags,
    // APPLY, the values loaded to compare edits with.
    void ShowPages();
    // The check's findings on the file as it is on disk, for the Start page.
    void CheckLoadedFile();
    // After the box saying a file has no cart chunk: offers to add one at
    // the next save.
    void OfferNewCart();
    // The offer of the any-layout walk for a file the fixed-order one refused.
    static QString AnyLayoutQuestion(wave::LoadFailure failure, std::uint32_t stoppedAt);
    void ShowLoadFailure(wave::LoadFailure failure);
    void OnApply();
    void SaveThreadProc(wave::CartWrites writes);
    void SetProgress(int position);
    void OnSaveDone();
    void HoldOffDuringSave(bool held);
    bool CartLoaded() const;
    bool ApplyEnabled() const;
    QString FileName() const;  // of the file the Start page names
    void SetCartPagesModified(bool modified);
    void SetCartPagesEdited(bool edited);
    bool CartPagesEdited() const;

    // The document before the sheet: the pages go first, and the Player
    // page was handed the document's stream.
    wave::WaveDocument m_document;
    std::unique_ptr<CCartCkSheet> m_pSheet;
    QIcon m_hIcon;
    std::thread m_saveWorker;
    // False from the start of a save until its end is handled: close
    // requests are ignored, and nothing else may reach the file, meanwhile.
    bool m_bCanClose = true;
    // Set when the dialog goes while a save runs: the worker ends its
    // progress steps early instead of being waited for.
    std::atomic<bool> m_bStopWorker{false};
    wave::SaveResult m_saveResult;  // written by the worker, read after it is joined
    bool m_bReadOnly = false;       // the file could be opened for reading only
    bool m_bAddingCart = false;     // the next save adds a cart chunk, as the user accepted
    wave::ChunkWalk m_walk = wave::ChunkWalk::FixedOrder;
    // Dates and times as loaded (or last saved): only those changed since
    // are written. The values a running save writes become the new ones.
    CartInfo2Record m_loadedCart2;
    CartInfo2Record m_savingCart2;
    // What the user asked for before choosing to save first.
    std::function<void()> m_afterSave;
};
