#pragma once

#include <cstddef>

namespace wave {

// Asks the kernel to back the whole 2 MiB pages inside [data, data + bytes)
// with huge pages: a buffer of many megabytes filled at once then costs a
// few page faults instead of thousands. Only a hint; where the kernel
// declines, nothing changes.
void AdviseHugePages(void* data, std::size_t bytes);

// Reserves room for n elements and gives it the hint above, before anything
// touches it.
template <class Container>
void ReserveHuge(Container& container, std::size_t n) {
    container.reserve(n);
    AdviseHugePages(container.data(), container.capacity() * sizeof(*container.data()));
}

}  // namespace wave
