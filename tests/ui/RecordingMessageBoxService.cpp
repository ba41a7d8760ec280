#include "tests/ui/RecordingMessageBoxService.h"

namespace framework {

void RecordingMessageBoxService::Show(QWidget*, const QString& text, const QString& caption, MessageIcon icon) {
    boxes.push_back({text, CaptionOrAppName(caption), icon});
}

}  // namespace framework
