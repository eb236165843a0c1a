#pragma once

#include <cstddef>

namespace orvane {

// A block whose pages are present from the start where the system can map
// them so (Linux MAP_POPULATE), else plain operator new. Throws
// std::bad_alloc; free with freePopulated and the same size.
void *allocatePopulated(std::size_t bytes);
void freePopulated(void *block, std::size_t bytes) noexcept;

// Makes the pages of memory the program already holds present for writing
// in one trip into the kernel (Linux MADV_POPULATE_WRITE) rather than a fault
// per page; leaves their contents alone. Does nothing where the system
// cannot.
void populateForWriting(void *block, std::size_t bytes) noexcept;

} // namespace orvane
