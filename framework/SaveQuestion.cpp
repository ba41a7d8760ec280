#include "SaveQuestion.h"

#include <QMessageBox>

#include "MessageBoxService.h"

namespace framework {

namespace {

class QtSaveQuestion : public SaveQuestion {
public:
    SaveAnswer AskToSave(QWidget* owner, const QString& fileName) override {
        QMessageBox box(QMessageBox::Warning, CaptionOrAppName({}),
                        "The cart chunk of " + fileName + " has changes that are not saved.\n\nSave them?",
                        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, owner);
        box.setDefaultButton(QMessageBox::Save);
        box.setEscapeButton(QMessageBox::Cancel);
        switch (box.exec()) {
            case QMessageBox::Save: return SaveAnswer::Save;
            case QMessageBox::Discard: return SaveAnswer::Discard;
            default: return SaveAnswer::Cancel;
        }
    }
};

std::unique_ptr<SaveQuestion>& Current() {
    static std::unique_ptr<SaveQuestion> question = std::make_unique<QtSaveQuestion>();
    return question;
}

}  // namespace

SaveQuestion& SaveQuestions() { return *Current(); }

std::unique_ptr<SaveQuestion> SetSaveQuestion(std::unique_ptr<SaveQuestion> question) {
    std::swap(Current(), question);
    return question;
}

}  // namespace framework
