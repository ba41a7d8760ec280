#pragma once

#include <QString>
#include <deque>
#include <memory>
#include <optional>

#include "CCartCkSheet.h"
#include "CMainDlg.h"
#include "FileChooser.h"
#include "MessageBoxService.h"
#include "WaveBuilder.h"

// Answers the open-file dialog from a queue; an empty queue cancels.
class ScriptedFileChooser : public framework::FileChooser {
public:
    std::optional<QString> ChooseFileToOpen(QWidget*, const QString& filter) override {
        lastFilter = filter;
        if (answers.empty()) return std::nullopt;
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<QString> answers;
    QString lastFilter;
};

// The main dialog shown offscreen, with recorded message boxes and a
// scripted open-file dialog.
class UiFixture {
public:
    UiFixture();
    ~UiFixture();

    // Picks the file with the Start page's Open button, as a user would.
    void Open(const std::filesystem::path& path);
    // Shows the page of that index, as a click on its tab would.
    bool ShowPage(int index);
    // Presses APPLY and waits until the save is handled.
    void ApplyAndWait();

    QWidget* Item(int page, int id) const;
    bool ApplyEnabled() const;
    const std::vector<framework::RecordedBox>& Boxes() const { return boxes_->boxes; }
    CCartCkSheet& Sheet() const { return *dialog->Sheet(); }

    fixture::TempDir dir;
    std::unique_ptr<CMainDlg> dialog;

private:
    framework::RecordingMessageBoxService* boxes_;
    ScriptedFileChooser* chooser_;
    std::unique_ptr<framework::MessageBoxService> previousBoxes_;
    std::unique_ptr<framework::FileChooser> previousChooser_;
};
