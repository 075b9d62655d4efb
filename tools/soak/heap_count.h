// Heap in use by this process, counted at every allocation and release (the C allocator's
// entry points are replaced in this executable). Unlike the allocator's own statistics,
// the count does not move when the allocator keeps freed blocks in its caches.
#pragma once

#include <cstdint>

namespace soak {

// Usable bytes of the blocks allocated and not yet released.
std::int64_t heap_bytes_in_use();
// Number of those blocks.
std::int64_t heap_blocks_in_use();

}  // namespace soak
