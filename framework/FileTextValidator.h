#pragma once

#include <QValidator>

class QAction;
class QLineEdit;

namespace framework {

// Lets an edit keep whatever is typed or pasted, and marks text that the
// file's character set cannot hold, for as long as it is there: a warning
// sign in the edit and a tooltip naming the characters. Saving refuses such
// text (DDX_Text), so nothing is ever stored in part.
class FileTextValidator : public QValidator {
public:
    explicit FileTextValidator(QLineEdit* edit);
    State validate(QString& input, int& pos) const override;

private:
    void Mark(QLineEdit* edit, const QString& text);

    QAction* warning_;
};

}  // namespace framework
