#pragma once

#include <cstddef>
#include <new>
#include <sys/mman.h>

namespace orvane {

// Allocator for the large element arrays. Touching freshly mapped memory page
// by page costs a fault per page, which on some virtual machines dominates the
// load of a large pattern; mapping large blocks pre-populated takes one trip
// into the kernel instead.
template <typename T>
class PopulatedAllocator {
public:
    using value_type = T;
    static constexpr std::size_t LargeBytes = 256 * 1024;

    PopulatedAllocator() noexcept = default;
    template <typename U>
    PopulatedAllocator(const PopulatedAllocator<U> &) noexcept
    {
    }

    T *allocate(std::size_t n)
    {
        if (n > static_cast<std::size_t>(-1) / sizeof(T))
            throw std::bad_alloc();
        const std::size_t bytes = n * sizeof(T);
        if (bytes < LargeBytes)
            return static_cast<T *>(::operator new(bytes));
        void *p = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
        if (p == MAP_FAILED)
            throw std::bad_alloc();
        return static_cast<T *>(p);
    }

    void deallocate(T *p, std::size_t n) noexcept
    {
        const std::size_t bytes = n * sizeof(T);
        if (bytes < LargeBytes)
            ::operator delete(p);
        else
            ::munmap(p, bytes);
    }

    template <typename U>
    bool operator==(const PopulatedAllocator<U> &) const noexcept
    {
        return true;
    }
};

} // namespace orvane
