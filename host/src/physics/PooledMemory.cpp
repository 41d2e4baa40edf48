#include "PooledMemory.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <new>
#include <vector>

#include <sys/mman.h>

// Under the address sanitizer each record keeps its own heap block, so that overruns are still caught.
#if defined(__SANITIZE_ADDRESS__)
#define ORB_POOL_PLAIN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ORB_POOL_PLAIN 1
#endif
#endif

namespace orb::phys {
namespace {

constexpr std::size_t kLine = 64;
constexpr std::size_t kLargePage = std::size_t(2) << 20;
constexpr std::size_t kFirstRegion = 64 * 1024; // a world of a few vessels stays small
constexpr std::size_t kClasses = kPooledMax / kLine;

std::size_t roundedUp(std::size_t bytes) {
    return (bytes + kLine - 1) / kLine * kLine;
}

// One size: slots cut in turn from the current region, and the freed ones kept for reuse. Each region is
// twice the last, up to one large page.
struct SizeClass {
    char* next = nullptr;
    char* end = nullptr;
    std::size_t regionBytes = kFirstRegion;
    std::vector<void*> freed;
};

struct Pool {
    std::mutex lock;
    SizeClass classes[kClasses + 1];

    void* allocate(std::size_t size) {
        std::lock_guard<std::mutex> hold(lock);
        SizeClass& c = classes[size / kLine];
        if (!c.freed.empty()) {
            void* p = c.freed.back();
            c.freed.pop_back();
            return p;
        }
        if (std::size_t(c.end - c.next) < size) {
            // The regions are never given back: a host's vessel count rises and falls within what it had.
            const std::size_t bytes = c.regionBytes;
            void* region = std::aligned_alloc(bytes == kLargePage ? kLargePage : kLine, bytes);
            if (!region) throw std::bad_alloc();
            // A wish: without large pages the region is ordinary memory.
            if (bytes == kLargePage) madvise(region, bytes, MADV_HUGEPAGE);
            c.next = static_cast<char*>(region);
            c.end = c.next + bytes;
            c.regionBytes = std::min(2 * bytes, kLargePage);
        }
        void* p = c.next;
        c.next += size;
        return p;
    }

    void free(void* p, std::size_t size) {
        std::lock_guard<std::mutex> hold(lock);
        classes[size / kLine].freed.push_back(p);
    }
};

Pool& pool() {
    static Pool* p = new Pool; // never destroyed: records may be freed during the program's exit
    return *p;
}

} // namespace

bool pooledSideBySide() {
#ifdef ORB_POOL_PLAIN
    return false;
#else
    return true;
#endif
}

void* pooledAllocate(std::size_t bytes) {
    const std::size_t size = roundedUp(bytes == 0 ? 1 : bytes);
#ifdef ORB_POOL_PLAIN
    return ::operator new(size, std::align_val_t(kLine));
#else
    if (size > kPooledMax) return ::operator new(size, std::align_val_t(kLine));
    return pool().allocate(size);
#endif
}

void pooledFree(void* p, std::size_t bytes) noexcept {
    if (!p) return;
    const std::size_t size = roundedUp(bytes == 0 ? 1 : bytes);
#ifdef ORB_POOL_PLAIN
    ::operator delete(p, std::align_val_t(kLine));
#else
    if (size > kPooledMax) {
        ::operator delete(p, std::align_val_t(kLine));
        return;
    }
    try {
        pool().free(p, size);
    } catch (...) {
        // Keeping it failed (no memory for the list): the slot is lost, nothing else is.
    }
#endif
}

} // namespace orb::phys
