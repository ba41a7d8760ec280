#pragma once

#include <QValidator>

class QLineEdit;

namespace framework {

// Lets an edit take only characters the file's 8-bit set can hold, so that
// typed or pasted text always goes back into the file unchanged. Refused
// input gets a beep and a notice beside the edit naming the character, so
// that it does not just vanish.
class FileTextValidator : public QValidator {
public:
    explicit FileTextValidator(QLineEdit* edit);
    State validate(QString& input, int& pos) const override;

private:
    void NoticeRefusal(QLineEdit* edit) const;

    // The first character the latest check refused, empty when it passed.
    mutable QString refused_;
};

}  // namespace framework
