#include "framework/Dialog.h"

#include <QPointer>

namespace framework {

CDialog::CDialog(const res::DialogTemplate& dialogTemplate, QWidget* parent) : QDialog(parent) {
    widgets_.Build(this, dialogTemplate);
    setWindowTitle(
        QString::fromUtf8(dialogTemplate.caption.data(), static_cast<qsizetype>(dialogTemplate.caption.size())));
}

bool CDialog::UpdateData(bool saveAndValidate) {
    CDataExchange exchange(widgets_, this, saveAndValidate);
    DoDataExchange(&exchange);
    return !exchange.Failed();
}

void CDialog::EnableDlgItem(int id, bool enable) {
    if (QWidget* item = GetDlgItem(id)) item->setEnabled(enable);
}

namespace {
QPointer<CDialog>& MainWindow() {
    static QPointer<CDialog> window;
    return window;
}
}  // namespace

CDialog* AfxGetMainWnd() { return MainWindow(); }
void AfxSetMainWnd(CDialog* window) { MainWindow() = window; }

}  // namespace framework
