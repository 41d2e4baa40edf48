// The set of live vessel handles. Every call a module makes with a handle asks it, so it is one array of
// addresses searched in place (open addressing, mostly one probe into one cache line) rather than a node per
// handle somewhere on the heap.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace orb {

class HandleSet {
public:
    bool contains(const void* p) const {
        const std::uintptr_t key = reinterpret_cast<std::uintptr_t>(p);
        if (slots_.empty() || key <= kGone) return false;
        for (size_t i = home(key);; i = (i + 1) & mask()) {
            if (slots_[i] == key) return true;
            if (slots_[i] == kEmpty) return false;
        }
    }

    void insert(const void* p) {
        const std::uintptr_t key = reinterpret_cast<std::uintptr_t>(p);
        if (key <= kGone || contains(p)) return;
        if (2 * (taken_ + 1) > slots_.size()) rebuild();
        size_t i = home(key);
        while (slots_[i] > kGone)
            i = (i + 1) & mask();
        taken_ += slots_[i] == kEmpty; // a slot marked gone is counted already
        slots_[i] = key;
    }

    void erase(const void* p) {
        const std::uintptr_t key = reinterpret_cast<std::uintptr_t>(p);
        if (slots_.empty() || key <= kGone) return;
        for (size_t i = home(key); slots_[i] != kEmpty; i = (i + 1) & mask())
            if (slots_[i] == key) {
                slots_[i] = kGone; // keeps the probe chains of the others unbroken
                return;
            }
    }

private:
    static constexpr std::uintptr_t kEmpty = 0, kGone = 1; // no object lives at these addresses

    size_t mask() const { return slots_.size() - 1; }
    size_t home(std::uintptr_t key) const { // Fibonacci hashing: the product's top bits
        return size_t((std::uint64_t(key >> 4) * 0x9E3779B97F4A7C15ull) >> shift_);
    }
    // Room for four times the live handles, at least 64 slots; the slots marked gone are dropped.
    void rebuild() {
        std::vector<std::uintptr_t> old;
        old.swap(slots_);
        size_t live = 0;
        for (std::uintptr_t k : old)
            live += k > kGone;
        size_t size = 64;
        while (size < 4 * (live + 1))
            size *= 2;
        slots_.assign(size, kEmpty);
        shift_ = 64 - std::countr_zero(size);
        taken_ = 0;
        for (std::uintptr_t k : old)
            if (k > kGone) {
                size_t i = home(k);
                while (slots_[i] != kEmpty)
                    i = (i + 1) & mask();
                slots_[i] = k;
                ++taken_;
            }
    }

    std::vector<std::uintptr_t> slots_; // size a power of two, at most half taken
    int shift_ = 64;                    // 64 - log2 of the size
    size_t taken_ = 0;                  // slots not empty: live handles and those marked gone
};

} // namespace orb
