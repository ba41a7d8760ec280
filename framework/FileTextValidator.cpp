#include "FileTextValidator.h"

#include <QApplication>
#include <QLineEdit>
#include <QToolTip>
#include <utility>

#include "Text8.h"

namespace framework {

namespace {

// The first character (a whole code point) the 8-bit set cannot hold.
QString FirstRefused(const QString& input) {
    for (const uint value : input.toUcs4()) {
        const auto codePoint = static_cast<char32_t>(value);
        QString character = QString::fromUcs4(&codePoint, 1);
        if (!ToFileText(character)) return character;
    }
    return {};
}

}  // namespace

FileTextValidator::FileTextValidator(QLineEdit* edit) : QValidator(edit) {
    connect(edit, &QLineEdit::inputRejected, this, [this, edit] { NoticeRefusal(edit); });
}

QValidator::State FileTextValidator::validate(QString& input, int&) const {
    refused_ = ToFileText(input) ? QString() : FirstRefused(input);
    return refused_.isEmpty() ? Acceptable : Invalid;
}

void FileTextValidator::NoticeRefusal(QLineEdit* edit) const {
    // A rejection for length (the edit's maximum) is not ours to explain.
    if (refused_.isEmpty()) return;
    QApplication::beep();
    QToolTip::showText(edit->mapToGlobal(QPoint(0, edit->height())),
                       "\"" + std::exchange(refused_, {}) + "\" cannot be stored in this file.", edit);
}

}  // namespace framework
