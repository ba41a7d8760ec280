#include "CAboutPage.h"

#include "DialogTemplates.h"

CAboutPage::CAboutPage() : CPropertyPage(res::Template(res::IDD_ABOUT)) {}
