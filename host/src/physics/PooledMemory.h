// Memory for what a step reads of every vessel: the bodies and their first blocks of parts.
//
// From the general heap these records lie between everything else a vessel allocates (its module's object,
// names, lists), a few kilobytes apart, so that a world of thousands of vessels touches a new memory page for
// nearly every record it steps. Here records of one size lie side by side, in the order they were made, in
// regions the kernel is asked to back with large pages: a step walks them like an array.
#pragma once

#include <cstddef>
#include <memory>
#include <new>

namespace orb::phys {

// Memory for an object of `bytes` bytes, aligned to a cache line. Sizes above kPooledMax come from the
// general heap. Freed memory is kept for the next object of its size. Safe to call from several threads.
void* pooledAllocate(std::size_t bytes);
// Gives back what pooledAllocate(bytes) returned, with the same bytes.
void pooledFree(void* p, std::size_t bytes) noexcept;

inline constexpr std::size_t kPooledMax = 16 * 1024;

// False in builds with the address sanitizer, where every record keeps a heap block of its own.
bool pooledSideBySide();

// A deleter for objects placed in pooled memory.
template <class T> struct PooledDelete {
    void operator()(T* p) const noexcept {
        p->~T();
        pooledFree(p, sizeof(T));
    }
};

// A T made in pooled memory, owned by the returned pointer.
template <class T> std::unique_ptr<T, PooledDelete<T>> makePooled() {
    void* raw = pooledAllocate(sizeof(T));
    try {
        return std::unique_ptr<T, PooledDelete<T>>(new (raw) T());
    } catch (...) {
        pooledFree(raw, sizeof(T));
        throw;
    }
}

// An allocator for containers whose elements a step reads (a vessel's touchdown points, say).
template <class T> struct PooledAllocator {
    using value_type = T;
    PooledAllocator() = default;
    template <class U> PooledAllocator(const PooledAllocator<U>&) noexcept {}
    T* allocate(std::size_t n) { return static_cast<T*>(pooledAllocate(n * sizeof(T))); }
    void deallocate(T* p, std::size_t n) noexcept { pooledFree(p, n * sizeof(T)); }
    template <class U> bool operator==(const PooledAllocator<U>&) const noexcept { return true; }
};

} // namespace orb::phys
