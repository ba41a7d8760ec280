#include "player/WaveformView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "wave/PostTimerLines.h"
#include "wave/TimerTime.h"
#include "wave/TimerUsage.h"

namespace {

constexpr int kGrabPixels = 4;
const QColor kWave(120, 200, 255);
const QColor kPlayhead(255, 255, 255);

// One colour per timer type, in the order of wave::kTimerTypes.
QColor TypeColour(wave::TimerType type) {
    static const QColor kColours[] = {QColor(255, 170, 0),   QColor(0, 220, 90),   QColor(255, 80, 200),
                                      QColor(160, 120, 255), QColor(255, 255, 90), QColor(90, 255, 255),
                                      QColor(255, 90, 90),   QColor(200, 200, 200)};
    return kColours[static_cast<std::size_t>(type)];
}

// Codes outside the grammar are drawn grey, as stored.
QColor ColourOf(std::uint32_t usage) {
    const auto parsed = wave::ParseUsage(usage);
    return parsed ? TypeColour(parsed->type) : QColor(150, 150, 150);
}

std::uint64_t CeilDiv(std::uint64_t a, std::uint64_t b) { return b == 0 ? 0 : a / b + (a % b != 0); }

}  // namespace

WaveformView::WaveformView(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName("Waveform");
    setAutoFillBackground(false);
    Describe();
}

void WaveformView::Clear() {
    shape_ = {};
    values_.clear();
    frames_ = 0;
    axisFrames_ = 0;
    playhead_ = 0;
    dragged_.reset();
    Describe();
    update();
}

void WaveformView::SetShape(const OverviewPeaks::Shape& shape) {
    shape_ = shape;
    if (shape.frames != 0) frames_ = shape.frames;
    axisFrames_ = frames_ != 0 ? frames_ : shape.expectedFrames;
    values_.assign(static_cast<std::size_t>(CeilDiv(axisFrames_, shape.framesPerBucket)) * 2u * shape.channels, 0);
    update();
}

void WaveformView::AddPeaks(const OverviewPeaks::Part& part) {
    if (shape_.channels == 0) return;
    const std::size_t stride = 2u * shape_.channels;
    const std::size_t from = static_cast<std::size_t>(part.firstBucket) * stride;
    if (values_.size() < from + part.values.size()) values_.resize(from + part.values.size(), 0);
    for (std::size_t k = 0; k + 1 < part.values.size(); k += 2) {
        // A bucket still waiting for another block holds min above max.
        if (part.values[k] > part.values[k + 1]) continue;
        values_[from + k] = part.values[k];
        values_[from + k + 1] = part.values[k + 1];
    }
    const std::uint64_t end = part.firstBucket + part.values.size() / stride;
    const std::uint64_t reached = end * shape_.framesPerBucket;
    if (frames_ == 0 && reached > axisFrames_) {
        // Past the planned length: the width takes a quarter more at a time,
        // so the picture narrows now and then rather than with every part.
        axisFrames_ = std::max(reached, axisFrames_ + axisFrames_ / 4);
        update();
        return;
    }
    update(ColumnsOf(part.firstBucket, end));
}

void WaveformView::Settle(std::uint64_t frames) {
    frames_ = frames;
    axisFrames_ = frames;
    if (shape_.channels != 0)
        values_.resize(static_cast<std::size_t>(CeilDiv(frames, shape_.framesPerBucket)) * 2u * shape_.channels, 0);
    playhead_ = std::min(playhead_, frames_);
    Describe();
    update();
}

std::uint64_t WaveformView::Buckets() const {
    return shape_.channels == 0 ? 0 : values_.size() / (2u * shape_.channels);
}

QRect WaveformView::ColumnsOf(std::uint64_t first, std::uint64_t end) const {
    if (axisFrames_ == 0) return rect();
    const auto column = [this](std::uint64_t bucket) {
        return static_cast<double>(bucket * shape_.framesPerBucket) * width() / static_cast<double>(axisFrames_);
    };
    const int left = static_cast<int>(std::floor(column(first))) - 1;
    const int right = static_cast<int>(std::ceil(column(end))) + 1;
    return QRect(left, 0, right - left + 1, height());
}

std::size_t WaveformView::BucketsShown() const {
    if (shape_.channels == 0) return 0;
    std::size_t shown = 0;
    for (std::size_t k = 0; k < values_.size(); k += 2u * shape_.channels)
        if (values_[k] != 0 || values_[k + 1] != 0) ++shown;
    return shown;
}

void WaveformView::SetTimers(const wave::PostTimers& timers, std::uint32_t sampleRate, std::uint64_t frames) {
    timers_ = timers;
    sampleRate_ = sampleRate;
    if (frames != 0) frames_ = axisFrames_ = frames;
    update();
}

void WaveformView::SetPlayhead(std::uint64_t frame) {
    playhead_ = std::min(frame, frames_);
    Describe();
    update();
}

double WaveformView::XOf(std::uint64_t frame) const {
    if (axisFrames_ == 0) return 0;
    return static_cast<double>(frame) * (width() - 1) / static_cast<double>(axisFrames_);
}

std::uint64_t WaveformView::FrameAt(double x) const {
    if (width() <= 1) return 0;
    const double at = std::clamp(x / (width() - 1), 0.0, 1.0) * static_cast<double>(axisFrames_);
    return std::min(frames_, static_cast<std::uint64_t>(std::llround(at)));
}

std::optional<int> WaveformView::TimerNear(double x) const {
    for (int k = 0; k < static_cast<int>(timers_.size()); ++k) {
        const wave::PostTimer& t = timers_[static_cast<std::size_t>(k)];
        if (!wave::IsUnsetUsage(t.usage) && std::abs(XOf(t.value) - x) <= kGrabPixels) return k;
    }
    return std::nullopt;
}

void WaveformView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const int w = width();
    const int h = height();
    if (axisFrames_ == 0) return;

    // The shaded spans, under everything else.
    for (const wave::TimerType type : wave::kTimerTypes) {
        if (!wave::HasSpan(type)) continue;
        std::optional<std::uint32_t> start;
        std::optional<std::uint32_t> end;
        for (const wave::PostTimer& t : timers_) {
            const auto parsed = wave::ParseUsage(t.usage);
            if (!parsed || parsed->type != type) continue;
            if (parsed->role == wave::TimerRole::Start && !start) start = t.value;
            if (parsed->role == wave::TimerRole::End && !end) end = t.value;
        }
        if (!start || !end) continue;
        QColor shade = TypeColour(type);
        shade.setAlpha(50);
        const double a = XOf(std::min(*start, *end));
        const double b = XOf(std::max(*start, *end));
        painter.fillRect(QRectF(a, 0, std::max(1.0, b - a), h), shade);
    }

    // Each channel in a band of its own; each column the min and max of the
    // buckets under it. Only the columns asked for are drawn: a part
    // repaints where it landed.
    const unsigned channels = shape_.channels;
    const std::uint64_t buckets = Buckets();
    if (buckets > 0) {
        painter.setPen(kWave);
        const double band = static_cast<double>(h) / channels;
        const double scale = band / 2 / 2147483648.0;
        const auto bucketAt = [&](int x) {
            return static_cast<std::uint64_t>(static_cast<double>(axisFrames_) * x / w) / shape_.framesPerBucket;
        };
        const QRect asked = event->rect().intersected(rect());
        for (int x = asked.left(); x <= asked.right(); ++x) {
            const std::uint64_t first = bucketAt(x);
            const std::uint64_t last = std::min(buckets, std::max(first + 1, bucketAt(x + 1)));
            if (first >= buckets) break;
            for (unsigned c = 0; c < channels; ++c) {
                std::int32_t lo = 0;
                std::int32_t hi = 0;
                for (std::uint64_t b = first; b < last; ++b) {
                    lo = std::min(lo, values_[(b * channels + c) * 2]);
                    hi = std::max(hi, values_[(b * channels + c) * 2 + 1]);
                }
                const double mid = band * (c + 0.5);
                painter.drawLine(QPointF(x, mid - hi * scale), QPointF(x, mid - lo * scale));
            }
        }
    }

    // The timers' lines and codes.
    painter.setFont(QFont(font().family(), 7));
    for (std::size_t k = 0; k < timers_.size(); ++k) {
        const wave::PostTimer& t = timers_[k];
        if (wave::IsUnsetUsage(t.usage)) continue;
        const std::uint64_t frame = dragged_ == static_cast<int>(k) ? dragFrame_ : t.value;
        const double x = XOf(frame);
        painter.setPen(ColourOf(t.usage));
        painter.drawLine(QPointF(x, 0), QPointF(x, h));
        std::string code = wave::UsageCode(t.usage);
        std::replace(code.begin(), code.end(), '\0', ' ');
        const QString label = QString::fromLatin1(code.c_str());
        // A code near the right edge goes left of its line, where it fits.
        const int labelWidth = painter.fontMetrics().horizontalAdvance(label);
        const double labelX = x + 2 + labelWidth <= w ? x + 2 : x - 2 - labelWidth;
        painter.drawText(QPointF(labelX, 9 + 9 * static_cast<double>(k % 4)), label);
    }
    painter.setPen(kPlayhead);
    painter.drawLine(QPointF(XOf(playhead_), 0), QPointF(XOf(playhead_), h));
    if (hasFocus()) {
        painter.setPen(QPen(Qt::gray, 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void WaveformView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || frames_ == 0) return;
    dragged_ = TimerNear(event->position().x());
    if (dragged_) {
        dragFrame_ = timers_[static_cast<std::size_t>(*dragged_)].value;
        return;
    }
    Seek(FrameAt(event->position().x()));
}

void WaveformView::mouseMoveEvent(QMouseEvent* event) {
    if (!dragged_) return;
    dragFrame_ = FrameAt(event->position().x());
    update();
}

void WaveformView::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragged_) return;
    const int slot = *dragged_;
    dragged_.reset();
    dragFrame_ = FrameAt(event->position().x());
    update();
    if (dragFrame_ != timers_[static_cast<std::size_t>(slot)].value) emit timerMoved(slot, dragFrame_);
}

void WaveformView::keyPressEvent(QKeyEvent* event) {
    // A step of a hundredth of the file, at least one second.
    const std::uint64_t step = std::max<std::uint64_t>(frames_ / 100, std::max<std::uint32_t>(sampleRate_, 1));
    switch (event->key()) {
        case Qt::Key_Left: Seek(playhead_ > step ? playhead_ - step : 0); break;
        case Qt::Key_Right: Seek(std::min(frames_, playhead_ + step)); break;
        case Qt::Key_Home: Seek(0); break;
        case Qt::Key_End: Seek(frames_); break;
        default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

void WaveformView::Seek(std::uint64_t frame) {
    SetPlayhead(frame);
    emit seekRequested(playhead_);
}

void WaveformView::Describe() {
    setAccessibleDescription(QString("Playhead at %1 of %2")
                                 .arg(QString::fromStdString(wave::MinutesText(playhead_, sampleRate_)),
                                      QString::fromStdString(wave::MinutesText(frames_, sampleRate_))));
}
