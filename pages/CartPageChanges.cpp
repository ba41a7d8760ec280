#include "pages/CartPageChanges.h"

#include <QLineEdit>

#include "framework/Dialog.h"
#include "framework/PropertyPage.h"
#include "res/resource.h"

void WatchCartFieldChanges(framework::CPropertyPage* page, std::initializer_list<int> editIds) {
    for (const int id : editIds) {
        QLineEdit* edit = page->Item<QLineEdit>(id);
        QObject::connect(edit, &QLineEdit::textChanged, page, [page] {
            page->SetModified(true);
            if (framework::CDialog* main = framework::AfxGetMainWnd()) main->EnableDlgItem(IDC_APPLY, true);
        });
        // Typing, pasting, undo: only the user's own changes are worth a
        // question before they would be lost.
        QObject::connect(edit, &QLineEdit::textEdited, page, [page] { page->SetEdited(true); });
    }
}
