#include "MessageBoxService.h"

#include <QCoreApplication>
#include <QMessageBox>

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

std::unique_ptr<MessageBoxService>& Current() {
    static std::unique_ptr<MessageBoxService> service = std::make_unique<QtMessageBoxService>();
    return service;
}

}  // namespace

MessageBoxService& MessageBoxes() { return *Current(); }

std::unique_ptr<MessageBoxService> SetMessageBoxService(std::unique_ptr<MessageBoxService> service) {
    std::swap(Current(), service);
    return service;
}

QString CaptionOrAppName(const QString& caption) {
    return caption.isEmpty() ? QCoreApplication::applicationName() : caption;
}

void RecordingMessageBoxService::Show(QWidget*, const QString& text, const QString& caption, MessageIcon icon) {
    boxes.push_back({text, CaptionOrAppName(caption), icon});
}

}  // namespace framework
