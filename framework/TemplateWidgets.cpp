#include "framework/TemplateWidgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <algorithm>

#include "framework/AccessibleNames.h"
#include "framework/FileTextValidator.h"

namespace framework {

namespace {

using res::ControlKind;
using res::ControlTemplate;
using res::kNoId;
using enum res::Style;

bool Has(unsigned style, res::Style flag) { return (style & flag) != 0; }

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// Files dragged onto an edit are for the window to open, not text to insert
// (Qt's edits would take their addresses as text): the window gets the drag.
class FileDragsToWindow : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
        if (!static_cast<QDropEvent*>(event)->mimeData()->hasUrls()) return false;
        // Straight to the window's handler: sending it would route the drag
        // to the widget under the pointer, this edit, again.
        QObject* window = static_cast<QWidget*>(watched)->window();
        window->event(event);
        return true;
    }
};

QWidget* MakeTextEdit(const ControlTemplate& c, QWidget* parent) {
    if (Has(c.style, kMultiline)) {
        auto* edit = new QPlainTextEdit(parent);
        edit->setReadOnly(Has(c.style, kReadOnly));
        edit->setLineWrapMode(Has(c.style, kAutoHScroll) ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
        edit->setFrameShadow(QFrame::Sunken);
        return edit;
    }
    auto* edit = new QLineEdit(parent);
    edit->setReadOnly(Has(c.style, kReadOnly));
    edit->setFrame(Has(c.style, kBorder) || Has(c.style, kStaticEdge));
    if (Has(c.style, kCenter)) edit->setAlignment(Qt::AlignCenter);
    if (Has(c.style, kNumber)) {
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));
    } else if (!Has(c.style, kReadOnly)) {
        edit->setValidator(new FileTextValidator(edit));
    }
    return edit;
}

QWidget* MakeEdit(const ControlTemplate& c, QWidget* parent) {
    QWidget* edit = MakeTextEdit(c, parent);
    auto* filter = new FileDragsToWindow(edit);
    edit->installEventFilter(filter);
    // A multi-line edit's drags arrive at its viewport.
    if (auto* area = qobject_cast<QAbstractScrollArea*>(edit)) area->viewport()->installEventFilter(filter);
    return edit;
}

QWidget* MakeLabel(const ControlTemplate& c, QWidget* parent) {
    auto* label = new QLabel(Text(c.text), parent);
    Qt::Alignment horizontal = Has(c.style, kCenter)  ? Qt::AlignHCenter
                               : Has(c.style, kRight) ? Qt::AlignRight
                                                      : Qt::AlignLeft;
    label->setAlignment(horizontal | (Has(c.style, kCenterImage) ? Qt::AlignVCenter : Qt::AlignTop));
    return label;
}

QWidget* MakePicture(const ControlTemplate& c, QWidget* parent) {
    auto* picture = new QLabel(parent);
    const QString name = Text(c.text);
    picture->setPixmap(QPixmap(":/res/" + name + ".png"));
    if (Has(c.style, kSunken)) picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return picture;
}

QSize FitPicture(QLabel* picture, int height) {
    const int edges = picture->sizeHint().height() - picture->pixmap().height();
    if (picture->sizeHint().height() > height) {
        picture->setPixmap(picture->pixmap().scaledToHeight(height - edges, Qt::SmoothTransformation));
    }
    return picture->sizeHint();
}

QWidget* MakeFrame(const ControlTemplate& c, QWidget* parent) {
    // A label, so that a filled rectangle can also carry drawn text.
    auto* frame = new QLabel(parent);
    QPalette palette = frame->palette();
    if (Has(c.style, kBlackRect)) {
        palette.setColor(QPalette::Window, Qt::black);
        frame->setAutoFillBackground(true);
    } else {
        palette.setColor(QPalette::WindowText, Has(c.style, kWhiteFrame) ? Qt::white : Qt::gray);
        frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    }
    frame->setPalette(palette);
    return frame;
}

QWidget* MakeControl(const ControlTemplate& c, QWidget* parent) {
    const QString text = Text(c.text);
    switch (c.kind) {
        case ControlKind::PushButton: {
            auto* button = new QPushButton(text, parent);
            button->setDefault(Has(c.style, kDefaultButton));
            button->setFlat(Has(c.style, kFlat));
            // A focused push button takes Enter; the default one takes it elsewhere.
            button->setAutoDefault(true);
            return button;
        }
        case ControlKind::Edit: return MakeEdit(c, parent);
        case ControlKind::Label: return MakeLabel(c, parent);
        case ControlKind::GroupBox: return new QGroupBox(text, parent);
        case ControlKind::Picture: return MakePicture(c, parent);
        case ControlKind::ProgressBar: {
            auto* bar = new QProgressBar(parent);
            bar->setTextVisible(false);
            return bar;
        }
        case ControlKind::Frame: return MakeFrame(c, parent);
        case ControlKind::ComboBox: {
            auto* combo = new QComboBox(parent);
            combo->setEditable(false);
            return combo;
        }
        case ControlKind::CheckBox: return new QCheckBox(text, parent);
    }
    return nullptr;
}

Qt::FocusPolicy FocusOf(const ControlTemplate& c) {
    if (Has(c.style, kTabStop)) return Qt::StrongFocus;
    // Read-only texts can still be selected with the mouse, never tabbed to.
    return c.kind == ControlKind::Edit ? Qt::ClickFocus : Qt::NoFocus;
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int alphabet = metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    baseX_ = (alphabet / 26 + 1) / 2;
    baseY_ = metrics.height();
}

QRect DialogUnits::ToPixels(int x, int y, int cx, int cy) const {
    return {x * baseX_ / 4, y * baseY_ / 8, cx * baseX_ / 4, cy * baseY_ / 8};
}

QSize DialogUnits::ToPixels(int cx, int cy) const { return {cx * baseX_ / 4, cy * baseY_ / 8}; }

QFont TemplateFont(const res::DialogTemplate& t) { return QFont(Text(t.fontFace), t.pointSize); }

void TemplateWidgets::Build(QWidget* parent, const res::DialogTemplate& t) {
    parent->setFont(TemplateFont(t));
    const DialogUnits units(parent->font());
    parent->setFixedSize(units.ToPixels(t.cx, t.cy));
    QWidget* previous = nullptr;
    std::map<const ControlTemplate*, QWidget*> built;
    for (const ControlTemplate& c : t.controls) {
        QWidget* widget = MakeControl(c, parent);
        built[&c] = widget;
        QRect geometry = units.ToPixels(c.x, c.y, c.cx, c.cy);
        // A drop-down list's height is that of the open list; closed, it
        // takes the height its font needs.
        if (c.kind == ControlKind::ComboBox) geometry.setHeight(widget->sizeHint().height());
        // Layouts were drawn for a narrower font; a label never cuts its text.
        if (c.kind == ControlKind::Label) geometry.setWidth(std::max(geometry.width(), widget->sizeHint().width()));
        // A picture static takes its picture's size (and its edge); one taller
        // than its place is scaled down to fit it, in proportion.
        if (c.kind == ControlKind::Picture)
            geometry.setSize(FitPicture(static_cast<QLabel*>(widget), geometry.height()));
        widget->setGeometry(geometry);
        widget->setFocusPolicy(FocusOf(c));
        const AccessibleText spoken = AccessibleTextOf(t, c);
        if (!spoken.name.empty()) widget->setAccessibleName(Text(spoken.name));
        if (!spoken.description.empty()) widget->setAccessibleDescription(Text(spoken.description));
        if (c.kind == ControlKind::GroupBox || (c.kind == ControlKind::Frame && !Has(c.style, kBlackRect))) {
            widget->lower();  // outlines stay behind the controls they surround
        }                     // a frame behind the controls it groups
        if (previous != nullptr && FocusOf(c) == Qt::StrongFocus) QWidget::setTabOrder(previous, widget);
        if (FocusOf(c) == Qt::StrongFocus) previous = widget;
        if (c.id != kNoId) items_[c.id] = widget;
    }
    // A caption may come before or after its control in the template. Its
    // buddy is what Qt reports as the labelled-by relation.
    for (const ControlTemplate& c : t.controls) {
        if (const ControlTemplate* caption = AccessibleTextOf(t, c).caption) {
            static_cast<QLabel*>(built.at(caption))->setBuddy(built.at(&c));
        }
    }
    built_ = true;
}

QWidget* TemplateWidgets::Item(int id) const {
    const auto found = items_.find(id);
    return found == items_.end() ? nullptr : found->second;
}

}  // namespace framework
