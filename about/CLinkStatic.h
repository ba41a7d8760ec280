#pragma once

#include <QCursor>
#include <QFocusFrame>
#include <QFont>
#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <optional>

#include "about/HoverPoll.h"
#include "framework/ColorRef.h"

// A static text of a dialog that acts as a link: it draws its text in the
// unvisited, visited or hover colour, underlines it always, never or while
// hovered, shows a hand cursor and a tooltip, fits itself to its text, and
// opens its target (a web address or "mailto:" link) when clicked. It takes
// over an existing label (the data exchange attaches it) and never creates
// one. There is no leave notification it relies on: while hovered it polls
// the cursor every 100 ms.
class CLinkStatic : public QObject {
    Q_OBJECT

public:
    enum UnderlineMode { UNDERLINE_NEVER = 0, UNDERLINE_ALWAYS = 1, UNDERLINE_ON_HOVER = -1 };

    CLinkStatic();
    ~CLinkStatic() override;

    // Takes over the label: the target defaults to its text (or its text
    // to the target), the fonts are built from its font, it is fitted to
    // its text and gets the cursor and the tooltip. Only a label will do.
    bool SubclassWindow(QWidget* control);
    QLabel* GetSafeWidget() const { return m_wnd; }

    // The tip text is shown only when the label is attached already;
    // before that the tooltip will show the target.
    void SetTarget(QString target, QString tip);
    // A hover colour of kNoColor stands for the system highlight colour.
    void SetLinkColors(framework::COLORREF unvisited, framework::COLORREF visited, framework::COLORREF hover);
    void MarkVisited(bool visited);
    // Any mode but UNDERLINE_ALWAYS and UNDERLINE_ON_HOVER never underlines.
    void SetUnderlineMode(int mode);

    // The text colour now: hover wins over visited, visited over unvisited.
    QColor CtlColor() const;
    const QString& Target() const { return m_strTarget; }
    bool MouseInside() const { return m_hover.Inside(); }
    bool LinkVisited() const { return m_bLinkVisited; }
    // The running poll's timer, 0 while not hovering.
    int HoverTimerId() const { return m_hover.TimerId(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnHoverChanged(bool inside);
    void OnClicked();
    void ShowFocus(bool focused);
    void FitToText();
    void LoadHandCursor();
    // The outcome comes back to OnOpened once the opener has finished.
    void OpenTarget(const QString& target);
    void OnOpened(int result);
    void ShowOpenError(int code);
    void SetFont(const QFont& font);
    void Invalidate();

    framework::COLORREF m_clrUnvisited;
    framework::COLORREF m_clrVisited;
    framework::COLORREF m_clrHover;
    bool m_bLinkVisited = false;  // the last open attempt succeeded
    int m_nUnderlineMode = UNDERLINE_ON_HOVER;
    bool m_bFitToText = true;
    QString m_strTarget;
    QFont m_fontUnderlined;  // the label's font, underlined, in "Verdana"
    QFont m_fontPlain;       // the label's font as it was
    std::optional<QCursor> m_hHandCursor;
    HoverPoll m_hover{this, [this](bool inside) { OnHoverChanged(inside); }};
    QPointer<QLabel> m_wnd;
    QPointer<QFocusFrame> m_focusFrame;  // made at the first focus, owned by the label's window
    bool m_bPressed = false;             // a left press began on the label
};

// A window's rectangle (parent coordinates) resized to the outer size its
// text needs. Horizontally a centred window keeps its centre, a right-aligned
// one its right edge, any other its left edge; vertically a centred one keeps
// its centre, any other its top. Centring moves both sides by the same
// amount, so an odd difference leaves one pixel spare, never one short.
QRect FitWindowRect(const QRect& window, const QSize& needed, Qt::Alignment alignment);
