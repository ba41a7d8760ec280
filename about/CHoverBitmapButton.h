#pragma once

#include <QBasicTimer>
#include <QCursor>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>

// A push button drawn as a picture: "VANTOURLU" normally, "VANTOURLD" while
// the mouse is over it, and the pressed picture named after its caption
// while it is held down. The picture is painted at the top-left corner,
// unscaled. There is no leave notification it relies on: while hovered it
// polls the cursor every 100 ms.
class CHoverBitmapButton : public QObject {
    Q_OBJECT

public:
    CHoverBitmapButton();
    ~CHoverBitmapButton() override;

    // Takes over the dialog's button: its caption names its pictures (with
    // "U" for normal and "D" for pressed) and it is sized to the normal one.
    // The result says whether the normal picture was found.
    bool AutoLoad(QWidget* button);
    QPushButton* GetSafeWidget() const { return m_wnd; }

    bool MouseInside() const { return m_bMouseInside; }
    // The running poll's timer, 0 while not hovering.
    int HoverTimerId() const { return m_hoverTimer.timerId(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void OnMouseMove();
    void OnTimer();
    void OnPaint();

    bool m_bMouseInside = false;
    QBasicTimer m_hoverTimer;
    QPixmap m_bmpHover;
    QPixmap m_bmpNormal;
    QCursor m_hHandCursor{Qt::PointingHandCursor};
    QPixmap m_bitmapSel;  // pressed, from the caption
    QPointer<QPushButton> m_wnd;
};
