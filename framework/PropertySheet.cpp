#include "framework/PropertySheet.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>
#include <algorithm>

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
    tabs_->installEventFilter(this);
    // A click on a tab gives the tabs the focus, as a keyboard change gives
    // it to the page: it never stays on Exit or on the page that went.
    tabs_->setFocusPolicy(Qt::StrongFocus);
    // Anywhere in the window, as in a property sheet; the first page follows
    // the last.
    const auto step = [this](QKeySequence keys, int by) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [this, by] {
            if (SetActivePage((active_ + by + GetPageCount()) % GetPageCount())) FocusFirstControl();
        });
    };
    step(QKeySequence(Qt::CTRL | Qt::Key_Tab), 1);
    step(QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1);
    // Shift turns Tab into Backtab on the way in.
    step(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1);
    step(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), -1);
    step(QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1);
}

// Clicks and arrow keys on the tabs ask the active page before the tab bar
// moves, so a refused change never shows another tab selected.
bool CPropertySheet::eventFilter(QObject* watched, QEvent* event) {
    if (watched != tabs_) return QWidget::eventFilter(watched, event);
    int target = -1;
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        const auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() == Qt::LeftButton) target = tabs_->tabAt(press->position().toPoint());
    } else if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Left || key == Qt::Key_Up) target = std::max(active_ - 1, 0);
        if (key == Qt::Key_Right || key == Qt::Key_Down) target = std::min(active_ + 1, GetPageCount() - 1);
    } else if (event->type() == QEvent::Wheel) {
        return true;  // the wheel would move the tabs without asking
    }
    if (target < 0) return false;
    OnTabChanged(target);
    return true;
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

// The keys may have been pressed on Exit, where the next Space would end the
// program; the tabs take the focus when the page has nothing that could.
void CPropertySheet::FocusFirstControl() {
    QWidget* page = GetActivePage();
    for (QWidget* next = page->nextInFocusChain(); next != page; next = next->nextInFocusChain()) {
        if (page->isAncestorOf(next) && next->isEnabled() && next->isVisibleTo(page) &&
            (next->focusPolicy() & Qt::TabFocus) != 0) {
            next->setFocus(Qt::TabFocusReason);
            return;
        }
    }
    tabs_->setFocus(Qt::TabFocusReason);
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
