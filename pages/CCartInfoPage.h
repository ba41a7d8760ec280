#pragma once

#include "PageRecords.h"
#include "PropertyPage.h"

// Cart Chunk Info 1: Version (shown only), Title, Artist, Client ID,
// Category and Classification.
class CCartInfoPage : public framework::CPropertyPage, public wave::CartInfoRecord {
    Q_OBJECT

public:
    CCartInfoPage();

protected:
    bool OnInitDialog() override;
    void DoDataExchange(framework::CDataExchange* pDX) override;
    void OnShowWindow(bool show) override;
};
