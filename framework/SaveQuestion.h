#pragma once

#include <QString>
#include <memory>

class QWidget;

namespace framework {

enum class SaveAnswer { Save, Discard, Cancel };

// Asks whether to save unsaved edits before they would be lost; replaceable
// so that tests can script the answer.
class SaveQuestion {
public:
    virtual ~SaveQuestion() = default;
    // A modal box naming the edited file, with Save, Discard and Cancel.
    virtual SaveAnswer AskToSave(QWidget* owner, const QString& fileName) = 0;
};

SaveQuestion& SaveQuestions();
// Installs a question (tests); returns the one it replaces.
std::unique_ptr<SaveQuestion> SetSaveQuestion(std::unique_ptr<SaveQuestion> question);

}  // namespace framework
