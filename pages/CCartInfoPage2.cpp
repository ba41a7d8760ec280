#include "pages/CCartInfoPage2.h"

#include <QComboBox>

#include "pages/CartEditEnabling.h"
#include "pages/CartPageChanges.h"
#include "res/DialogTemplates.h"
#include "res/resource.h"
#include "wave/ChunkLayout.h"
#include "wave/DateTimeRanges.h"
#include "wave/PostTimerLines.h"

CCartInfoPage2::CCartInfoPage2() : CPropertyPage(res::Template(IDD_CART_INFO2)) {}

bool CCartInfoPage2::OnInitDialog() {
    WatchCartFieldChanges(this, {IDC_OUT_CUE, IDC_USER_DEF, IDC_URL, IDC_START_YEAR, IDC_START_MONTH, IDC_START_DAY,
                                 IDC_START_HOUR, IDC_START_MINUTE, IDC_START_SECOND, IDC_END_YEAR, IDC_END_MONTH,
                                 IDC_END_DAY, IDC_END_HOUR, IDC_END_MINUTE, IDC_END_SECOND});
    return CPropertyPage::OnInitDialog();
}

void CCartInfoPage2::DoDataExchange(framework::CDataExchange* pDX) {
    using namespace framework;
    DDX_Control(pDX, IDC_POST_TIMERS, m_comboPostTimer);
    DDX_Text(pDX, IDC_USER_DEF, m_strUserDef);
    DDV_MaxChars(pDX, m_strUserDef, wave::cart::kUserDef.width);
    DDX_Text(pDX, IDC_URL, m_strURL);
    DDV_MaxChars(pDX, m_strURL, wave::cart::kURL.width);
    DDV_Url(pDX, m_bUrlSupported, m_strURL);
    DDX_Text(pDX, IDC_PRODUCER_APP_VER, m_strProducerAppVer);
    DDV_MaxChars(pDX, m_strProducerAppVer, wave::cart::kProducerAppVersion.width);
    DDX_Text(pDX, IDC_PRODUCER_APP_ID, m_strProducerAppID);
    DDV_MaxChars(pDX, m_strProducerAppID, wave::cart::kProducerAppID.width);
    DDX_Text(pDX, IDC_OUT_CUE, m_strOutCue);
    DDV_MaxChars(pDX, m_strOutCue, wave::cart::kOutCue.width);
    DDX_Text(pDX, IDC_LEVEL_REFERENCE, m_dwLevelReference);
    DDX_Text(pDX, IDC_START_HOUR, m_nStartHour);
    DDV_MinMaxUInt(pDX, m_nStartHour, wave::kHourRange.low, wave::kHourRange.high);
    DDX_Text(pDX, IDC_START_MINUTE, m_nStartMinute);
    DDV_MinMaxUInt(pDX, m_nStartMinute, wave::kMinuteRange.low, wave::kMinuteRange.high);
    DDX_Text(pDX, IDC_START_SECOND, m_nStartSecond);
    DDV_MinMaxUInt(pDX, m_nStartSecond, wave::kSecondRange.low, wave::kSecondRange.high);
    DDX_Text(pDX, IDC_START_DAY, m_nStartDay);
    DDV_MinMaxUInt(pDX, m_nStartDay, wave::kDayRange.low, wave::kDayRange.high);
    DDX_Text(pDX, IDC_START_MONTH, m_nStartMonth);
    DDV_MinMaxUInt(pDX, m_nStartMonth, wave::kMonthRange.low, wave::kMonthRange.high);
    DDX_Text(pDX, IDC_START_YEAR, m_nStartYear);
    DDV_MinMaxUInt(pDX, m_nStartYear, wave::kYearRange.low, wave::kYearRange.high);
    DDV_CalendarDate(pDX, wave::CartField::StartDate, IDC_START_DAY, StartDate(), m_shownStartDate);
    DDX_Text(pDX, IDC_END_DAY, m_nEndDay);
    DDV_MinMaxUInt(pDX, m_nEndDay, wave::kDayRange.low, wave::kDayRange.high);
    DDX_Text(pDX, IDC_END_HOUR, m_nEndHour);
    DDV_MinMaxUInt(pDX, m_nEndHour, wave::kHourRange.low, wave::kHourRange.high);
    DDX_Text(pDX, IDC_END_MONTH, m_nEndMonth);
    DDV_MinMaxUInt(pDX, m_nEndMonth, wave::kMonthRange.low, wave::kMonthRange.high);
    DDX_Text(pDX, IDC_END_MINUTE, m_nEndMinute);
    DDV_MinMaxUInt(pDX, m_nEndMinute, wave::kMinuteRange.low, wave::kMinuteRange.high);
    DDX_Text(pDX, IDC_END_SECOND, m_nEndSecond);
    DDV_MinMaxUInt(pDX, m_nEndSecond, wave::kSecondRange.low, wave::kSecondRange.high);
    DDX_Text(pDX, IDC_END_YEAR, m_nEndYear);
    DDV_MinMaxUInt(pDX, m_nEndYear, wave::kYearRange.low, wave::kYearRange.high);
    DDV_CalendarDate(pDX, wave::CartField::EndDate, IDC_END_DAY, EndDate(), m_shownEndDate);
    if (!pDX->m_bSaveAndValidate) {
        m_shownStartDate = StartDate();
        m_shownEndDate = EndDate();
    }
}

void CCartInfoPage2::OnShowWindow(bool) {
    if (m_comboPostTimer == nullptr) return;  // not built yet
    auto enable = [this](int id, bool on) { GetDlgItem(id)->setEnabled(on); };
    auto editable = [this](int id, bool on) { EnableCartEdit(GetDlgItem(id), on, m_bReadOnly); };
    enable(IDC_PRODUCER_APP_ID, false);
    enable(IDC_PRODUCER_APP_VER, false);
    editable(IDC_USER_DEF, m_bCartLoaded);
    editable(IDC_OUT_CUE, m_bCartLoaded);
    enable(IDC_LEVEL_REFERENCE, false);
    editable(IDC_URL, m_bUrlSupported && m_bCartLoaded);
    for (int id = IDC_START_YEAR; id <= IDC_END_SECOND; ++id) editable(id, m_bCartLoaded);
    enable(IDC_POST_TIMERS, m_bCartLoaded);

    m_comboPostTimer->clear();
    if (!m_bCartLoaded) return;
    for (const std::string& line : wave::PostTimerLines(m_timers, m_nSampleRate)) {
        m_comboPostTimer->addItem(QString::fromStdString(line));
    }
    m_comboPostTimer->setCurrentIndex(-1);  // no line is selected
}
