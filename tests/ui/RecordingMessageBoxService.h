#pragma once

#include <QString>
#include <vector>

#include "framework/MessageBoxService.h"

namespace framework {

struct RecordedBox {
    QString text;
    QString caption;
    MessageIcon icon;
};

// Records the boxes instead of showing them.
class RecordingMessageBoxService : public MessageBoxService {
public:
    void Show(QWidget* owner, const QString& text, const QString& caption, MessageIcon icon) override;
    std::vector<RecordedBox> boxes;
};

}  // namespace framework
