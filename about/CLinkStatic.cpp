#include "about/CLinkStatic.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPalette>

#include "about/LinkOpener.h"
#include "framework/MessageBoxService.h"

using framework::COLORREF;
using framework::RGB;

namespace {

// How far each side of a centred window moves in (negative: out): half the
// difference, truncated toward zero, so the centre stays where it was.
int MoveInPerSide(int had, int needed) { return (had - needed) / 2; }

}  // namespace

QRect FitWindowRect(const QRect& window, const QSize& needed, Qt::Alignment alignment) {
    int left = window.left();
    int top = window.top();
    int right = left + window.width();
    int bottom = top + window.height();
    if (alignment & Qt::AlignVCenter) {
        const int in = MoveInPerSide(bottom - top, needed.height());
        top += in;
        bottom -= in;
    } else {
        bottom = top + needed.height();
    }
    if (alignment & Qt::AlignHCenter) {
        const int in = MoveInPerSide(right - left, needed.width());
        left += in;
        right -= in;
    } else if (alignment & Qt::AlignRight) {
        left = right - needed.width();
    } else {
        right = left + needed.width();
    }
    return QRect(left, top, right - left, bottom - top);
}

CLinkStatic::CLinkStatic()
    : m_clrUnvisited(RGB(0, 0, 238)), m_clrVisited(RGB(85, 26, 139)), m_clrHover(RGB(255, 0, 0)) {}

CLinkStatic::~CLinkStatic() {
    if (m_wnd) m_wnd->removeEventFilter(this);
}

bool CLinkStatic::SubclassWindow(QWidget* control) {
    auto* label = qobject_cast<QLabel*>(control);
    if (label == nullptr || m_wnd) return false;
    m_wnd = label;
    m_hover.Attach(label);
    label->setMouseTracking(true);  // moves arrive without a button held
    // Reachable and usable without a mouse, as a link on a web page is.
    label->setFocusPolicy(Qt::StrongFocus);
    label->installEventFilter(this);
    if (m_strTarget.isEmpty()) m_strTarget = label->text();
    if (label->text().isEmpty()) label->setText(m_strTarget);
    m_fontPlain = label->font();
    m_fontUnderlined = m_fontPlain;
    m_fontUnderlined.setUnderline(true);
    m_fontUnderlined.setFamilies({"Verdana"});
    FitToText();
    LoadHandCursor();
    // A mode chosen before attaching does not survive it: choose it after.
    SetUnderlineMode(UNDERLINE_ON_HOVER);
    label->setToolTip(m_strTarget);
    return true;
}

void CLinkStatic::SetTarget(QString target, QString tip) {
    m_strTarget = std::move(target);
    if (!m_wnd) return;
    FitToText();
    m_wnd->setToolTip(tip);
}

void CLinkStatic::SetLinkColors(COLORREF unvisited, COLORREF visited, COLORREF hover) {
    m_clrUnvisited = unvisited;
    m_clrVisited = visited;
    m_clrHover = hover == framework::kNoColor
                     ? framework::FromQColor(QApplication::palette().color(QPalette::Highlight))
                     : hover;
    Invalidate();
}

void CLinkStatic::MarkVisited(bool visited) {
    m_bLinkVisited = visited;
    Invalidate();
}

void CLinkStatic::SetUnderlineMode(int mode) {
    if (mode == m_nUnderlineMode) return;
    if (m_wnd) {
        SetFont(mode == UNDERLINE_ALWAYS ? m_fontUnderlined : m_fontPlain);
        Invalidate();
    }
    m_nUnderlineMode = mode;
}

QColor CLinkStatic::CtlColor() const {
    return framework::ToQColor(m_hover.Inside() ? m_clrHover : m_bLinkVisited ? m_clrVisited : m_clrUnvisited);
}

bool CLinkStatic::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_wnd) return false;
    switch (event->type()) {
        case QEvent::Paint: {
            // The colour is chosen at each paint, as the label draws the text.
            QPalette palette = m_wnd->palette();
            if (palette.color(QPalette::WindowText) != CtlColor()) {
                palette.setColor(QPalette::WindowText, CtlColor());
                m_wnd->setPalette(palette);
            }
            break;
        }
        case QEvent::MouseMove: m_hover.OnMouseMove(); break;
        case QEvent::FocusIn: ShowFocus(true); break;
        case QEvent::FocusOut: ShowFocus(false); break;
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Space) break;
            OnClicked();
            return true;  // Enter opens the link, not the dialog's default button
        }
        case QEvent::MouseButtonPress: m_bPressed = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton; break;
        case QEvent::MouseButtonRelease: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const bool click =
                m_bPressed && mouse->button() == Qt::LeftButton && m_wnd->rect().contains(mouse->position().toPoint());
            m_bPressed = false;
            if (click) OnClicked();
            break;
        }
        default: break;
    }
    return false;  // the label still sees everything
}

// The style's focus frame around the text: the label draws none itself.
void CLinkStatic::ShowFocus(bool focused) {
    if (!m_focusFrame) m_focusFrame = new QFocusFrame(m_wnd);
    m_focusFrame->setWidget(focused ? m_wnd.data() : nullptr);
}

void CLinkStatic::OnHoverChanged(bool inside) {
    if (inside && m_nUnderlineMode == UNDERLINE_ON_HOVER) SetFont(m_fontUnderlined);
    if (!inside && m_nUnderlineMode != UNDERLINE_ALWAYS) SetFont(m_fontPlain);
    Invalidate();
}

void CLinkStatic::OnClicked() {
    // The poll, still running, settles the hover state.
    m_hover.Forget();
    OpenTarget(m_strTarget);
}

void CLinkStatic::OnOpened(int result) {
    m_bLinkVisited = result > 32;
    if (m_bLinkVisited) {
        MarkVisited(true);
    } else {
        QApplication::beep();
        ShowOpenError(result);
    }
}

void CLinkStatic::FitToText() {
    if (!m_wnd || !m_bFitToText) return;
    const QRect window = m_wnd->geometry();
    const QRect client = m_wnd->contentsRect();
    // Measured underlined, whatever the mode: the font it may switch to.
    const QFontMetrics metrics(m_fontUnderlined);
    const QSize text(metrics.horizontalAdvance(m_wnd->text()), metrics.height());
    const QSize needed(text.width() + window.width() - client.width(),
                       text.height() + window.height() - client.height());
    m_wnd->setGeometry(FitWindowRect(window, needed, m_wnd->alignment()));
}

void CLinkStatic::LoadHandCursor() {
    if (!m_hHandCursor) m_hHandCursor = QCursor(Qt::PointingHandCursor);
    if (m_wnd) m_wnd->setCursor(*m_hHandCursor);
}

void CLinkStatic::OpenTarget(const QString& target) {
    LinkOpeners().OpenTarget(target, this, [this](int result) { OnOpened(result); });
}

void CLinkStatic::ShowOpenError(int code) {
    framework::MessageBoxes().Show(m_wnd ? m_wnd->window() : nullptr,
                                   "Unable to open hyperlink:\n\n" + OpenErrorText(code), QString(),
                                   framework::MessageIcon::Exclamation);
}

void CLinkStatic::SetFont(const QFont& font) { m_wnd->setFont(font); }

void CLinkStatic::Invalidate() {
    if (m_wnd) m_wnd->update();
}
