#include "app/CMainApp.h"

#include <QTimer>

#include "app/CMainDlg.h"

bool CMainApp::InitInstance() {
    CMainDlg dlg;
    dlg.SetChunkWalk(m_walk);
    framework::AfxSetMainWnd(&dlg);
    // Queued, so that it runs from the dialog's own loop, after the window
    // shows: boxes the open raises then have their owner on screen.
    if (!m_filesAtStart.isEmpty()) {
        QTimer::singleShot(0, &dlg, [&dlg, this] { dlg.OpenFirstOf(m_filesAtStart, "named on the command line"); });
    }
    dlg.exec();
    framework::AfxSetMainWnd(nullptr);
    return false;
}
