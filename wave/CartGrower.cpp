// Adding a cart chunk, or enlarging one: only on the caller's word, and so
// that a failure at any step leaves the file as it was.
#include <sys/stat.h>

#include <algorithm>
#include <memory>

#include "wave/CartPlacement.h"
#include "wave/ChunkIds.h"
#include "wave/ChunkSurvey.h"
#include "wave/Ds64.h"
#include "wave/RangeLock.h"
#include "wave/SideFileRewrite.h"
#include "wave/WaveDocument.h"

namespace wave {

namespace {

using namespace chunk_id;
using Bytes8 = std::vector<std::uint8_t>;

constexpr const char* kUnchanged = " The file is unchanged.";

SaveResult Failed(std::string error) { return {false, std::move(error), std::nullopt}; }

void AppendLe(Bytes8& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void AppendId(Bytes8& out, std::uint32_t id) {
    for (int i = 3; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(id >> (8 * i)));
}

void AppendChunk(Bytes8& out, std::uint32_t id, const Bytes8& data) {
    AppendId(out, id);
    AppendLe(out, data.size(), 4);
    out.insert(out.end(), data.begin(), data.end());
}

void AppendFiller(Bytes8& out, std::uint32_t id, std::uint64_t size) {
    AppendId(out, id);
    AppendLe(out, size, 4);
}

// The new file of a rewrite: every chunk in its order, byte for byte, but
// the old cart chunk; the cart chunk and a filler before "data"; the sizes
// of the RIFF header (and of ds64) made to fit.
class RewriteBuilder {
public:
    RewriteBuilder(const ChunkSurvey& survey, WaveStream& file, const Bytes8& cart)
        : survey_(survey), file_(file), cart_(cart) {}

    std::vector<RewritePiece> Build() {
        BuildOnce();
        // The filler moves the audio by whole blocks, so that where the file
        // system shares extents, the copy shares the audio's instead of
        // writing it again.
        const std::int64_t alignment = kRewriteAlignment;
        const std::int64_t misaligned = ((dataShift_ % alignment) + alignment) % alignment;
        if (misaligned != 0) {
            fillerSize_ += static_cast<std::uint32_t>(alignment - misaligned);
            BuildOnce();
        }
        return std::move(pieces_);
    }

    std::uint64_t RiffSize() const { return static_cast<std::uint64_t>(position_ - 8); }

private:
    void BuildOnce() {
        pieces_.clear();
        ds64Piece_ = 0;
        previousLacksPad_ = false;
        pieces_.push_back(Bytes8{});  // the file header, once the size is known
        position_ = 12;
        const std::size_t at = CartIndex();
        for (std::size_t i = 0; i < survey_.chunks.size(); ++i) {
            const SurveyedChunk& chunk = survey_.chunks[i];
            if (i == at) PlaceCart();
            if (chunk.entry.id == kCart) continue;
            previousLacksPad_ = chunk.LacksPad();
            if (chunk.entry.id == kDs64 && survey_.IsRf64()) {
                ds64Piece_ = pieces_.size();
                Add(ReadChunk(chunk));
            } else {
                if (chunk.entry.id == kData) dataShift_ = position_ - chunk.entry.offset;
                Add(OldFileRange{chunk.entry.offset, static_cast<std::uint64_t>(chunk.end - chunk.entry.offset)});
            }
        }
        if (at == survey_.chunks.size()) PlaceCart();
        FixSizes();
    }

    // Where the fixed-order walk looks for it: after "fmt " and the optional
    // "fact", "mext" and "bext" that follow it in that order, so long as
    // that is before "data"; else right before "data" (or last).
    std::size_t CartIndex() const {
        const auto& chunks = survey_.chunks;
        if (const std::optional<std::size_t> at =
                FixedOrderCartIndex(chunks, [](const SurveyedChunk& c) { return c.entry.id; }))
            return *at;
        const int data = survey_.Find(kData);
        return data < 0 ? chunks.size() : static_cast<std::size_t>(data);
    }

    void Add(RewritePiece piece) {
        if (const auto* bytes = std::get_if<Bytes8>(&piece))
            position_ += static_cast<std::int64_t>(bytes->size());
        else
            position_ += static_cast<std::int64_t>(std::get<OldFileRange>(piece).length);
        pieces_.push_back(std::move(piece));
    }

    void PlaceCart() {
        Bytes8 bytes;
        if (previousLacksPad_) bytes.push_back(0);
        AppendChunk(bytes, kCart, cart_);
        AppendFiller(bytes, FourCC("JUNK"), fillerSize_);
        bytes.resize(bytes.size() + fillerSize_, 0);
        Add(std::move(bytes));
    }

    Bytes8 ReadChunk(const SurveyedChunk& chunk) {
        Bytes8 bytes(static_cast<std::size_t>(chunk.end - chunk.entry.offset));
        file_.Seek(chunk.entry.offset);
        bytes.resize(file_.Read(bytes.data(), bytes.size()));
        return bytes;
    }

    void FixSizes() {
        Bytes8 header;
        AppendId(header, survey_.formId);
        const bool inDs64 = survey_.IsRf64() && ds64Piece_ != 0;
        AppendLe(header, inDs64 ? 0xFFFFFFFFu : RiffSize(), 4);
        AppendId(header, kWave);
        pieces_[0] = std::move(header);
        if (!inDs64) return;
        Bytes8& ds64 = std::get<Bytes8>(pieces_[ds64Piece_]);
        const std::size_t at = 8 + Ds64Sizes::kRiffSizeOffset;
        for (std::size_t i = 0; i < 8 && at + i < ds64.size(); ++i)
            ds64[at + i] = static_cast<std::uint8_t>(RiffSize() >> (8 * i));
    }

    const ChunkSurvey& survey_;
    WaveStream& file_;
    const Bytes8& cart_;
    std::vector<RewritePiece> pieces_;
    std::size_t ds64Piece_ = 0;
    bool previousLacksPad_ = false;
    std::int64_t position_ = 0;
    std::uint32_t fillerSize_ = kRewriteFillerSize;
    std::int64_t dataShift_ = 0;  // where "data" moves to, less where it was
};

}  // namespace

bool WaveDocument::ReopenClosed() {
    // The rows that found no cart chunk close the stream; the file is still
    // the one loaded as long as its identity says so.
    if (!file.IsOpen() && !lent_ && !file.Path().empty()) file.Open(file.Path(), file.OpenMode());
    return file.IsOpen();
}

bool WaveDocument::CanAddCart() {
    if (CartLoaded()) return false;
    if (loaded.failure != LoadFailure::CartNotFound && loaded.failure != LoadFailure::DataBeforeCart) return false;
    const bool wasOpen = file.IsOpen();
    if (!ReopenClosed()) return false;
    const bool none = SurveyChunks(file).Find(kCart) < 0;
    // Asking changes nothing: a stream the load closed is closed again.
    if (!wasOpen) file.Close();
    return none;
}

bool WaveDocument::NeedsGrowth(const CartWrites& writes) const {
    if (!CartLoaded()) return true;
    std::vector<std::uint8_t> image;
    return PrepareCart(writes, image, true).ok && image.size() > loaded.cart->size();
}

SaveResult WaveDocument::CheckLayoutUnchanged(const ChunkSurvey& survey) {
    const SaveResult changed = Failed("The file was changed by another program since it was loaded.");
    if (file.Identity() != loadedIdentity_ || !file.PathStillNamesOpenFile()) return changed;
    const int cart = survey.Find(kCart);
    if (CartLoaded()) {
        if (cart < 0 || survey.chunks[static_cast<std::size_t>(cart)].DataPos() != loaded.cartPos) return changed;
        return CheckFileUnchanged();
    }
    if (file.Size() != loadedSize_) return changed;
    if (cart >= 0) return Failed("This file has a cart chunk that was not read; it cannot get a second one.");
    return {};
}

SaveResult WaveDocument::Reload() {
    const std::string path = file.Path();
    const WaveStream::Mode mode = file.OpenMode();
    if (OpenWave(path, mode, ChunkWalk::AnyLayout) != LoadFailure::None)
        return Failed("The cart chunk was written, but the file does not read back with it.");
    return {};
}

SaveResult WaveDocument::GrowCart(const CartWrites& writes, bool append,
                                  const std::function<void(std::uint64_t, std::uint64_t)>& progress) {
    // The lock goes before the reload closes the stream it is on.
    if (SaveResult written = GrowLocked(writes, append, progress); !written.ok) return written;
    return Reload();
}

SaveResult WaveDocument::GrowLocked(const CartWrites& writes, bool append,
                                    const std::function<void(std::uint64_t, std::uint64_t)>& progress) {
    std::vector<std::uint8_t> image;
    if (SaveResult prepared = PrepareCart(writes, image, true); !prepared.ok) return prepared;
    if (!ReopenClosed()) return Failed("The file could not be opened (" + file.LastError() + ")." + kUnchanged);
    if (saveLock_) return Failed("A save of this file is still being finished.");
    // The whole file, held from the check to the last write (or the rename).
    const RangeLock lock(file, 0, 0);
    const ChunkSurvey survey = SurveyChunks(file);
    if (SaveResult unchanged = CheckLayoutUnchanged(survey); !unchanged.ok) return unchanged;
    const CartPlan plan = PlaceCart(survey, static_cast<std::uint32_t>(image.size()), append);
    if (const auto* why = std::get_if<std::string>(&plan))
        return Failed("No cart chunk can be placed in this file: " + *why + "." + kUnchanged);
    const CartPlacement& place = std::get<CartPlacement>(plan);
    switch (place.route) {
        case CartRoute::IntoFiller: return GrowIntoFiller(place, image);
        case CartRoute::AtEnd: return GrowAtEnd(survey, place, image);
        case CartRoute::Rewrite: return GrowByRewrite(survey, image, progress);
    }
    return Failed("No way to place the cart chunk was chosen.");
}

SaveResult WaveDocument::GrowIntoFiller(const CartPlacement& place, const std::vector<std::uint8_t>& image) {
    // One write: the cart chunk, then the header of what is left of the
    // filler, which keeps its ID.
    Bytes8 bytes;
    AppendChunk(bytes, kCart, image);
    if (place.fillerPos >= 0) AppendFiller(bytes, place.fillerId, place.fillerSize);
    if (!file.Seek(place.headerPos) || !file.Write(bytes.data(), bytes.size()))
        return Failed("The cart chunk could not be written (" + file.LastError() + ").");
    if (!file.Sync()) return Failed("The cart chunk could not be written to disk (" + file.LastError() + ").");
    return {};
}

SaveResult WaveDocument::GrowAtEnd(const ChunkSurvey& survey, const CartPlacement& place,
                                   const std::vector<std::uint8_t>& image) {
    const std::int64_t oldEnd = file.Size();
    auto undo = [&](const std::string& what) {
        const bool restored = file.Truncate(oldEnd) && file.Sync();
        return Failed(what + " (" + file.LastError() + ")." + (restored ? kUnchanged : ""));
    };
    // The new chunk first, past the RIFF size, where no reader looks; then
    // the size that takes it in, so that for a moment the file holds both
    // cart chunks, the old one first; then the old one becomes filler.
    Bytes8 bytes(static_cast<std::size_t>(place.headerPos - survey.End()), 0);
    AppendChunk(bytes, kCart, image);
    if (!file.Seek(survey.End()) || !file.Write(bytes.data(), bytes.size()) || !file.Sync())
        return undo("The cart chunk could not be written at the end of the file");
    Bytes8 size;
    AppendLe(size, place.riffSize, survey.IsRf64() ? 8 : 4);
    const std::int64_t sizePos =
        survey.IsRf64() ? survey.ds64DataPos + static_cast<std::int64_t>(Ds64Sizes::kRiffSizeOffset) : 4;
    if (!file.Seek(sizePos) || !file.Write(size.data(), size.size()) || !file.Sync())
        return undo("The file's size could not be updated");
    if (place.oldCartPos < 0) return {};
    Bytes8 junk;
    AppendId(junk, FourCC("JUNK"));
    if (!file.Seek(place.oldCartPos) || !file.Write(junk.data(), junk.size()) || !file.Sync())
        return Failed("The old cart chunk could not be marked as filler (" + file.LastError() +
                      "); the file now holds both, and the old one is read first.");
    return {};
}

SaveResult WaveDocument::GrowByRewrite(const ChunkSurvey& survey, const std::vector<std::uint8_t>& image,
                                       const std::function<void(std::uint64_t, std::uint64_t)>& progress) {
    // A new file would take only this name of the file.
    struct stat st {};
    if (::fstat(file.Descriptor(), &st) == 0 && st.st_nlink > 1) {
        SaveResult refused = Failed("The file has " + std::to_string(st.st_nlink) +
                                    " hard links, and a rewrite would split them." + kUnchanged);
        refused.atEndWouldDo = true;
        return refused;
    }
    RewriteBuilder builder(survey, file, image);
    const std::vector<RewritePiece> pieces = builder.Build();
    const RewriteOutcome outcome =
        RewriteBeside(file.Descriptor(), file.Path(), pieces, SystemRewriteCalls(), progress);
    // The rewrite's own words say what failed and whether the file is as it
    // was; they begin in lower case.
    if (!outcome.ok) return Failed("The file could not be rewritten: " + outcome.error + ".");
    return {};
}

}  // namespace wave
