#pragma once

#include <QWidget>

#include "framework/DataExchange.h"
#include "framework/TemplateWidgets.h"
#include "res/DialogTemplate.h"

namespace framework {

// A page of a property sheet, built from its template on first activation.
// Activation fills the controls from the members; leaving reads them back
// with validation and is refused when that fails.
class CPropertyPage : public QWidget {
    Q_OBJECT

public:
    explicit CPropertyPage(const res::DialogTemplate& dialogTemplate);

    QString Caption() const;
    QWidget* GetDlgItem(int id) const { return widgets_.Item(id); }
    template <class Control>
    Control* Item(int id) const {
        return qobject_cast<Control*>(GetDlgItem(id));
    }

    // The exchange: true reads members from controls and validates.
    bool UpdateData(bool saveAndValidate = true);
    void SetModified(bool modified = true) { modified_ = modified; }
    bool IsModified() const { return modified_; }
    // Whether the user changed a field by hand since the last load or save.
    // A refresh of the controls marks the page modified, never edited.
    void SetEdited(bool edited) { edited_ = edited; }
    bool IsEdited() const { return edited_; }

    // Activation by the sheet: creates the controls the first time.
    virtual bool OnSetActive();
    virtual bool OnKillActive();

protected:
    virtual bool OnInitDialog();
    virtual void DoDataExchange(CDataExchange*) {}
    // Shown or hidden, whatever the flag.
    virtual void OnShowWindow(bool) {}

    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    const res::DialogTemplate& template_;
    TemplateWidgets widgets_;
    bool modified_ = false;
    bool edited_ = false;
};

}  // namespace framework
