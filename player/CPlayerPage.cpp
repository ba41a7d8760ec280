#include "CPlayerPage.h"

#include "DialogTemplates.h"

CPlayerPage::CPlayerPage() : CPropertyPage(res::Template(res::IDD_PLAYER)) {}
