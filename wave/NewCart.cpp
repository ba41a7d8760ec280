#include "wave/NewCart.h"

#include "wave/ChunkLayout.h"
#include "wave/FieldCodecs.h"

namespace wave {

std::vector<std::uint8_t> NewCartImage() {
    std::vector<std::uint8_t> image(cart::kTagText, 0);
    WriteTextField(image, cart::kVersion, "0101");
    return image;
}

std::size_t GrownSize(std::size_t tagTextLength) {
    const std::size_t size = cart::kTagText + tagTextLength;
    return size + (size & 1);
}

}  // namespace wave
