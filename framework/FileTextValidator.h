#pragma once

#include <QValidator>

namespace framework {

// Lets an edit take only characters the file's 8-bit set can hold, so that
// typed or pasted text always goes back into the file unchanged.
class FileTextValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

}  // namespace framework
