#pragma once

#include <QBasicTimer>
#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

// Whether the cursor is over a control: the first mouse move onto it starts
// a 100 ms poll of the cursor position, which ends the hover (and itself)
// once the cursor is elsewhere. One poll at most runs per control.
class HoverPoll : public QObject {
    Q_OBJECT

public:
    // onChange runs when the hover starts (true) and ends (false). The poll
    // is a child of the control object that owns it.
    HoverPoll(QObject* owner, std::function<void(bool)> onChange) : QObject(owner), onChange_(std::move(onChange)) {}

    void Attach(QWidget* control);
    void OnMouseMove();
    // Ends the hover state without waiting for the poll, which keeps running
    // until the cursor has left.
    void Forget() { inside_ = false; }

    bool Inside() const { return inside_; }
    int TimerId() const { return timer_.timerId(); }

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    std::function<void(bool)> onChange_;
    QPointer<QWidget> control_;
    QBasicTimer timer_;
    bool inside_ = false;
};
