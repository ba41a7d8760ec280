#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "wave/PostTimers.h"
#include "wave/TextCodec.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// The marker list under the waveform: one row per post timer slot (slot,
// usage, time as m:ss.mmm), where the user adds a timer at the playhead or
// at a typed time, changes its usage or time, and deletes it. Every edit is
// checked first: a usage of 1 to 4 characters of the file's character set,
// a time within the audio; a refused edit changes nothing and says why. A
// start after its end is only warned about, beside the list.
class MarkerPanel : public QWidget {
    Q_OBJECT

public:
    explicit MarkerPanel(QWidget* parent = nullptr);

    // What the list shows and checks against; frames none while unknown
    // (decoded audio is counted as it is decoded).
    void Show(const wave::PostTimers& timers, std::uint32_t sampleRate, std::optional<std::uint64_t> frames,
              wave::Charset charset, bool editable);
    void SetPlayhead(std::uint64_t frame) { playhead_ = frame; }
    const wave::PostTimers& Timers() const { return timers_; }

    // The edits, each checked; the reason when refused (also told to the
    // user), empty when done.
    std::string Add(const std::string& usageUtf8, std::optional<std::uint64_t> frame);
    std::string SetUsage(int slot, const std::string& usageUtf8);
    std::string Move(int slot, std::uint64_t frame);
    std::string Delete(int slot);

    QTableWidget* Table() const { return table_; }
    QLabel* Warnings() const { return warnings_; }

signals:
    // The timers changed by the user's edit.
    void edited(const wave::PostTimers& timers);

private:
    void Fill();
    void OnCellChanged(int row, int column);
    std::string Refuse(const std::string& why);
    std::string Commit(const wave::PostTimers& timers);
    // Why a timer may not be at the frame; none when it may.
    std::optional<std::string> FrameRefusal(std::uint64_t frame) const;

    wave::PostTimers timers_{};
    std::uint32_t sampleRate_ = 0;
    std::optional<std::uint64_t> frames_;
    std::uint64_t playhead_ = 0;
    wave::Charset charset_ = wave::Charset::Windows1252;
    bool editable_ = false;
    bool filling_ = false;
    QTableWidget* table_ = nullptr;
    QComboBox* usage_ = nullptr;
    QLineEdit* time_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* delete_ = nullptr;
    QLabel* warnings_ = nullptr;
};
