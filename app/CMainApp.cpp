#include "CMainApp.h"

#include "CMainDlg.h"

bool CMainApp::InitInstance() {
    CMainDlg dlg;
    dlg.SetChunkWalk(m_walk);
    framework::AfxSetMainWnd(&dlg);
    dlg.exec();
    framework::AfxSetMainWnd(nullptr);
    return false;
}
