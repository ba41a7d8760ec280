#include "framework/OpenAnywayQuestion.h"

#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>

#include "framework/MessageBoxService.h"
#include "framework/ServiceSlot.h"

namespace framework {

namespace {

class QtOpenAnywayQuestion : public OpenAnywayQuestion {
public:
    OpenAnywayAnswer Ask(QWidget* owner, const QString& text) override {
        QMessageBox box(QMessageBox::Question, CaptionOrAppName({}), text, QMessageBox::NoButton, owner);
        QPushButton* open = box.addButton("Open", QMessageBox::AcceptRole);
        box.addButton(QMessageBox::Cancel);
        box.setDefaultButton(open);
        box.setCheckBox(new QCheckBox("Always open such files", &box));
        box.exec();
        return {box.clickedButton() == open, box.checkBox()->isChecked()};
    }
};

using Slot = ServiceSlot<OpenAnywayQuestion, QtOpenAnywayQuestion>;

}  // namespace

OpenAnywayQuestion& OpenAnywayQuestions() { return Slot::Current(); }

std::unique_ptr<OpenAnywayQuestion> SetOpenAnywayQuestion(std::unique_ptr<OpenAnywayQuestion> question) {
    return Slot::Replace(std::move(question));
}

}  // namespace framework
