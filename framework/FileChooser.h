#pragma once

#include <QString>
#include <memory>
#include <optional>

class QWidget;

namespace framework {

// The open-file dialog, replaceable in tests.
class FileChooser {
public:
    virtual ~FileChooser() = default;
    // The full path the user confirmed, or nothing when cancelled. The filter
    // is in the dialog's own form, e.g. "Wave Files (*.wav)"; the dialog
    // starts in the folder given.
    virtual std::optional<QString> ChooseFileToOpen(QWidget* parent, const QString& filter,
                                                    const QString& startFolder) = 0;
};

FileChooser& FileChoosers();
std::unique_ptr<FileChooser> SetFileChooser(std::unique_ptr<FileChooser> chooser);

}  // namespace framework
