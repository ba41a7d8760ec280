#pragma once

#include <QString>
#include <concepts>
#include <cstdint>
#include <string>

#include "framework/TemplateWidgets.h"

class QWidget;

namespace framework {

// One exchange between a window's controls and its members. Members-from-
// controls (save) validates; the first failure shows the standard message,
// puts the focus on the control and stops the rest of the exchange.
class CDataExchange {
public:
    CDataExchange(const TemplateWidgets& widgets, QWidget* owner, bool saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), widgets_(widgets), owner_(owner) {}

    const bool m_bSaveAndValidate;
    bool Failed() const { return failed_; }

    // The control of the step being exchanged; the one a failure points at.
    QWidget* PrepareCtrl(int id);
    QWidget* LastCtrl() const { return current_; }
    void Fail(const QString& message);

private:
    const TemplateWidgets& widgets_;
    QWidget* owner_;
    QWidget* current_ = nullptr;
    bool failed_ = false;
};

// Text of an edit and an 8-bit member, in the file's character set. Text
// the set cannot hold is refused, naming the control and the characters.
void DDX_Text(CDataExchange* pDX, int id, std::string& value);
// Unsigned decimal text of an edit and a 32-bit member.
void DDX_Text(CDataExchange* pDX, int id, std::uint32_t& value);
// A length limit; controls-from-members it also limits what the edit takes.
void DDV_MaxChars(CDataExchange* pDX, const std::string& value, int maxChars);
// An inclusive range.
void DDV_MinMaxUInt(CDataExchange* pDX, std::uint32_t value, std::uint32_t minValue, std::uint32_t maxValue);

// Binds a control object to the control of the id.
template <class Control>
void DDX_Control(CDataExchange* pDX, int id, Control*& control) {
    if (pDX->Failed()) return;
    control = qobject_cast<Control*>(pDX->PrepareCtrl(id));
}

// A control object that takes over a control the template built, as a
// subclassed window does, instead of pointing at it.
template <class Control>
concept AttachableControl = requires(Control& control, QWidget* widget) {
    { control.SubclassWindow(widget) } -> std::same_as<bool>;
    { control.GetSafeWidget() } -> std::convertible_to<const QWidget*>;
};

// Attaches such an object to the control of the id. It stays attached, so
// later exchanges leave it alone.
template <AttachableControl Control>
void DDX_Control(CDataExchange* pDX, int id, Control& control) {
    if (pDX->Failed() || control.GetSafeWidget() != nullptr) return;
    if (QWidget* widget = pDX->PrepareCtrl(id)) control.SubclassWindow(widget);
}

}  // namespace framework
