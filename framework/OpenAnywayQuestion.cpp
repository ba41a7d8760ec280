#include "OpenAnywayQuestion.h"

#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>

#include "MessageBoxService.h"

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

std::unique_ptr<OpenAnywayQuestion>& Current() {
    static std::unique_ptr<OpenAnywayQuestion> question = std::make_unique<QtOpenAnywayQuestion>();
    return question;
}

}  // namespace

OpenAnywayQuestion& OpenAnywayQuestions() { return *Current(); }

std::unique_ptr<OpenAnywayQuestion> SetOpenAnywayQuestion(std::unique_ptr<OpenAnywayQuestion> question) {
    std::swap(Current(), question);
    return question;
}

}  // namespace framework
