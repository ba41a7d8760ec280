#pragma once

#include <initializer_list>

namespace framework {
class CPropertyPage;
}

// A change in an editable cart field marks the page modified and enables
// APPLY on the main window, also when the page's own refresh changed the
// text. A change the user made by hand also marks the page edited.
void WatchCartFieldChanges(framework::CPropertyPage* page, std::initializer_list<int> editIds);
