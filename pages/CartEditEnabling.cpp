#include "pages/CartEditEnabling.h"

#include <QLineEdit>

void EnableCartEdit(QWidget* control, bool cartLoaded, bool readOnly) {
    control->setEnabled(cartLoaded);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->setReadOnly(readOnly);
}
