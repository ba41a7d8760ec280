#include "framework/DataExchange.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>

#include "framework/MessageBoxService.h"
#include "framework/Text8.h"

namespace framework {

QWidget* CDataExchange::PrepareCtrl(int id) {
    current_ = widgets_.Item(id);
    return current_;
}

void CDataExchange::Fail(const QString& message) {
    MessageBoxes().Show(owner_, message, QString(), MessageIcon::Exclamation);
    if (current_ != nullptr) {
        current_->setFocus(Qt::OtherFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(current_)) edit->selectAll();
    }
    failed_ = true;
}

namespace {

QString ControlText(QWidget* control) {
    if (auto* edit = qobject_cast<QLineEdit*>(control)) return edit->text();
    if (auto* edit = qobject_cast<QPlainTextEdit*>(control)) return edit->toPlainText();
    return {};
}

void SetControlText(QWidget* control, const QString& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        if (edit->text() != text) edit->setText(text);
    } else if (auto* multi = qobject_cast<QPlainTextEdit*>(control)) {
        // Lines end in CR LF in the file; the edit breaks the line there.
        QString shown = text;
        shown.replace("\r\n", "\n");
        multi->setPlainText(shown);
    }
}

bool IsReadOnly(QWidget* control) {
    if (auto* edit = qobject_cast<QLineEdit*>(control)) return edit->isReadOnly();
    if (auto* edit = qobject_cast<QPlainTextEdit*>(control)) return edit->isReadOnly();
    return true;
}

}  // namespace

void DDX_Text(CDataExchange* pDX, int id, std::string& value) {
    if (pDX->Failed()) return;
    QWidget* control = pDX->PrepareCtrl(id);
    if (!pDX->m_bSaveAndValidate) {
        SetControlText(control, FromFileText(value));
        return;
    }
    // A read-only edit holds what it was given; reading it back must not
    // lose what its display changed (line ends).
    if (IsReadOnly(control)) return;
    // Text left as shown keeps its bytes, also those the character set
    // shows only as a stand-in.
    const QString text = ControlText(control);
    if (text == FromFileText(value)) return;
    if (const std::optional<std::string> bytes = ToFileText(text)) {
        value = *bytes;
        return;
    }
    pDX->Fail(control->accessibleName() + ": " + DescribeUnstorable(Unstorable(text)) + ".");
}

void DDX_Text(CDataExchange* pDX, int id, std::uint32_t& value) {
    if (pDX->Failed()) return;
    QWidget* control = pDX->PrepareCtrl(id);
    if (!pDX->m_bSaveAndValidate) {
        SetControlText(control, QString::number(value));
        return;
    }
    const QString text = ControlText(control).trimmed();
    bool ok = false;
    const qulonglong parsed = text.toULongLong(&ok, 10);
    const bool digitsOnly = !text.isEmpty() && !text.contains(QRegularExpression("[^0-9]"));
    if (!ok || !digitsOnly || parsed > 0xFFFFFFFFull) {
        pDX->Fail("Please enter an unsigned whole number.");
        return;
    }
    value = static_cast<std::uint32_t>(parsed);
}

void DDV_MaxChars(CDataExchange* pDX, const std::string& value, int maxChars) {
    if (pDX->Failed()) return;
    if (!pDX->m_bSaveAndValidate) {
        // A limit follows the exchange of its control.
        if (auto* edit = qobject_cast<QLineEdit*>(pDX->LastCtrl())) edit->setMaxLength(maxChars);
        return;
    }
    if (value.size() > static_cast<std::size_t>(maxChars)) {
        pDX->Fail(QString("Please enter no more than %1 characters.").arg(maxChars));
    }
}

void DDV_MinMaxUInt(CDataExchange* pDX, std::uint32_t value, std::uint32_t minValue, std::uint32_t maxValue) {
    if (pDX->Failed() || !pDX->m_bSaveAndValidate) return;
    if (value < minValue || value > maxValue) {
        pDX->Fail(QString("Please enter an integer between %1 and %2.").arg(minValue).arg(maxValue));
    }
}

}  // namespace framework
