#include "CartPageChanges.h"

#include <QLineEdit>

#include "Dialog.h"
#include "PropertyPage.h"
#include "resource.h"

void WatchCartFieldChanges(framework::CPropertyPage* page, std::initializer_list<int> editIds) {
    for (const int id : editIds) {
        QObject::connect(page->Item<QLineEdit>(id), &QLineEdit::textChanged, page, [page] {
            page->SetModified(true);
            if (framework::CDialog* main = framework::AfxGetMainWnd()) main->EnableDlgItem(IDC_APPLY, true);
        });
    }
}
