#include "CMainApp.h"

#include "CMainDlg.h"

bool CMainApp::InitInstance() {
    CMainDlg dlg;
    framework::AfxSetMainWnd(&dlg);
    dlg.exec();
    framework::AfxSetMainWnd(nullptr);
    return false;
}
