#pragma once

#include <QString>
#include <deque>
#include <memory>
#include <optional>

#include "app/CCartCkSheet.h"
#include "app/CMainDlg.h"
#include "framework/AddCartQuestion.h"
#include "framework/FileChooser.h"
#include "framework/SaveQuestion.h"
#include "tests/support/WaveBuilder.h"
#include "tests/ui/RecordingMessageBoxService.h"

// Answers the open-file dialog from a queue; an empty queue cancels.
class ScriptedFileChooser : public framework::FileChooser {
public:
    std::optional<QString> ChooseFileToOpen(QWidget*, const QString& filter, const QString& startFolder) override {
        lastFilter = filter;
        lastStartFolder = startFolder;
        if (answers.empty()) return std::nullopt;
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<QString> answers;
    QString lastFilter;
    QString lastStartFolder;
};

// Answers the save question from a queue (an empty one discards) and
// records the file names it was asked about.
class ScriptedSaveQuestion : public framework::SaveQuestion {
public:
    framework::SaveAnswer AskToSave(QWidget*, const QString& fileName) override {
        askedAbout.push_back(fileName);
        if (answers.empty()) return framework::SaveAnswer::Discard;
        const framework::SaveAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<framework::SaveAnswer> answers;
    std::vector<QString> askedAbout;
};

// Answers the offer to add a cart chunk (Cancel unless told otherwise) and
// records what it was asked.
class ScriptedAddCart : public framework::AddCartQuestion {
public:
    bool Ask(QWidget*, const QString& text) override {
        asked.push_back(text);
        return answer;
    }
    bool answer = false;
    std::vector<QString> asked;
};

// Types text as key presses, letters beyond ASCII included (QTest's own
// key clicks take only ASCII).
void TypeText(QWidget* widget, const QString& text);

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
    // The text a cart field of the open file holds on disk now.
    std::string CartFieldOnDisk(const std::filesystem::path& path, wave::Field field) const;
    bool ApplyEnabled() const;
    const std::vector<framework::RecordedBox>& Boxes() const { return boxes_->boxes; }
    CCartCkSheet& Sheet() const { return *dialog->Sheet(); }
    ScriptedSaveQuestion& Question() const { return *question_; }
    ScriptedAddCart& AddCart() const { return *addCart_; }
    ScriptedFileChooser* Chooser() const { return chooser_; }
    void AnswerNextOpen(const std::filesystem::path& path);

    fixture::TempDir dir;
    std::unique_ptr<CMainDlg> dialog;

private:
    framework::RecordingMessageBoxService* boxes_;
    ScriptedFileChooser* chooser_;
    ScriptedSaveQuestion* question_;
    ScriptedAddCart* addCart_;
    std::unique_ptr<framework::SaveQuestion> previousQuestion_;
    std::unique_ptr<framework::AddCartQuestion> previousAddCart_;
    std::unique_ptr<framework::MessageBoxService> previousBoxes_;
    std::unique_ptr<framework::FileChooser> previousChooser_;
};
