// Writing the edited cart data back in place: same position, same length,
// no byte outside the cart data, and no success reported for a failure.

#include <algorithm>
#include <memory>

#include "wave/FieldCodecs.h"
#include "wave/NewCart.h"
#include "wave/RangeLock.h"
#include "wave/WaveDocument.h"

namespace wave {

namespace {

constexpr std::int64_t kHeaderSize = 8;

SaveResult Failed(std::string error, std::optional<CartField> field = std::nullopt) {
    return {false, std::move(error), field};
}

// The bytes a write replaces in data of this length. Tag text runs to the
// end of the chunk, so its width is whatever the chunk holds after 2048.
Field TargetOf(const CartWrite& write, std::size_t dataSize) {
    if (write.part) return *write.part;
    Field layout = LayoutOf(write.field);
    if (RowOf(write.field).kind == FieldKind::TextToEnd) layout.width = dataSize - std::min(dataSize, layout.offset);
    return layout;
}

SaveResult FieldRefused(const CartWrite& write, Field target) {
    const std::string name = DisplayName(write.field);
    const bool noRoom = RowOf(write.field).kind == FieldKind::TextToEnd && target.width == 0;
    if (write.value.size() > target.width && !noRoom) {
        return Failed(name + " is " + std::to_string(write.value.size()) + " bytes long; the field holds at most " +
                          std::to_string(target.width) + " bytes.",
                      write.field);
    }
    return Failed("The cart chunk of this file is too short to hold " + name + ".", write.field);
}

// Numbers and post timers are stored as given, byte for byte; text must read
// back whole.
bool Store(Bytes image, const CartWrite& write, Field target) {
    const FieldKind kind = RowOf(write.field).kind;
    if (kind == FieldKind::Number || kind == FieldKind::Timers) {
        if (write.value.size() != target.width || target.offset + target.width > image.size()) return false;
        std::copy(write.value.begin(), write.value.end(), image.begin() + static_cast<std::ptrdiff_t>(target.offset));
        return true;
    }
    if (kind == FieldKind::TextToEnd && target.width == 0) return false;
    WriteTextField(image, target, write.value);
    return ReadTextField(image, target) == write.value;
}

// The chunk as the loader left it on disk: its ID, its declared size, then
// the data bytes it kept.
std::vector<std::uint8_t> LoadedChunk(std::uint32_t declaredSize, const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> chunk{'c', 'a', 'r', 't'};
    for (int shift = 0; shift < 32; shift += 8) chunk.push_back(static_cast<std::uint8_t>(declaredSize >> shift));
    chunk.insert(chunk.end(), data.begin(), data.end());
    return chunk;
}

}  // namespace

SaveResult WaveDocument::PrepareCart(const CartWrites& writes, std::vector<std::uint8_t>& image, bool grow) const {
    if (!CartLoaded() && !grow) return Failed("No cart chunk is loaded.");
    image = CartLoaded() ? *loaded.cart : NewCartImage();
    for (const CartWrite& write : writes) {
        // Tag text beyond the bytes loaded would stay on disk after the new
        // text's padding and read back as part of it.
        if (RowOf(write.field).kind == FieldKind::TextToEnd && image.size() < loaded.cartSize) {
            return Failed("The cart chunk of this file is longer than the " + std::to_string(image.size()) +
                              " bytes read from it; its " + DisplayName(write.field) + " cannot be rewritten.",
                          write.field);
        }
        Field target = TargetOf(write, image.size());
        if (grow && RowOf(write.field).kind == FieldKind::TextToEnd && write.value.size() > target.width) {
            image.resize(GrownSize(write.value.size()));
            target = TargetOf(write, image.size());
        }
        // A value that would not read back whole (too long, or beyond the
        // bytes the chunk holds) is refused rather than silently cut.
        if (!Store(image, write, target)) return FieldRefused(write, target);
    }
    return {};
}

SaveResult WaveDocument::CheckFileUnchanged() {
    const SaveResult changed = Failed("The file was changed by another program since it was loaded.");
    if (file.Identity() != loadedIdentity_ || !file.PathStillNamesOpenFile() || loaded.cartPos < kHeaderSize) {
        return changed;
    }
    // Another program's edit of any cart field would be undone by writing
    // back the whole image, so every byte loaded must still be there. One
    // read takes the header and the data.
    const std::vector<std::uint8_t> expected = LoadedChunk(loaded.cartSize, *loaded.cart);
    std::vector<std::uint8_t> onDisk(expected.size());
    if (!file.Seek(loaded.cartPos - kHeaderSize) || file.Read(onDisk.data(), onDisk.size()) != onDisk.size() ||
        onDisk != expected) {
        return changed;
    }
    return {};
}

SaveResult WaveDocument::WriteCart(const CartWrites& writes) {
    std::vector<std::uint8_t> image;
    if (SaveResult prepared = PrepareCart(writes, image); !prepared.ok) return prepared;
    if (!file.IsOpen()) return Failed("The file is not open.");
    if (saveLock_) return Failed("A save of this file is still being finished.");
    auto lock = std::make_unique<RangeLock>(file, loaded.cartPos - kHeaderSize,
                                            kHeaderSize + static_cast<std::int64_t>(image.size()));
    if (SaveResult unchanged = CheckFileUnchanged(); !unchanged.ok) return unchanged;

    // The file already holds these bytes: rewriting them would change only
    // its modification time, which watch folders and backups read as an edit.
    const bool same = image == *loaded.cart;
    if (!same && (!file.Seek(loaded.cartPos) || !file.Write(image.data(), image.size()))) {
        return Failed("The cart chunk could not be written (" + file.LastError() + ").");
    }
    saveLock_ = std::move(lock);
    writtenCart_ = std::move(image);
    return {};
}

SaveResult WaveDocument::FinishSave() {
    if (!saveLock_) return Failed("No save of this file is waiting to be finished.");
    const bool synced = file.Sync();
    // Only data known to be on disk counts as loaded: after a failed sync,
    // the next save's check finds the file changed rather than trusting it.
    if (synced) loaded.cart = std::move(writtenCart_);
    writtenCart_.reset();
    saveLock_.reset();
    if (!synced) return Failed("The cart chunk could not be written to disk (" + file.LastError() + ").");
    return {};
}

SaveResult WaveDocument::SaveCart(const CartWrites& writes) {
    if (SaveResult written = WriteCart(writes); !written.ok) return written;
    return FinishSave();
}

}  // namespace wave
