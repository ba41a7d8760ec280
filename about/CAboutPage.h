#pragma once

#include "about/CHoverBitmapButton.h"
#include "about/CLinkStatic.h"
#include "framework/PropertyPage.h"

// The About page: banner, product line and version, credits, the rights
// and licence notices, the web-site button and the e-mail link to the
// maker's customer service. It edits nothing.
class CAboutPage : public framework::CPropertyPage {
    Q_OBJECT

public:
    CAboutPage();

    CHoverBitmapButton m_btnWebSite;
    CLinkStatic m_lnkEmail;

protected:
    void DoDataExchange(framework::CDataExchange* pDX) override;
    bool OnInitDialog() override;

private:
    void OnWebSiteButton();
};
