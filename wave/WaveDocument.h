#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "wave/CartWrites.h"
#include "wave/LoadFailure.h"
#include "wave/LoadedWave.h"
#include "wave/PageRecords.h"
#include "wave/RangeLock.h"
#include "wave/WaveStream.h"

namespace wave {

// The outcome of a save: ok, or why nothing (or not everything) was written.
struct SaveResult {
    bool ok = true;
    std::string error;
    std::optional<CartField> field;  // the field that could not be stored
};

// Which chunk walk a load runs. FixedOrder: "fmt ", then the
// optional "fact", "mext", "bext", then "cart". AnyLayout: every top-level
// chunk in any order, in RIFF, RF64 and BW64 files alike.
enum class ChunkWalk { FixedOrder, AnyLayout };

// The open wave file and what the loader keeps of it for the saver and the
// player: the stream, the bext and cart data images, the cart data's file
// position and declared size.
class WaveDocument {
public:
    WaveStream m_file;
    std::optional<std::vector<std::uint8_t>> m_pBextData;
    // The cart data as read: at most the declared size and 128 KiB, less
    // where the file ends first. A save writes back exactly these bytes.
    std::optional<std::vector<std::uint8_t>> m_pCartData;
    std::uint32_t m_dwCartSize = 0;
    std::int64_t m_lCartPos = -1;
    // The ID the fixed-order walk met where it expected "RIFF", "fmt ",
    // "bext" or "cart" (rows 2, 5, 6 and 7); none after any other outcome.
    std::optional<std::uint32_t> m_idStoppedAt;
    // The top-level chunks the last load's walk met, in file order.
    std::vector<ChunkEntry> m_chunks;
    // Set by the window: when the fixed-order walk refuses a file at a
    // chunk, the any-layout walk goes over the same open file, and a cart
    // chunk it finds is kept aside, unseen, until taken or declined.
    bool m_bLookPastRefusal = false;

    // Closes the stream if open, opens the file named by the Start page's
    // path and loads it. Failures to open give OpenFailed.
    LoadFailure OpenWave(PageRecords pages, WaveStream::Mode mode = WaveStream::Mode::ReadWrite,
                         ChunkWalk walk = ChunkWalk::FixedOrder);

    // Resets every page value, then walks and checks the open file and
    // distributes its fields. Streams left closed by a failure row are closed.
    LoadFailure LoadWaveFile(PageRecords pages, ChunkWalk walk = ChunkWalk::FixedOrder);

    // Where the look past the last load's refusal found the cart data.
    std::optional<std::int64_t> CartPastRefusal() const;
    // Shows what that look found, as an any-layout load of the file would.
    LoadFailure TakePastRefusal(PageRecords pages);
    // Leaves the refusal as it stands, closing the stream if its row says so.
    void DeclinePastRefusal();

    void ResetFields(PageRecords pages);
    static void ClearCartFlags(PageRecords pages);
    // Marks both cart pages as showing a loaded cart chunk.
    static void SetCartFlags(PageRecords pages);

    // The four characters of a chunk ID, with any that is not printable
    // ASCII shown as '?'.
    static std::string ChunkName(std::uint32_t id);

    bool CartLoaded() const { return m_pCartData.has_value() && m_lCartPos >= 0; }

    // The file goes to another reader (the player) by its path: the stream
    // closes and the position it was at is returned. Lending a closed or
    // lent file changes nothing and returns -1.
    std::int64_t LendFile();
    // Reopens a lent file by the path and in the mode it was opened with,
    // at that position. False when it cannot be opened; it stays lent, so a
    // later call tries again. True when nothing is lent.
    bool TakeFileBack(std::int64_t position);
    bool FileLent() const { return m_bLent; }

    // The cart data with the writes applied, or why one of them cannot be
    // stored (no cart chunk, or a field that does not fit the data read).
    SaveResult PrepareCart(const CartWrites& writes, std::vector<std::uint8_t>& image) const;

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
    // Declared after m_file, so the lock goes before the descriptor it is on.
    std::optional<std::vector<std::uint8_t>> m_pWrittenCart;
    std::unique_ptr<RangeLock> m_pSaveLock;
    bool m_bLent = false;
    // The identity of the file the last load read. The stream may be closed
    // and reopened by its path meanwhile (playback, a batch's sync threads);
    // a save writes only into that same file.
    std::string m_strLoadedIdentity;

    std::optional<LoadedWave> m_pastRefusal;
    LoadFailure m_refusal = LoadFailure::None;

    // Keeps what a walk read and fills the pages from it.
    void Adopt(LoadedWave loaded, PageRecords pages);
    SaveResult CheckFileUnchanged();
};

}  // namespace wave
