#include "framework/MessageBoxService.h"

#include <QCoreApplication>
#include <QMessageBox>

#include "framework/ServiceSlot.h"

namespace framework {

namespace {

class QtMessageBoxService : public MessageBoxService {
public:
    void Show(QWidget* owner, const QString& text, const QString& caption, MessageIcon icon) override {
        QMessageBox box(IconOf(icon), CaptionOrAppName(caption), text, QMessageBox::Ok, owner);
        box.exec();
    }

private:
    static QMessageBox::Icon IconOf(MessageIcon icon) {
        switch (icon) {
            case MessageIcon::Error: return QMessageBox::Critical;
            case MessageIcon::Exclamation: return QMessageBox::Warning;
            case MessageIcon::Information: return QMessageBox::Information;
            case MessageIcon::None: break;
        }
        return QMessageBox::NoIcon;
    }
};

using Slot = ServiceSlot<MessageBoxService, QtMessageBoxService>;

}  // namespace

MessageBoxService& MessageBoxes() { return Slot::Current(); }

std::unique_ptr<MessageBoxService> SetMessageBoxService(std::unique_ptr<MessageBoxService> service) {
    return Slot::Replace(std::move(service));
}

QString CaptionOrAppName(const QString& caption) {
    return caption.isEmpty() ? QCoreApplication::applicationName() : caption;
}

}  // namespace framework
