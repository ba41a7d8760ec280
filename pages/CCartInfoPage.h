#pragma once

#include "framework/PropertyPage.h"
#include "pages/PageRecords.h"

// Cart Chunk Info 1: Version (shown only), Title, Artist, Client ID,
// Category and Classification.
class CCartInfoPage : public framework::CPropertyPage, public CartInfoRecord {
    Q_OBJECT

public:
    CCartInfoPage();

    // The file cannot be written: the edits show their text but take no typing.
    bool m_bReadOnly = false;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(framework::CDataExchange* pDX) override;
    void OnShowWindow(bool show) override;
};
