#include "player/MarkerPanel.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "framework/MessageBoxService.h"
#include "wave/PostTimerLines.h"
#include "wave/TimerChecks.h"
#include "wave/TimerTime.h"
#include "wave/TimerUsage.h"

namespace {

enum Column { kSlot, kUsage, kTime };

// The codes offered; any other four characters may be typed.
const char* const kOffered[] = {"AUDs", "AUDe", "INTs", "INTe", "SEGs", "SEGe",
                                "SEC1", "TER1", "OUT ", "MRK ", "MRK1", "EOD "};

}  // namespace

MarkerPanel::MarkerPanel(QWidget* parent) : QWidget(parent) {
    table_ = new QTableWidget(static_cast<int>(wave::PostTimers{}.size()), 3, this);
    table_->setHorizontalHeaderLabels({"Slot", "Usage", "Time"});
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setAccessibleName("Markers");
    table_->setAccessibleDescription("Post timers: slot, usage code and time");
    usage_ = new QComboBox(this);
    usage_->setEditable(true);
    for (const char* code : kOffered) usage_->addItem(code);
    usage_->setAccessibleName("Marker usage");
    usage_->lineEdit()->setAccessibleName("Marker usage code");
    time_ = new QLineEdit(this);
    time_->setPlaceholderText("m:ss.mmm");
    time_->setAccessibleName("Marker time");
    add_ = new QPushButton("Add", this);
    add_->setAccessibleName("Add marker at the time, or at the playhead when no time is typed");
    delete_ = new QPushButton("Delete", this);
    delete_->setAccessibleName("Delete the selected marker");
    warnings_ = new QLabel(this);
    warnings_->setWordWrap(true);
    warnings_->setAccessibleName("Marker warnings");

    // The list takes the height, so all eight slots show without scrolling;
    // the controls and the warnings, which may run to several lines, go
    // beside it.
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setSectionResizeMode(kSlot, QHeaderView::ResizeToContents);
    auto* usageCaption = new QLabel("&Usage:", this);
    usageCaption->setBuddy(usage_);
    auto* timeCaption = new QLabel("T&ime:", this);
    timeCaption->setBuddy(time_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add_);
    buttons->addWidget(delete_);
    warnings_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* side = new QVBoxLayout;
    side->addWidget(usageCaption);
    side->addWidget(usage_);
    side->addWidget(timeCaption);
    side->addWidget(time_);
    side->addLayout(buttons);
    side->addWidget(warnings_, 1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(table_, 3);
    layout->addLayout(side, 2);

    connect(add_, &QPushButton::clicked, this, [this] {
        const std::string typed = time_->text().trimmed().toStdString();
        std::optional<std::uint64_t> frame;
        if (!typed.empty()) {
            const auto parsed = wave::FramesOfTime(typed, sampleRate_);
            if (!parsed) {
                Refuse("\"" + typed + "\" is not a time (m:ss.mmm)");
                return;
            }
            frame = *parsed;
        }
        if (Add(usage_->currentText().toStdString(), frame).empty()) time_->clear();
    });
    connect(delete_, &QPushButton::clicked, this, [this] {
        if (table_->currentRow() >= 0) Delete(table_->currentRow());
    });
    connect(table_, &QTableWidget::cellChanged, this, &MarkerPanel::OnCellChanged);
    Fill();
}

void MarkerPanel::Show(const wave::PostTimers& timers, std::uint32_t sampleRate, std::optional<std::uint64_t> frames,
                       wave::Charset charset, bool editable) {
    timers_ = timers;
    sampleRate_ = sampleRate;
    frames_ = frames;
    charset_ = charset;
    editable_ = editable;
    Fill();
}

void MarkerPanel::Fill() {
    filling_ = true;
    // Items are updated in place, never replaced: a refused edit refills the
    // list from inside the table's own change signal.
    auto cell = [this](int row, int column) {
        if (table_->item(row, column) == nullptr) table_->setItem(row, column, new QTableWidgetItem);
        return table_->item(row, column);
    };
    for (int row = 0; row < table_->rowCount(); ++row) {
        const wave::PostTimer& t = timers_[static_cast<std::size_t>(row)];
        const bool set = !wave::IsUnsetUsage(t.usage);
        QTableWidgetItem* slot = cell(row, kSlot);
        slot->setText(QString::number(row + 1));
        slot->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        const Qt::ItemFlags flags =
            Qt::ItemIsSelectable | Qt::ItemIsEnabled | (set && editable_ ? Qt::ItemIsEditable : Qt::NoItemFlags);
        QTableWidgetItem* usage = cell(row, kUsage);
        usage->setText(set ? QString::fromStdString(wave::DecodeText(wave::UsageText(t.usage), charset_)) : QString());
        usage->setFlags(flags);
        QTableWidgetItem* time = cell(row, kTime);
        time->setText(set ? QString::fromStdString(wave::MinutesText(t.value, sampleRate_)) : QString());
        time->setFlags(flags);
    }
    filling_ = false;
    for (QWidget* control : std::initializer_list<QWidget*>{usage_, time_, add_, delete_})
        control->setEnabled(editable_);
    const std::vector<std::string> warnings = wave::OrderWarnings(timers_, sampleRate_);
    QStringList lines;
    for (const std::string& line : warnings) lines << QString::fromStdString(line);
    warnings_->setText(lines.join('\n'));
}

void MarkerPanel::OnCellChanged(int row, int column) {
    if (filling_) return;
    const std::string text = table_->item(row, column)->text().trimmed().toStdString();
    if (column == kUsage) {
        SetUsage(row, text);
    } else if (column == kTime) {
        const auto frame = wave::FramesOfTime(text, sampleRate_);
        if (frame)
            Move(row, *frame);
        else
            Refuse("\"" + text + "\" is not a time (m:ss.mmm)");
    }
}

std::string MarkerPanel::Refuse(const std::string& why) {
    Fill();  // the cell shows the value kept
    framework::MessageBoxes().Show(this, QString::fromStdString("The marker was not changed: " + why + "."), "Markers",
                                   framework::MessageIcon::Exclamation);
    return why;
}

std::string MarkerPanel::Commit(const wave::PostTimers& timers) {
    timers_ = timers;
    Fill();
    emit edited(timers_);
    return {};
}

std::optional<std::string> MarkerPanel::FrameRefusal(std::uint64_t frame) const {
    if (!frames_) return "the length of the audio is still being read";
    if (auto why = wave::ValueRefusal(frame, *frames_, sampleRate_)) return why;
    if (frame > 0xFFFFFFFFu) return "the time is past what a post timer holds";
    return std::nullopt;
}

std::string MarkerPanel::Add(const std::string& usageUtf8, std::optional<std::uint64_t> frame) {
    if (!editable_) return Refuse("the file cannot be written");
    const auto free = std::find_if(timers_.begin(), timers_.end(),
                                   [](const wave::PostTimer& t) { return wave::IsUnsetUsage(t.usage); });
    if (free == timers_.end()) return Refuse("all eight post timers are in use; delete one first");
    wave::PostTimers next = timers_;
    const auto slot = static_cast<std::size_t>(free - timers_.begin());
    const std::uint64_t at = frame.value_or(playhead_);
    if (const auto why = FrameRefusal(at)) return Refuse(*why);
    const wave::EncodedText code = wave::EncodeText(usageUtf8, charset_);
    if (!code.ok) return Refuse(wave::DescribeRefusal(code));
    const auto word = wave::UsageWordOf(code.bytes);
    if (!word) return Refuse("a usage code is 1 to 4 characters");
    next[slot] = {*word, static_cast<std::uint32_t>(at)};
    return Commit(next);
}

std::string MarkerPanel::SetUsage(int slot, const std::string& usageUtf8) {
    if (!editable_ || slot < 0 || slot >= static_cast<int>(timers_.size())) return Refuse("no such marker");
    const wave::EncodedText code = wave::EncodeText(usageUtf8, charset_);
    if (!code.ok) return Refuse(wave::DescribeRefusal(code));
    const auto word = wave::UsageWordOf(code.bytes);
    if (!word) return Refuse("a usage code is 1 to 4 characters");
    wave::PostTimers next = timers_;
    next[static_cast<std::size_t>(slot)].usage = *word;
    return next == timers_ ? std::string{} : Commit(next);
}

std::string MarkerPanel::Move(int slot, std::uint64_t frame) {
    if (!editable_ || slot < 0 || slot >= static_cast<int>(timers_.size()) ||
        wave::IsUnsetUsage(timers_[static_cast<std::size_t>(slot)].usage))
        return Refuse("no such marker");
    if (const auto why = FrameRefusal(frame)) return Refuse(*why);
    wave::PostTimers next = timers_;
    next[static_cast<std::size_t>(slot)].value = static_cast<std::uint32_t>(frame);
    return next == timers_ ? std::string{} : Commit(next);
}

std::string MarkerPanel::Delete(int slot) {
    if (!editable_ || slot < 0 || slot >= static_cast<int>(timers_.size())) return Refuse("no such marker");
    wave::PostTimers next = timers_;
    // An unused slot is eight zero bytes: usage 0 and value 0.
    next[static_cast<std::size_t>(slot)] = {};
    return next == timers_ ? std::string{} : Commit(next);
}
