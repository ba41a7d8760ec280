#pragma once

#include <QWidget>
#include <vector>

#include "framework/PropertyPage.h"

class QStackedWidget;
class QTabBar;

namespace framework {

// Tabs over pages, one of them active. A tab change first asks the active
// page to let go (it validates its controls); when it refuses, the tab
// springs back and the page never left the screen.
class CPropertySheet : public QWidget {
    Q_OBJECT

public:
    explicit CPropertySheet(int initialPage = 0);

    void AddPage(CPropertyPage* page);
    // Makes the sheet a child of the parent and activates the first page.
    void Create(QWidget* parent);

    CPropertyPage* GetPage(int index) const { return pages_.at(static_cast<std::size_t>(index)); }
    int GetPageCount() const { return static_cast<int>(pages_.size()); }
    int GetActiveIndex() const { return active_; }
    CPropertyPage* GetActivePage() const { return active_ < 0 ? nullptr : GetPage(active_); }
    // Activates a page by the same rules as a click on its tab.
    bool SetActivePage(int index);
    // While held, no page is left and no tab changes (a save is running).
    void HoldPages(bool held) { held_ = held; }
    QTabBar* TabBar() const { return tabs_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnTabChanged(int index);
    // To the active page's first control in tab order that can take it.
    void FocusFirstControl();
    void Activate(int index);

    std::vector<CPropertyPage*> pages_;
    QTabBar* tabs_;
    QStackedWidget* stack_;
    int initial_;
    int active_ = -1;
    bool held_ = false;
};

}  // namespace framework
