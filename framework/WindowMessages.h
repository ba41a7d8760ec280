#pragma once

#include <QEvent>

namespace framework {

// The program's own window messages, as event types.
inline const QEvent::Type WM_OPENWAVE = static_cast<QEvent::Type>(QEvent::User + 1);
inline const QEvent::Type WM_SAVEDONE = static_cast<QEvent::Type>(QEvent::User + 103);
inline const QEvent::Type WM_PLAYEREVENT = static_cast<QEvent::Type>(QEvent::User + 104);

}  // namespace framework
