#include "about/CHoverBitmapButton.h"

#include <QEvent>
#include <QPainter>
#include <QPushButton>

namespace {

QPixmap Picture(const QString& name) { return QPixmap(":/res/" + name + ".png"); }

}  // namespace

CHoverBitmapButton::CHoverBitmapButton() : m_bmpHover(Picture("VANTOURLD")), m_bmpNormal(Picture("VANTOURLU")) {}

CHoverBitmapButton::~CHoverBitmapButton() {
    if (m_wnd) m_wnd->removeEventFilter(this);
}

bool CHoverBitmapButton::AutoLoad(QWidget* control) {
    auto* button = qobject_cast<QPushButton*>(control);
    if (button == nullptr || m_wnd) return false;
    m_wnd = button;
    m_hover.Attach(button);
    button->setMouseTracking(true);  // moves arrive without a button held
    button->setCursor(m_hHandCursor);
    button->installEventFilter(this);
    m_bitmapSel = Picture(button->text() + "D");
    const QPixmap normal = Picture(button->text() + "U");
    if (normal.isNull()) return false;
    button->resize(normal.size());
    return true;
}

bool CHoverBitmapButton::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_wnd) return false;
    if (event->type() == QEvent::MouseMove) m_hover.OnMouseMove();
    if (event->type() != QEvent::Paint) return false;
    OnPaint();
    return true;  // the picture replaces the button's own drawing
}

void CHoverBitmapButton::OnPaint() {
    QPainter painter(m_wnd);
    const QRect client = m_wnd->rect();
    // Where the picture does not reach, or is missing, the dialog shows.
    painter.fillRect(client, m_wnd->palette().window());
    const QPixmap& picture = m_wnd->isDown() && !m_bitmapSel.isNull() ? m_bitmapSel
                             : m_hover.Inside()                       ? m_bmpHover
                                                                      : m_bmpNormal;
    if (!picture.isNull()) painter.drawPixmap(client.topLeft(), picture, QRect(QPoint(0, 0), client.size()));
}
