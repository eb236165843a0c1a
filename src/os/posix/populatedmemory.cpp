#include "os/populatedmemory.h"

#include <new>
#include <sys/mman.h>

namespace orvane {

// One trip into the kernel instead of a fault per page, which on some virtual
// machines dominates the load of a large pattern.
void *allocatePopulated(std::size_t bytes)
{
#ifdef MAP_POPULATE
    void *block = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    if (block == MAP_FAILED)
        throw std::bad_alloc();
    return block;
#else
    return ::operator new(bytes);
#endif
}

void freePopulated(void *block, std::size_t bytes) noexcept
{
#ifdef MAP_POPULATE
    ::munmap(block, bytes);
#else
    (void)bytes;
    ::operator delete(block);
#endif
}

} // namespace orvane
