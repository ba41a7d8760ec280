#pragma once

#include "framework/PropertyPage.h"
#include "pages/PageRecords.h"

class QLabel;

// The Start page: the user picks the wave file here and sees its format.
class CInfoPage : public framework::CPropertyPage, public InfoPageRecord {
    Q_OBJECT

public:
    CInfoPage();

    // The six format texts, from m_format (blank when no format was read).
    void ShowFormat();
    // Open is held off while a save runs.
    void EnableOpen(bool enable);
    // Opens the file as if the user had chosen it with Open.
    void OpenPath(const QString& path);
    // Remembers whether files whose cart chunk only the any-layout walk
    // finds open without asking, and shows it in the page's check box.
    void SetAlwaysOpenAnyLayout(bool always);
    // The check's line, "No problems found" or "2 errors, 1 warning", from
    // m_findings; Findings... lists them.
    void ShowFindings();

    QLabel* m_stcBlockAlign = nullptr;
    QLabel* m_stcAvgBytesPerSec = nullptr;
    QLabel* m_stcFormatTag = nullptr;
    QLabel* m_stcSampleRate = nullptr;
    QLabel* m_stcChannels = nullptr;
    QLabel* m_stcBitsPerSample = nullptr;
    QWidget* m_pMainDlg = nullptr;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(framework::CDataExchange* pDX) override;

private:
    void OnOpen();
    void ChooseAndOpen();
    void OnFindings();
};
