#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace wave {

// The data of a cart chunk added to a file: version "0101", every text,
// date and time empty, level reference 0, every post timer unset, an empty
// URL area and no tag text.
std::vector<std::uint8_t> NewCartImage();

// The data size that holds tag text of this length: even, so the chunk
// needs no pad byte, and any byte past the text is a NUL that ends it.
std::size_t GrownSize(std::size_t tagTextLength);

}  // namespace wave
