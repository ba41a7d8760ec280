#include "pages/PageFilling.h"

#include <array>
#include <utility>

#include "pages/CartPageFields.h"
#include "wave/BextFields.h"
#include "wave/NewCart.h"

namespace {

using R = EbuInfoRecord;
using B = wave::BextField;

// The EBU Info page's member of each bext field.
constexpr std::array<std::pair<B, std::string R::*>, 6> kEbuMembers = {{
    {B::Description, &R::m_strDescription},
    {B::Originator, &R::m_strOriginator},
    {B::OriginatorReference, &R::m_strOriginatorRef},
    {B::OriginationDate, &R::m_strOriginationDate},
    {B::OriginationTime, &R::m_strOriginationTime},
    {B::CodingHistory, &R::m_strCodingHistory},
}};

void SetCartFlags(PageRecords pages, bool loaded) {
    pages.cart.m_bCartLoaded = loaded;
    pages.cart2.m_bCartLoaded = loaded;
}

void ShowCart(const wave::WaveDocument& document, const wave::CartValues& cart, PageRecords pages) {
    const std::optional<wave::WaveFormat>& format = document.loaded.format;
    pages.cart2.m_nSampleRate = format ? format->samplesPerSec : 0;
    FillCartPages(cart, pages.cart, pages.cart2);
    SetCartFlags(pages, true);
}

}  // namespace

void FillEbuInfo(wave::ConstBytes bext, EbuInfoRecord& ebu) {
    for (const auto& [field, member] : kEbuMembers) ebu.*member = wave::BextText(bext, wave::RowOf(field));
}

void ClearCartFlags(PageRecords pages) { SetCartFlags(pages, false); }

void ShowLoadedWave(const wave::WaveDocument& document, PageRecords pages) {
    const wave::LoadedWave& loaded = document.loaded;
    pages.info.m_format = loaded.format;
    pages.ebu = EbuInfoRecord{};
    ResetCartPages(pages.cart, pages.cart2);
    pages.player.m_strFile = loaded.format ? pages.info.m_strPath : std::string();
    ClearCartFlags(pages);

    if (loaded.bext) FillEbuInfo(*loaded.bext, pages.ebu);
    if (document.CartLoaded()) ShowCart(document, document.Cart(), pages);
}

void ShowNewCart(const wave::WaveDocument& document, PageRecords pages) {
    const std::vector<std::uint8_t> image = wave::NewCartImage();
    ShowCart(document, wave::CartValues(image), pages);
}
