#pragma once

// What the desktop program remembers between runs.
namespace DesktopSettings {

// Files whose cart chunk only the any-layout walk finds open without asking.
bool AlwaysOpenAnyLayout();
void SetAlwaysOpenAnyLayout(bool always);

}  // namespace DesktopSettings
