#pragma once

#include "PageRecords.h"
#include "PropertyPage.h"

// The Player page. The loader hands it the file's path and stream.
class CPlayerPage : public framework::CPropertyPage, public wave::PlayerRecord {
    Q_OBJECT

public:
    CPlayerPage();
};
