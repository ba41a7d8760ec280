#include "wave/WaveDocument.h"

#include "wave/FieldDistribution.h"

namespace wave {

LoadFailure WaveDocument::OpenWave(PageRecords pages, WaveStream::Mode mode, ChunkWalk walk) {
    if (m_file.is_open()) m_file.close();
    m_bLent = false;  // a file opened anew is nobody's loan
    const bool opened = m_file.open(pages.info.m_strPath, mode);
    const LoadFailure failure = LoadWaveFile(pages, walk);
    return opened ? failure : LoadFailure::OpenFailed;
}

void WaveDocument::ResetFields(PageRecords pages) {
    pages.info.m_format.reset();
    pages.ebu = EbuInfoRecord{};
    // A load that fails before the bext chunk must not leave the previous
    // file's bext behind as this one's.
    m_pBextData.reset();

    CartInfoRecord& page1 = pages.cart;
    page1.m_strVersion.clear();
    page1.m_strTitle.clear();
    page1.m_strArtist.clear();
    page1.m_strClientID.clear();
    page1.m_strCategory.clear();
    page1.m_strClassification.clear();

    // The post timers, the sample rate and the URL flag stay: nothing shows
    // them while no cart chunk is loaded.
    CartInfo2Record& page2 = pages.cart2;
    const CartInfo2Record initial;
    page2.m_strOutCue.clear();
    page2.m_strProducerAppID.clear();
    page2.m_strProducerAppVer.clear();
    page2.m_strUserDef.clear();
    page2.m_strURL.clear();
    page2.m_dwLevelReference = 0;
    page2.m_nStartYear = initial.m_nStartYear;
    page2.m_nStartMonth = initial.m_nStartMonth;
    page2.m_nStartDay = initial.m_nStartDay;
    page2.m_nStartHour = page2.m_nStartMinute = page2.m_nStartSecond = 0;
    page2.m_nEndYear = initial.m_nEndYear;
    page2.m_nEndMonth = initial.m_nEndMonth;
    page2.m_nEndDay = initial.m_nEndDay;
    page2.m_nEndHour = page2.m_nEndMinute = page2.m_nEndSecond = 0;

    pages.player.m_strFile.clear();
    m_lCartPos = -1;
    ClearCartFlags(pages);
}

std::int64_t WaveDocument::LendFile() {
    if (!m_file.is_open()) return -1;
    const std::int64_t position = m_file.tellp();
    m_file.close();
    m_bLent = true;
    return position;
}

bool WaveDocument::TakeFileBack(std::int64_t position) {
    if (!m_bLent) return true;
    // The path and mode of the last open: a read-only file stays read-only.
    if (!m_file.open(m_file.path(), m_file.mode())) return false;
    m_bLent = false;
    m_file.seekp(position);
    return true;
}

void WaveDocument::ClearCartFlags(PageRecords pages) {
    pages.cart.m_bCartLoaded = false;
    pages.cart2.m_bCartLoaded = false;
}

void WaveDocument::SetCartFlags(PageRecords pages) {
    pages.cart.m_bCartLoaded = true;
    pages.cart2.m_bCartLoaded = true;
}

LoadFailure WaveDocument::LoadWaveFile(PageRecords pages, ChunkWalk walk) {
    ResetFields(pages);
    m_idStoppedAt.reset();
    m_chunks.clear();
    m_pastRefusal.reset();
    m_strLoadedIdentity = m_file.identity();
    if (!m_file.is_open()) return LoadFailure::None;
    LoadedWave loaded = walk == ChunkWalk::AnyLayout ? WalkAnyLayout(m_file) : WalkFixedOrder(m_file);
    const LoadFailure failure = loaded.failure;
    if (m_bLookPastRefusal && walk == ChunkWalk::FixedOrder && loaded.stoppedAt) {
        if (LoadedWave any = WalkAnyLayout(m_file); any.failure == LoadFailure::None) m_pastRefusal = std::move(any);
    }
    Adopt(std::move(loaded), pages);
    m_refusal = failure;
    if (!m_pastRefusal && !StreamStaysOpen(failure)) m_file.close();
    return failure;
}

void WaveDocument::Adopt(LoadedWave loaded, PageRecords pages) {
    m_idStoppedAt = loaded.stoppedAt;
    m_chunks = std::move(loaded.chunks);
    if (loaded.format) {
        pages.info.m_format = loaded.format;
        pages.player.m_strFile = pages.info.m_strPath;
    }
    m_pBextData = std::move(loaded.bext);
    if (m_pBextData) FillEbuInfo(*m_pBextData, pages.ebu);
    if (!loaded.cart) return;
    m_lCartPos = loaded.cartPos;
    m_dwCartSize = loaded.cartSize;
    m_pCartData = std::move(loaded.cart);
    pages.cart2.m_nSampleRate = loaded.format->nSamplesPerSec;
    FillCartPages(*m_pCartData, pages.cart, pages.cart2);
    SetCartFlags(pages);
}

std::optional<std::int64_t> WaveDocument::CartPastRefusal() const {
    if (!m_pastRefusal) return std::nullopt;
    return m_pastRefusal->cartPos;
}

LoadFailure WaveDocument::TakePastRefusal(PageRecords pages) {
    if (!m_pastRefusal) return m_refusal;
    LoadedWave found = std::move(*m_pastRefusal);
    m_pastRefusal.reset();
    ResetFields(pages);
    Adopt(std::move(found), pages);
    return LoadFailure::None;
}

void WaveDocument::DeclinePastRefusal() {
    if (!m_pastRefusal) return;
    m_pastRefusal.reset();
    if (!StreamStaysOpen(m_refusal)) m_file.close();
}

std::string WaveDocument::ChunkName(std::uint32_t id) {
    std::string name(4, '?');
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<char>((id >> (8 * (3 - i))) & 0xFF);
        if (c >= ' ' && c <= '~') name[i] = c;
    }
    return name;
}

}  // namespace wave
