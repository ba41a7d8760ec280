#include "DesktopSettings.h"

#include <QSettings>

namespace {

constexpr const char* kAlwaysOpenAnyLayout = "open/alwaysAnyLayout";

QSettings Settings() { return QSettings("VANTO", "Reelmarker"); }

}  // namespace

namespace DesktopSettings {

bool AlwaysOpenAnyLayout() { return Settings().value(kAlwaysOpenAnyLayout, false).toBool(); }

void SetAlwaysOpenAnyLayout(bool always) { Settings().setValue(kAlwaysOpenAnyLayout, always); }

}  // namespace DesktopSettings
