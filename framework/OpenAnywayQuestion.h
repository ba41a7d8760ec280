#pragma once

#include <QString>
#include <memory>

class QWidget;

namespace framework {

struct OpenAnywayAnswer {
    bool open = false;
    bool always = false;  // "Always open such files" was ticked
};

// Asks whether to open a file by another rule than the usual one, with
// Open and Cancel and a box to tick for "always"; replaceable so that tests
// can script the answer.
class OpenAnywayQuestion {
public:
    virtual ~OpenAnywayQuestion() = default;
    virtual OpenAnywayAnswer Ask(QWidget* owner, const QString& text) = 0;
};

OpenAnywayQuestion& OpenAnywayQuestions();
// Installs a question (tests); returns the one it replaces.
std::unique_ptr<OpenAnywayQuestion> SetOpenAnywayQuestion(std::unique_ptr<OpenAnywayQuestion> question);

}  // namespace framework
