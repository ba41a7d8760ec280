#pragma once

#include <QString>

// What the desktop program remembers between runs.
namespace DesktopSettings {

// Files whose cart chunk only the any-layout walk finds open without asking.
bool AlwaysOpenAnyLayout();
void SetAlwaysOpenAnyLayout(bool always);

// Where the open-file dialog starts: the folder of the last file opened;
// before any, the user's Music folder when there is one, else home.
QString LastFolder();
void SetLastFolder(const QString& folder);

}  // namespace DesktopSettings
