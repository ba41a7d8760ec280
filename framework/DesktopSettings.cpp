#include "framework/DesktopSettings.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

#include "texts/ProgramName.h"

namespace {

constexpr const char* kAlwaysOpenAnyLayout = "open/alwaysAnyLayout";
constexpr const char* kLastFolder = "open/lastFolder";

QSettings Settings() { return QSettings(texts::kMakerName, texts::kProgramName); }

QString FirstFolder() {
    const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    return !music.isEmpty() && QDir(music).exists() ? music : QDir::homePath();
}

}  // namespace

namespace DesktopSettings {

bool AlwaysOpenAnyLayout() { return Settings().value(kAlwaysOpenAnyLayout, false).toBool(); }

void SetAlwaysOpenAnyLayout(bool always) { Settings().setValue(kAlwaysOpenAnyLayout, always); }

QString LastFolder() {
    const QString last = Settings().value(kLastFolder).toString();
    return last.isEmpty() ? FirstFolder() : last;
}

void SetLastFolder(const QString& folder) { Settings().setValue(kLastFolder, folder); }

}  // namespace DesktopSettings
