#include "PropertySheet.h"

#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

namespace framework {

CPropertySheet::CPropertySheet(int initialPage)
    : tabs_(new QTabBar(this)), stack_(new QStackedWidget(this)), initial_(initialPage) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tabs_);
    layout->addWidget(stack_);
    tabs_->setExpanding(false);
    stack_->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    connect(tabs_, &QTabBar::currentChanged, this, &CPropertySheet::OnTabChanged);
}

void CPropertySheet::AddPage(CPropertyPage* page) {
    pages_.push_back(page);
    stack_->addWidget(page);
    const QSignalBlocker quiet(tabs_);
    tabs_->addTab(page->Caption());
}

void CPropertySheet::Create(QWidget* parent) {
    setParent(parent);
    Activate(initial_);
    show();
}

bool CPropertySheet::SetActivePage(int index) {
    OnTabChanged(index);
    return active_ == index;
}

void CPropertySheet::OnTabChanged(int index) {
    if (index == active_ || index < 0 || index >= GetPageCount()) return;
    if (held_ || (active_ >= 0 && !GetActivePage()->OnKillActive())) {
        const QSignalBlocker quiet(tabs_);
        tabs_->setCurrentIndex(active_);
        return;
    }
    Activate(index);
}

void CPropertySheet::Activate(int index) {
    active_ = index;
    GetPage(index)->OnSetActive();
    {
        const QSignalBlocker quiet(tabs_);
        tabs_->setCurrentIndex(index);
    }
    stack_->setCurrentIndex(index);
}

}  // namespace framework
