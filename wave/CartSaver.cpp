// Writing the edited cart data back in place: same position, same length,
// no byte outside the cart data, and no success reported for a failure.

#include "FieldCodecs.h"
#include "PrimitiveReads.h"
#include "WaveDocument.h"

namespace wave {

namespace {

constexpr std::int64_t kHeaderSize = 8;

SaveResult Failed(std::string error, std::optional<CartField> field = std::nullopt) {
    return {false, std::move(error), field};
}

SaveResult FieldRefused(const CartWrite& write) {
    const Field layout = LayoutOf(write.field);
    const std::string name = DisplayName(write.field);
    if (write.value.size() > layout.width) {
        return Failed(name + " is " + std::to_string(write.value.size()) + " bytes long; the field holds at most " +
                          std::to_string(layout.width) + " bytes.",
                      write.field);
    }
    return Failed("The cart chunk of this file is too short to hold " + name + ".", write.field);
}

}  // namespace

SaveResult WaveDocument::PrepareCart(const CartWrites& writes, std::vector<std::uint8_t>& image) const {
    if (!CartLoaded()) return Failed("No cart chunk is loaded.");
    image = *m_pCartData;
    for (const CartWrite& write : writes) {
        const Field layout = LayoutOf(write.field);
        WriteTextField(image, layout, write.value);
        // A value that would not read back whole (too long, or beyond the
        // bytes the chunk holds) is refused rather than silently cut.
        if (ReadTextField(image, layout) != write.value) return FieldRefused(write);
    }
    return {};
}

SaveResult WaveDocument::CheckFileUnchanged() {
    const SaveResult changed = Failed("The file was changed by another program since it was loaded.");
    if (!m_file.pathStillNamesOpenFile()) return changed;
    const auto end = m_lCartPos + static_cast<std::int64_t>(m_pCartData->size());
    if (m_lCartPos < kHeaderSize || m_file.size() < end) return changed;
    if (!m_file.seekp(m_lCartPos - kHeaderSize)) return changed;
    const std::uint32_t id = ReadFourCC(m_file, 4);
    const std::uint32_t size = ReadLE(m_file, 4);
    if (m_file.eof() || id != FourCC("cart") || size != m_dwCartSize) return changed;
    return {};
}

SaveResult WaveDocument::SaveCart(const CartWrites& writes) {
    std::vector<std::uint8_t> image;
    if (SaveResult prepared = PrepareCart(writes, image); !prepared.ok) return prepared;
    if (!m_file.is_open()) return Failed("The file is not open.");
    if (SaveResult unchanged = CheckFileUnchanged(); !unchanged.ok) return unchanged;

    if (!m_file.seekp(m_lCartPos) || !m_file.write(image.data(), image.size())) {
        return Failed("The cart chunk could not be written (" + m_file.lastError() + ").");
    }
    if (!m_file.sync()) return Failed("The cart chunk could not be written to disk (" + m_file.lastError() + ").");
    m_pCartData = std::move(image);
    return {};
}

}  // namespace wave
