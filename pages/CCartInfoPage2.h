#pragma once

#include "framework/PropertyPage.h"
#include "pages/CartChecks.h"
#include "pages/PageRecords.h"

class QComboBox;

// Cart Chunk Info 2: out cue, dates and times, user text and URL to edit;
// producer fields, level reference and the post-timer list shown only.
class CCartInfoPage2 : public framework::CPropertyPage, public CartInfo2Record {
    Q_OBJECT

public:
    CCartInfoPage2();

    QComboBox* m_comboPostTimer = nullptr;
    // The file cannot be written: the edits show their text but take no typing.
    bool m_bReadOnly = false;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(framework::CDataExchange* pDX) override;
    void OnShowWindow(bool show) override;

private:
    DateMembers StartDate() const { return {m_nStartYear, m_nStartMonth, m_nStartDay}; }
    DateMembers EndDate() const { return {m_nEndYear, m_nEndMonth, m_nEndDay}; }

    // The dates as the edits were last filled: only a date the user changed
    // is checked against the calendar.
    DateMembers m_shownStartDate;
    DateMembers m_shownEndDate;
};
