#include "framework/AddCartQuestion.h"

#include <QMessageBox>
#include <QPushButton>

#include "framework/MessageBoxService.h"
#include "framework/ServiceSlot.h"

namespace framework {

namespace {

class QtAddCartQuestion : public AddCartQuestion {
public:
    bool Ask(QWidget* owner, const QString& text) override {
        QMessageBox box(QMessageBox::Question, CaptionOrAppName({}), text, QMessageBox::NoButton, owner);
        QPushButton* add = box.addButton("Add", QMessageBox::AcceptRole);
        box.setDefaultButton(box.addButton(QMessageBox::Cancel));  // nothing changes unless asked for
        box.exec();
        return box.clickedButton() == add;
    }
};

using Slot = ServiceSlot<AddCartQuestion, QtAddCartQuestion>;

}  // namespace

AddCartQuestion& AddCartQuestions() { return Slot::Current(); }

std::unique_ptr<AddCartQuestion> SetAddCartQuestion(std::unique_ptr<AddCartQuestion> question) {
    return Slot::Replace(std::move(question));
}

}  // namespace framework
