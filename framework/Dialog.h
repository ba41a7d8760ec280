#pragma once

#include <QDialog>
#include <functional>

#include "framework/DataExchange.h"
#include "framework/TemplateWidgets.h"
#include "res/DialogTemplate.h"

namespace framework {

// A dialog built from its template.
class CDialog : public QDialog {
    Q_OBJECT

public:
    explicit CDialog(const res::DialogTemplate& dialogTemplate, QWidget* parent = nullptr);
    QWidget* GetDlgItem(int id) const { return widgets_.Item(id); }
    bool UpdateData(bool saveAndValidate = true);
    // Enables or disables a control; a dialog may keep its own rules on top.
    virtual void EnableDlgItem(int id, bool enable);
    // Runs proceed once edits that would be lost are dealt with. A dialog
    // with nothing to lose proceeds at once; the main window may ask first,
    // save first, or drop the request.
    virtual void SettleEditsThen(std::function<void()> proceed) { proceed(); }

protected:
    virtual void DoDataExchange(CDataExchange*) {}

private:
    TemplateWidgets widgets_;
};

// The application's main window, which pages reach for its buttons.
CDialog* AfxGetMainWnd();
void AfxSetMainWnd(CDialog* window);

}  // namespace framework
