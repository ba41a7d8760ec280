#include "about/HoverPoll.h"

#include <QCursor>
#include <QTimerEvent>
#include <QWidget>

namespace {
constexpr int kHoverPollMs = 100;
}

void HoverPoll::Attach(QWidget* control) {
    control_ = control;
    connect(control, &QObject::destroyed, this, [this] { timer_.stop(); });
}

void HoverPoll::OnMouseMove() {
    if (inside_) return;
    inside_ = true;
    onChange_(true);
    timer_.start(kHoverPollMs, this);
}

void HoverPoll::timerEvent(QTimerEvent* event) {
    if (event->timerId() != timer_.timerId() || !control_) return;
    if (control_->rect().contains(control_->mapFromGlobal(QCursor::pos()))) return;
    inside_ = false;
    timer_.stop();
    onChange_(false);
}
