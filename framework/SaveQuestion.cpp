#include "framework/SaveQuestion.h"

#include <QMessageBox>

#include "framework/MessageBoxService.h"
#include "framework/ServiceSlot.h"

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

using Slot = ServiceSlot<SaveQuestion, QtSaveQuestion>;

}  // namespace

SaveQuestion& SaveQuestions() { return Slot::Current(); }

std::unique_ptr<SaveQuestion> SetSaveQuestion(std::unique_ptr<SaveQuestion> question) {
    return Slot::Replace(std::move(question));
}

}  // namespace framework
