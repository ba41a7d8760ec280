#pragma once

#include <QCursor>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>

#include "about/HoverPoll.h"

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

    bool MouseInside() const { return m_hover.Inside(); }
    // The running poll's timer, 0 while not hovering.
    int HoverTimerId() const { return m_hover.TimerId(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnPaint();

    HoverPoll m_hover{this, [this](bool) {
                          if (m_wnd) m_wnd->update();
                      }};
    QPixmap m_bmpHover;
    QPixmap m_bmpNormal;
    QCursor m_hHandCursor{Qt::PointingHandCursor};
    QPixmap m_bitmapSel;  // pressed, from the caption
    QPointer<QPushButton> m_wnd;
};
