#pragma once

#include "framework/PropertyPage.h"
#include "pages/PageRecords.h"

// The EBU Info page: the bext chunk's texts, for reading only.
class CEbuInfo : public framework::CPropertyPage, public EbuInfoRecord {
    Q_OBJECT

public:
    CEbuInfo();

protected:
    void DoDataExchange(framework::CDataExchange* pDX) override;
};
