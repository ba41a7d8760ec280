#include "framework/PropertyPage.h"

#include <QShowEvent>

namespace framework {

CPropertyPage::CPropertyPage(const res::DialogTemplate& dialogTemplate) : template_(dialogTemplate) {}

QString CPropertyPage::Caption() const {
    return QString::fromUtf8(template_.caption.data(), static_cast<qsizetype>(template_.caption.size()));
}

bool CPropertyPage::UpdateData(bool saveAndValidate) {
    CDataExchange exchange(widgets_, this, saveAndValidate);
    DoDataExchange(&exchange);
    return !exchange.Failed();
}

bool CPropertyPage::OnInitDialog() {
    UpdateData(false);
    return true;
}

bool CPropertyPage::OnSetActive() {
    if (!widgets_.Built()) {
        widgets_.Build(this, template_);
        return OnInitDialog();
    }
    return UpdateData(false);
}

bool CPropertyPage::OnKillActive() { return UpdateData(true); }

// Only the sheet's showing and hiding count: a window restored from the
// task bar must not reset what a page enabled.
void CPropertyPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) OnShowWindow(true);
}

void CPropertyPage::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous()) OnShowWindow(false);
}

}  // namespace framework
