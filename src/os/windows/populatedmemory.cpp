#include "os/populatedmemory.h"

#include <new>

namespace orvane {

// Windows has no pre-populated mapping; the heap serves as well.
void *allocatePopulated(std::size_t bytes)
{
    return ::operator new(bytes);
}

void freePopulated(void *block, std::size_t) noexcept
{
    ::operator delete(block);
}

void populateForWriting(void *, std::size_t) noexcept {}

} // namespace orvane
