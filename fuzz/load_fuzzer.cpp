// Loads arbitrary bytes as a wave file, by each chunk walk in turn, and does
// with them what the program does with a loaded file: shows the format, the
// post timers and the text fields, then saves the cart pages back. Whatever
// the bytes, a save must keep the file's length and every byte outside the
// cart data. The input may describe a file of gigabytes (see SparseImage.h),
// and the walks must load it in bounded memory.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/Require.h"
#include "fuzz/ScratchFile.h"
#include "fuzz/Snapshot.h"
#include "fuzz/SparseImage.h"
#include "pages/CartPageFields.h"
#include "pages/PageFilling.h"
#include "tests/support/PagesLoad.h"
#include "wave/BextRead.h"
#include "wave/CartWrites.h"
#include "wave/ChunkLayout.h"
#include "wave/FieldCodecs.h"
#include "wave/FormatTexts.h"
#include "wave/LoadFailure.h"
#include "wave/PostTimerLines.h"
#include "wave/TextCodec.h"
#include "wave/WaveCheck.h"
#include "wave/WaveDocument.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Every byte of the 8-bit set has a screen character and comes back as
// itself, so editing a field the user did not touch cannot alter it.
void ShowText(const std::string& fileText) {
    const std::string shown = wave::DecodeText(fileText);
    const wave::EncodedText back = wave::EncodeText(shown);
    Require(back.ok && back.bytes == fileText, "a field's text does not survive the trip to the screen and back");
}

void ShowPages(const OwnedPageRecords& records) {
    // The Start page and the post-timer list; any fault here is the
    // sanitizers' to report.
    if (records.info.m_format) {
        (void)wave::TextsOf(*records.info.m_format);
        (void)wave::PostTimerLines(records.cart2.m_timers, records.info.m_format->samplesPerSec);
    }
    (void)wave::PostTimerLines(records.cart2.m_timers, records.cart2.m_nSampleRate);

    const EbuInfoRecord& ebu = records.ebu;
    for (const std::string* text : {&ebu.m_strDescription, &ebu.m_strOriginator, &ebu.m_strOriginatorRef,
                                    &ebu.m_strOriginationDate, &ebu.m_strOriginationTime, &ebu.m_strCodingHistory}) {
        ShowText(*text);
    }
    const CartInfoRecord& p1 = records.cart;
    for (const std::string* text : {&p1.m_strVersion, &p1.m_strTitle, &p1.m_strArtist, &p1.m_strClientID,
                                    &p1.m_strCategory, &p1.m_strClassification}) {
        ShowText(*text);
    }
    const CartInfo2Record& p2 = records.cart2;
    for (const std::string* text :
         {&p2.m_strUserDef, &p2.m_strURL, &p2.m_strProducerAppVer, &p2.m_strProducerAppID, &p2.m_strOutCue}) {
        ShowText(*text);
    }
}

// What a load promises about the document and the pages, by outcome.
void CheckLoad(wave::LoadFailure failure, const wave::WaveDocument& doc, const OwnedPageRecords& records,
               const sparse::Image& image) {
    using wave::LoadFailure;
    Require(failure != LoadFailure::OpenFailed, "the scratch file could not be opened");
    Require(doc.file.IsOpen() == wave::StreamStaysOpen(failure),
            "the stream is left open or closed against the outcome's row");

    const bool formatRead = failure == LoadFailure::None || failure == LoadFailure::DataBeforeCart ||
                            failure == LoadFailure::CartNotFound || failure == LoadFailure::InvalidCartHeader;
    Require(records.info.m_format.has_value() == formatRead, "a format block is shown against the outcome");

    // However large the chunks declare themselves, a load keeps no more than
    // its bounds.
    Require(!doc.loaded.bext || doc.loaded.bext->size() <= wave::bext::kCodingHistory + wave::kMaxCodingHistory,
            "more bext data was kept than a load keeps");

    const bool loaded = failure == LoadFailure::None;
    Require(records.cart.m_bCartLoaded == loaded && records.cart2.m_bCartLoaded == loaded,
            "the cart pages' flags disagree with the outcome");
    if (!loaded) return;

    Require(doc.CartLoaded(), "a load that succeeded holds no cart data");
    const std::vector<std::uint8_t>& cart = *doc.loaded.cart;
    Require(doc.loaded.cartPos >= 8 && static_cast<std::uint64_t>(doc.loaded.cartPos) <= image.size,
            "the cart data's position lies outside the file");
    Require(cart.size() <= std::min<std::size_t>(doc.loaded.cartSize, wave::kMaxCartData),
            "more cart data was kept than the chunk declares or a load keeps");
    const auto pos = static_cast<std::uint64_t>(doc.loaded.cartPos);
    Require(cart.size() == std::min<std::uint64_t>({doc.loaded.cartSize, wave::kMaxCartData, image.size - pos}),
            "the cart data stops before the chunk or the file does");
    Require(cart == image.at(pos, cart.size()), "the cart data kept is not the file's bytes at its position");
    const Bytes header = image.at(pos - 8, 4);
    Require(std::memcmp(header.data(), "cart", 4) == 0, "the cart data does not follow a cart header");
    Require(records.cart2.m_nSampleRate == records.info.m_format->samplesPerSec,
            "the post timers' sample rate is not the format's");
}

// A save may rewrite the cart data it loaded and nothing else. When it
// reports a failure it must have written nothing at all; when it reports
// success the file must hold what the document now says it holds.
// Returns the file as it is now, for the next save to be compared with.
Snapshot CheckSave(const wave::SaveResult& result, const wave::WaveDocument& doc, const Snapshot& before,
                   const std::vector<Extent>& extents, std::uint64_t cartPos, std::size_t cartSize) {
    Snapshot after = Snapshot::Take(Scratch(), extents);
    Require(after.size == before.size, "a save changed the file's length");
    if (!result.ok) {
        Require(SameOutside(before, after, {}), "a refused save changed the file");
        return after;
    }
    Require(SameOutside(before, after, {{cartPos, cartPos + cartSize}}), "a save changed a byte outside the cart data");
    Require(doc.loaded.cart && doc.loaded.cart->size() == cartSize, "a save changed the cart data's length");
    Require(Scratch().read(cartPos, cartSize) == *doc.loaded.cart,
            "the file does not hold the cart data the save reports");
    return after;
}

// Whether a value reads back whole from cart data of this many bytes: no
// longer than its field, no NUL inside, and inside the data (an empty value
// needs no room at all).
bool Fits(const wave::CartWrite& write, std::size_t cartSize) {
    const wave::Field layout = wave::LayoutOf(write.field);
    if (write.value.empty()) return true;
    return write.value.size() <= layout.width && write.value.find('\0') == std::string::npos &&
           layout.offset + write.value.size() <= cartSize;
}

// A save is refused exactly when one of its values would not read back
// whole, and then names the first such field.
void CheckRefusal(const wave::SaveResult& result, const wave::CartWrites& writes, std::size_t cartSize) {
    for (const wave::CartWrite& write : writes) {
        if (Fits(write, cartSize)) continue;
        Require(!result.ok, "a save stored a value cut short");
        Require(result.field == write.field, "a refused save names the wrong field");
        return;
    }
    Require(result.ok, "a save of values that all fit was refused");
}

// After a successful save a fresh load finds the same cart data, and in it
// every value written, whole.
OwnedPageRecords CheckStored(const wave::CartWrites& writes, const wave::WaveDocument& doc, wave::ChunkWalk walk) {
    OwnedPageRecords again;
    again.info.m_strPath = Scratch().path();
    wave::WaveDocument reloaded;
    Require(fixture::OpenIntoPages(reloaded, again.refs(), wave::WaveStream::Mode::ReadWrite, walk) ==
                wave::LoadFailure::None,
            "a saved file no longer loads");
    Require(reloaded.loaded.cartPos == doc.loaded.cartPos && reloaded.loaded.cart == doc.loaded.cart,
            "a saved file loads other cart data than was saved");
    for (const wave::CartWrite& write : writes) {
        Require(wave::ReadTextField(*reloaded.loaded.cart, wave::LayoutOf(write.field)) == write.value,
                "a saved value does not read back");
    }
    return again;
}

// Saving the pages as loaded must load again as the same pages. The dates and
// times are left out: they are stored as formatted from the numbers the
// loader split out, which need not give back the same numbers.
void CheckPagesKept(const OwnedPageRecords& saved, const OwnedPageRecords& again) {
    const CartInfoRecord& a = saved.cart;
    const CartInfoRecord& b = again.cart;
    Require(a.m_strTitle == b.m_strTitle && a.m_strArtist == b.m_strArtist && a.m_strClientID == b.m_strClientID &&
                a.m_strCategory == b.m_strCategory && a.m_strClassification == b.m_strClassification &&
                a.m_strVersion == b.m_strVersion,
            "a save without edits changed the first cart page");
    const CartInfo2Record& c = saved.cart2;
    const CartInfo2Record& d = again.cart2;
    Require(c.m_strOutCue == d.m_strOutCue && c.m_strUserDef == d.m_strUserDef && c.m_strURL == d.m_strURL &&
                c.m_bUrlSupported == d.m_bUrlSupported && c.m_strProducerAppID == d.m_strProducerAppID &&
                c.m_strProducerAppVer == d.m_strProducerAppVer && c.m_dwLevelReference == d.m_dwLevelReference,
            "a save without edits changed the second cart page");
    for (std::size_t k = 0; k < c.m_timers.size(); ++k) {
        Require(c.m_timers[k].usage == d.m_timers[k].usage && c.m_timers[k].value == d.m_timers[k].value,
                "a save without edits changed a post timer");
    }
}

// Every editable field set to its full width, so that a write running one
// byte past its field, or past the data read, shows up.
wave::CartWrites FullWidthEdits(const CartInfo2Record& page2) {
    wave::CartWrites writes;
    auto fill = [&writes](wave::CartField field, char c) {
        writes.push_back({field, std::string(wave::LayoutOf(field).width, c)});
    };
    fill(wave::CartField::Title, 'T');
    fill(wave::CartField::Artist, 'A');
    fill(wave::CartField::ClientID, 'C');
    fill(wave::CartField::Category, 'G');
    fill(wave::CartField::Classification, 'L');
    fill(wave::CartField::OutCue, 'O');
    writes.push_back({wave::CartField::StartDate, wave::FormatDate(2038, 1, 19)});
    writes.push_back({wave::CartField::StartTime, wave::FormatTime(3, 14, 7)});
    writes.push_back({wave::CartField::EndDate, wave::FormatDate(9999, 12, 31)});
    writes.push_back({wave::CartField::EndTime, wave::FormatTime(23, 59, 59)});
    fill(wave::CartField::UserDef, 'U');
    if (page2.m_bUrlSupported) fill(wave::CartField::URL, 'h');
    return writes;
}

void LoadAndSave(const sparse::Image& image, wave::ChunkWalk walk) {
    ScratchFile& scratch = Scratch();
    scratch.assign(image);

    OwnedPageRecords records;
    records.info.m_strPath = scratch.path();
    wave::WaveDocument doc;
    const wave::LoadFailure failure =
        fixture::OpenIntoPages(doc, records.refs(), wave::WaveStream::Mode::ReadWrite, walk);
    CheckLoad(failure, doc, records, image);
    ShowPages(records);

    if (!doc.CartLoaded()) {
        // Nothing to save: the saver must say so and leave the file alone.
        const wave::SaveResult refused = doc.SaveCart(SaveWritesFrom(records.cart, records.cart2));
        Require(!refused.ok, "a save without cart data reported success");
        const std::vector<Extent> extents = ExtentsOf(image, {});
        (void)CheckSave(refused, doc, Snapshot::Take(scratch, extents), extents, 0, 0);
        return;
    }

    const auto cartPos = static_cast<std::uint64_t>(doc.loaded.cartPos);
    const std::size_t cartSize = doc.loaded.cart->size();
    const std::vector<Extent> extents = ExtentsOf(image, {{cartPos, cartPos + cartSize}});
    const Snapshot loaded = Snapshot::Take(scratch, extents);

    const wave::CartWrites asLoaded = SaveWritesFrom(records.cart, records.cart2);
    const wave::SaveResult unchanged = doc.SaveCart(asLoaded);
    const Snapshot saved = CheckSave(unchanged, doc, loaded, extents, cartPos, cartSize);
    CheckRefusal(unchanged, asLoaded, cartSize);
    if (unchanged.ok) CheckPagesKept(records, CheckStored(asLoaded, doc, walk));

    const wave::CartWrites edits = FullWidthEdits(records.cart2);
    const wave::SaveResult edited = doc.SaveCart(edits);
    const Snapshot afterEdits = CheckSave(edited, doc, saved, extents, cartPos, cartSize);
    CheckRefusal(edited, edits, cartSize);
    if (edited.ok) (void)CheckStored(edits, doc, walk);

    // One byte too long for its field: refused, whatever the chunk holds.
    const wave::CartWrites tooLong = {{wave::CartField::OutCue, std::string(wave::cart::kOutCue.width + 1, 'X')}};
    const wave::SaveResult refused = doc.SaveCart(tooLong);
    (void)CheckSave(refused, doc, afterEdits, extents, cartPos, cartSize);
    CheckRefusal(refused, tooLong, cartSize);
}

// Every rule of `check`, with each profile, with and without the cart rules'
// look past the fixed order, on the same bytes; the sanitizers catch a read
// outside what the walk kept.
void Check(const sparse::Image& image) {
    ScratchFile& scratch = Scratch();
    scratch.assign(image);
    wave::WaveStream file;
    Require(file.Open(scratch.path(), wave::WaveStream::Mode::ReadOnly), "the scratch file could not be opened");
    for (const wave::CheckProfile profile : {wave::CheckProfile::Generic, wave::CheckProfile::Rivendell,
                                             wave::CheckProfile::Enco, wave::CheckProfile::Genesys}) {
        for (const bool anyLayout : {false, true}) {
            for (const wave::Finding& finding : wave::CheckWave(file, {profile, wave::Charset::Utf8, anyLayout})) {
                Require(!finding.rule.empty() && !finding.message.empty(), "a finding without a rule or message");
                Require(!finding.offset || (*finding.offset >= 0 && static_cast<std::uint64_t>(*finding.offset) <=
                                                                         image.size),
                        "a finding's offset lies outside the file");
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const sparse::Image image = sparse::Unframe(data, size);
    LoadAndSave(image, wave::ChunkWalk::FixedOrder);
    LoadAndSave(image, wave::ChunkWalk::AnyLayout);
    Check(image);
    return 0;
}
