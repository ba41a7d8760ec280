#pragma once

#include <QString>
#include <memory>

#include "texts/LoadFailureTexts.h"

class QWidget;

namespace framework {

// The icons the program's texts name, the load failures' among them.
using MessageIcon = texts::MessageIcon;

// Every message box of the program goes through this service, so tests can
// replace the modal box by a recorder.
class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    // A modal box with one OK button over the owner. An empty caption shows
    // the application's name.
    virtual void Show(QWidget* owner, const QString& text, const QString& caption, MessageIcon icon) = 0;
};

// The service in use; a QMessageBox one unless replaced.
MessageBoxService& MessageBoxes();
// Installs a service (tests); returns the one it replaces.
std::unique_ptr<MessageBoxService> SetMessageBoxService(std::unique_ptr<MessageBoxService> service);

// The box's caption: its own, or the application's name.
QString CaptionOrAppName(const QString& caption);

}  // namespace framework
