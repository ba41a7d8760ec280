#include "framework/FileTextValidator.h"

#include <QAction>
#include <QLineEdit>
#include <QStyle>
#include <QToolTip>

#include "framework/Text8.h"

namespace framework {

FileTextValidator::FileTextValidator(QLineEdit* edit)
    : QValidator(edit),
      warning_(
          edit->addAction(edit->style()->standardIcon(QStyle::SP_MessageBoxWarning), QLineEdit::TrailingPosition)) {
    warning_->setVisible(false);
    connect(edit, &QLineEdit::textChanged, this, [this, edit](const QString& text) { Mark(edit, text); });
}

// Intermediate keeps the text in the edit without counting it as finished.
QValidator::State FileTextValidator::validate(QString& input, int&) const {
    return ToFileText(input) ? Acceptable : Intermediate;
}

void FileTextValidator::Mark(QLineEdit* edit, const QString& text) {
    const QStringList unstorable = Unstorable(text);
    QString notice;
    if (!unstorable.isEmpty()) {
        notice = DescribeUnstorable(unstorable) + ".";
        notice[0] = notice[0].toUpper();
    }
    const bool appeared = !warning_->isVisible() && !notice.isEmpty();
    warning_->setVisible(!notice.isEmpty());
    warning_->setToolTip(notice);
    edit->setToolTip(notice);
    edit->setAccessibleDescription(notice);
    // Said at once where the typing is, then kept on the sign and the edit.
    if (appeared && edit->isVisible()) QToolTip::showText(edit->mapToGlobal(QPoint(0, edit->height())), notice, edit);
}

}  // namespace framework
