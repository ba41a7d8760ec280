#pragma once

#include <QWidget>
#include <cstdint>
#include <optional>
#include <vector>

#include "player/OverviewPeaks.h"
#include "wave/PostTimers.h"

// The Player page's picture: the file's waveform overview, a line for each
// set post timer with its usage code (one colour per type), the spans of
// INTs..INTe, SEGs..SEGe and AUDs..AUDe shaded, and the playhead. A click
// (or Left, Right, Home, End) asks to seek there; a timer's line can be
// dragged to move it.
class WaveformView : public QWidget {
    Q_OBJECT

public:
    explicit WaveformView(QWidget* parent = nullptr);

    void Clear();
    // Starts a picture of that shape: the buckets it plans are laid out
    // across the width at once, so each part lands where it stays.
    void SetShape(const OverviewPeaks::Shape& shape);
    void AddPeaks(const OverviewPeaks::Part& part);
    // The length as counted at the end: the picture keeps what it drew and
    // stretches or narrows to it.
    void Settle(std::uint64_t frames);
    // The timers, the rate they count in and the frames of the audio.
    void SetTimers(const wave::PostTimers& timers, std::uint32_t sampleRate, std::uint64_t frames);
    void SetPlayhead(std::uint64_t frame);
    std::uint64_t Playhead() const { return playhead_; }
    std::uint64_t Frames() const { return frames_; }
    // The frames the width stands for: the length once known, until then
    // the planned one, grown when the audio runs past it.
    std::uint64_t AxisFrames() const { return axisFrames_; }
    // The buckets drawn so far, for tests.
    std::size_t BucketsShown() const;

signals:
    void seekRequested(std::uint64_t frame);
    void timerMoved(int slot, std::uint64_t frame);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::uint64_t Buckets() const;
    // The columns the buckets [first, end) are drawn in.
    QRect ColumnsOf(std::uint64_t first, std::uint64_t end) const;
    double XOf(std::uint64_t frame) const;
    std::uint64_t FrameAt(double x) const;
    // The slot whose line lies within a few pixels of x, if any.
    std::optional<int> TimerNear(double x) const;
    void Seek(std::uint64_t frame);
    void Describe();

    OverviewPeaks::Shape shape_;
    std::vector<std::int32_t> values_;
    wave::PostTimers timers_{};
    std::uint32_t sampleRate_ = 0;
    std::uint64_t frames_ = 0;
    std::uint64_t axisFrames_ = 0;
    std::uint64_t playhead_ = 0;
    std::optional<int> dragged_;
    std::uint64_t dragFrame_ = 0;
};
