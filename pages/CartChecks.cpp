#include "pages/CartChecks.h"

#include "framework/DataExchange.h"
#include "wave/CalendarDates.h"
#include "wave/FieldCodecs.h"

void DDV_CalendarDate(framework::CDataExchange* pDX, wave::CartField field, int dayId, DateMembers date,
                      DateMembers shown) {
    if (pDX->Failed() || !pDX->m_bSaveAndValidate || date == shown) return;
    if (const auto why = wave::ImpossibleDate(date.year, date.month, date.day)) {
        pDX->PrepareCtrl(dayId);
        pDX->Fail(QString(wave::DisplayName(field)) + ": " + QString::fromStdString(*why));
    }
}

void DDV_Url(framework::CDataExchange* pDX, bool urlArea, const std::string& url) {
    if (pDX->Failed() || !pDX->m_bSaveAndValidate || !urlArea) return;
    if (wave::WritableUrl(url)) return;
    pDX->Fail(QString(wave::DisplayName(wave::CartField::URL)) + ": " + wave::kUrlReadsAsNone);
}
