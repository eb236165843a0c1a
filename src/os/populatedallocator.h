#pragma once

#include "os/populatedmemory.h"

#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>

namespace orvane {

// Allocator for the large element arrays. Touching freshly mapped memory page
// by page costs a fault per page, which on some virtual machines dominates the
// load of a large pattern; large blocks come pre-populated where the system
// offers it.
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
        return static_cast<T *>(allocatePopulated(bytes));
    }

    void deallocate(T *p, std::size_t n) noexcept
    {
        const std::size_t bytes = n * sizeof(T);
        if (bytes < LargeBytes)
            ::operator delete(p);
        else
            freePopulated(p, bytes);
    }

    // An array grown by resize() leaves plain values (bytes, scene elements)
    // as the memory holds them, instead of writing zeros first: whoever grows
    // one writes every element before it is read. Types with initialisers of
    // their own still get them.
    template <typename U>
    void construct(U *p) noexcept(std::is_nothrow_default_constructible_v<U>)
    {
        ::new (static_cast<void *>(p)) U;
    }
    template <typename U, typename... Args>
    void construct(U *p, Args &&...args)
    {
        ::new (static_cast<void *>(p)) U(std::forward<Args>(args)...);
    }

    template <typename U>
    bool operator==(const PopulatedAllocator<U> &) const noexcept
    {
        return true;
    }
};

} // namespace orvane
