#pragma once

#include "PropertyPage.h"

// The About page.
class CAboutPage : public framework::CPropertyPage {
    Q_OBJECT

public:
    CAboutPage();
};
