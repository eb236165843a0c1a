#include "os/populatedmemory.h"

#include <cstdint>
#include <new>
#include <sys/mman.h>
#include <unistd.h>

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

void populateForWriting(void *block, std::size_t bytes) noexcept
{
#ifdef MADV_POPULATE_WRITE
    // Whole pages only: the first and last may hold other data, which the
    // advice leaves as it is.
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<std::uintptr_t>(block) & ~(page - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(block) + bytes + page - 1) & ~(page - 1);
    // An older kernel refuses the advice (EINVAL); the pages then come one fault at a time.
    ::madvise(reinterpret_cast<void *>(start), end - start, MADV_POPULATE_WRITE);
#else
    (void)block;
    (void)bytes;
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
