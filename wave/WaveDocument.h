#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "wave/CartValues.h"
#include "wave/CartWrites.h"
#include "wave/LoadFailure.h"
#include "wave/LoadedWave.h"
#include "wave/RangeLock.h"
#include "wave/WaveStream.h"

namespace wave {

struct ChunkSurvey;
struct CartPlacement;

// The outcome of a save: ok, or why nothing (or not everything) was written.
struct SaveResult {
    bool ok = true;
    std::string error;
    std::optional<CartField> field;  // the field that could not be stored
    // A growth refused only because the file would have to be rewritten:
    // putting the chunk after the last one would do.
    bool atEndWouldDo = false;
};

// Which chunk walk a load runs. FixedOrder: "fmt ", then the
// optional "fact", "mext", "bext", then "cart". AnyLayout: every top-level
// chunk in any order, in RIFF, RF64 and BW64 files alike.
enum class ChunkWalk { FixedOrder, AnyLayout };

// The open wave file and what the last load read of it: the stream, the
// format, the bext and cart data images, the cart data's file position and
// declared size, and the chunks the walk met.
class WaveDocument {
public:
    WaveStream file;
    // The cart data in it is at most the declared size and 128 KiB, less
    // where the file ends first. A save writes back exactly these bytes.
    LoadedWave loaded;
    // Set by the window: when the fixed-order walk refuses a file at a
    // chunk, the any-layout walk goes over the same open file, and a cart
    // chunk it finds is kept aside, unseen, until taken or declined.
    bool lookPastRefusal = false;

    // Closes the stream if open, opens the file at the path and loads it.
    // Failures to open give OpenFailed.
    LoadFailure OpenWave(const std::string& path, WaveStream::Mode mode = WaveStream::Mode::ReadWrite,
                         ChunkWalk walk = ChunkWalk::FixedOrder);

    // Forgets what the last load read, then walks and checks the open file.
    // Streams left closed by a failure row are closed.
    LoadFailure LoadWaveFile(ChunkWalk walk = ChunkWalk::FixedOrder);

    // Where the look past the last load's refusal found the cart data.
    std::optional<std::int64_t> CartPastRefusal() const;
    // Keeps what that look found, as an any-layout load of the file would.
    LoadFailure TakePastRefusal();
    // Leaves the refusal as it stands, closing the stream if its row says so.
    void DeclinePastRefusal();

    bool CartLoaded() const { return loaded.cart.has_value() && loaded.cartPos >= 0; }
    // The loaded cart data's values; only while CartLoaded().
    CartValues Cart() const { return CartValues(*loaded.cart); }

    // The file goes to another reader (the player) by its path: the stream
    // closes and the position it was at is returned. Lending a closed or
    // lent file changes nothing and returns -1.
    std::int64_t LendFile();
    // Reopens a lent file by the path and in the mode it was opened with,
    // at that position. False when it cannot be opened; it stays lent, so a
    // later call tries again. True when nothing is lent.
    bool TakeFileBack(std::int64_t position);
    bool FileLent() const { return lent_; }

    // The cart data with the writes applied, or why one of them cannot be
    // stored (no cart chunk, or a field that does not fit the data read).
    // With grow, a file without a cart chunk starts from a new one (version
    // "0101", every other field empty), and tag text longer than the chunk's
    // room enlarges the data.
    SaveResult PrepareCart(const CartWrites& writes, std::vector<std::uint8_t>& image, bool grow = false) const;

    // Whether the last load found no cart chunk because the file holds none
    // (not one the walk did not reach), so that one may be added.
    bool CanAddCart();
    // Whether the writes need a cart chunk that is new or larger than the
    // one loaded.
    bool NeedsGrowth(const CartWrites& writes) const;
    // Saves writes that need a new or larger cart chunk: into a filler next
    // to it, at the end of the file (when it is last there, or with append),
    // or by rewriting the file beside itself and renaming it over the old
    // one. Nothing is changed on a failure. The document then holds the
    // file as saved, read by the any-layout walk.
    // progress(done, total) follows the bytes of a rewrite.
    SaveResult GrowCart(const CartWrites& writes, bool append,
                        const std::function<void(std::uint64_t, std::uint64_t)>& progress = {});

    // Applies the writes and writes the cart data back in place, with one
    // write, then syncs it to disk. Writes nothing when a check fails, nor
    // when the data would come back byte for byte as it is.
    SaveResult SaveCart(const CartWrites& writes);

    // SaveCart in two steps, for a batch that syncs many files at once.
    // WriteCart checks and writes, and keeps the cart chunk locked;
    // FinishSave syncs the file and releases the lock. Every successful
    // WriteCart must be followed by FinishSave, which may run on another
    // thread as long as nothing else touches the document meanwhile.
    SaveResult WriteCart(const CartWrites& writes);
    SaveResult FinishSave();

private:
    // Between WriteCart and FinishSave: the data written, and the lock on it.
    // Declared after the stream, so the lock goes before the descriptor it is on.
    std::optional<std::vector<std::uint8_t>> writtenCart_;
    std::unique_ptr<RangeLock> saveLock_;
    bool lent_ = false;
    // The identity of the file the last load read. The stream may be closed
    // and reopened by its path meanwhile (playback, a batch's sync threads);
    // a save writes only into that same file.
    std::string loadedIdentity_;

    std::int64_t loadedSize_ = -1;

    std::optional<LoadedWave> pastRefusal_;
    LoadFailure refusal_ = LoadFailure::None;

    SaveResult CheckFileUnchanged();
    bool ReopenClosed();
    SaveResult CheckLayoutUnchanged(const ChunkSurvey& survey);
    SaveResult GrowLocked(const CartWrites& writes, bool append,
                          const std::function<void(std::uint64_t, std::uint64_t)>& progress);
    SaveResult GrowIntoFiller(const CartPlacement& place, const std::vector<std::uint8_t>& image);
    SaveResult GrowAtEnd(const ChunkSurvey& survey, const CartPlacement& place, const std::vector<std::uint8_t>& image);
    SaveResult GrowByRewrite(const ChunkSurvey& survey, const std::vector<std::uint8_t>& image,
                             const std::function<void(std::uint64_t, std::uint64_t)>& progress);
    SaveResult Reload();
};

}  // namespace wave
