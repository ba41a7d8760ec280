#include "framework/FileChooser.h"

#include <QFileDialog>

#include "framework/ServiceSlot.h"

namespace framework {

namespace {

class QtFileChooser : public FileChooser {
public:
    std::optional<QString> ChooseFileToOpen(QWidget* parent, const QString& filter,
                                            const QString& startFolder) override {
        // The typed name need not exist: a missing file is reported by the
        // open that follows, with the program's own message.
        QFileDialog dialog(parent, QString(), startFolder, filter);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::AnyFile);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
        return dialog.selectedFiles().front();
    }
};

using Slot = ServiceSlot<FileChooser, QtFileChooser>;

}  // namespace

FileChooser& FileChoosers() { return Slot::Current(); }

std::unique_ptr<FileChooser> SetFileChooser(std::unique_ptr<FileChooser> chooser) {
    return Slot::Replace(std::move(chooser));
}

}  // namespace framework
