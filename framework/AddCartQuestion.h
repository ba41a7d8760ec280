#pragma once

#include <QString>
#include <memory>

class QWidget;

namespace framework {

// Asks whether to add a cart chunk to a file that has none, with Add and
// Cancel; replaceable so that tests can script the answer.
class AddCartQuestion {
public:
    virtual ~AddCartQuestion() = default;
    virtual bool Ask(QWidget* owner, const QString& text) = 0;
};

AddCartQuestion& AddCartQuestions();
// Installs a question (tests); returns the one it replaces.
std::unique_ptr<AddCartQuestion> SetAddCartQuestion(std::unique_ptr<AddCartQuestion> question);

}  // namespace framework
