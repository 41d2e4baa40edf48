// A growable list whose elements never move, for the parts of a vessel that the host hands out by address
// (tanks, thrusters, groups): an element's address stays valid while elements are added.
//
// Unlike a deque, whose blocks hold only a few of these larger elements each and are reached through a map,
// the elements sit in a handful of contiguous blocks of doubling size (16, 32, 64, ...): a vessel's thrusters
// are one block, walked in order, and an address turns back into its index without a search.
#pragma once

#include "PooledMemory.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <vector>

namespace orb::phys {

template <class T> class StableList {
public:
    static constexpr size_t kFirstBlock = 16;

    StableList() = default;
    StableList(std::initializer_list<T> init) {
        for (const T& v : init)
            push_back(v);
    }
    StableList(const StableList& o) {
        for (const T& v : o)
            push_back(v);
    }
    StableList& operator=(const StableList& o) {
        if (this != &o) {
            StableList copy(o);
            *this = std::move(copy);
        }
        return *this;
    }
    // The blocks move with the list, so addresses taken before stay valid.
    StableList(StableList&& o) noexcept : blocks_(std::move(o.blocks_)), first_(o.first_), size_(o.size_) {
        o.blocks_.clear();
        o.first_ = nullptr;
        o.size_ = 0;
    }
    StableList& operator=(StableList&& o) noexcept {
        if (this != &o) {
            blocks_ = std::move(o.blocks_);
            first_ = o.first_;
            size_ = o.size_;
            o.blocks_.clear();
            o.first_ = nullptr;
            o.size_ = 0;
        }
        return *this;
    }

    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

    // The first block, where a vessel's parts nearly always are, is reached without the list of blocks.
    T& operator[](size_t i) {
        return i < kFirstBlock ? first_[i] : blocks_[blockOf(i)][i - blockStart(blockOf(i))];
    }
    const T& operator[](size_t i) const {
        return i < kFirstBlock ? first_[i] : blocks_[blockOf(i)][i - blockStart(blockOf(i))];
    }
    T& back() { return (*this)[size_ - 1]; }
    const T& back() const { return (*this)[size_ - 1]; }

    void push_back(T v) {
        const size_t b = blockOf(size_);
        if (b == blocks_.size()) {
            blocks_.push_back(newBlock(kFirstBlock << b));
            first_ = blocks_[0].get();
        }
        blocks_[b][size_ - blockStart(b)] = std::move(v);
        ++size_;
    }

    // Index of the element at p, or -1 when p is not the address of one of this list's elements.
    long indexOf(const void* p) const {
        for (size_t b = 0; b < blocks_.size(); ++b) {
            const T* first = b == 0 ? first_ : blocks_[b].get();
            const size_t cap = kFirstBlock << b;
            // Compared as integers: pointers into other objects may not be ordered against this block.
            const auto a = reinterpret_cast<std::uintptr_t>(p), lo = reinterpret_cast<std::uintptr_t>(first);
            if (a < lo || a >= lo + cap * sizeof(T) || (a - lo) % sizeof(T) != 0) continue;
            const size_t i = blockStart(b) + (a - lo) / sizeof(T);
            return i < size_ ? long(i) : -1;
        }
        return -1;
    }

    // Asks the processor for the elements' memory ahead of a walk over them (see phys::prefetch).
    // Only the first block: its address is held in the list itself, so no other memory is read to find it.
    void prefetch() const {
        const char* p = reinterpret_cast<const char*>(first_);
        const size_t bytes = std::min(size_, kFirstBlock) * sizeof(T);
        for (size_t o = 0; o < bytes; o += 64)
            __builtin_prefetch(p + o);
    }

    template <class List, class V> class Iter {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using pointer = V*;
        using reference = V&;
        Iter() = default;
        Iter(List* l, size_t i) : l_(l), i_(i) {}
        V& operator*() const { return (*l_)[i_]; }
        V* operator->() const { return &(*l_)[i_]; }
        Iter& operator++() {
            ++i_;
            return *this;
        }
        Iter operator++(int) {
            Iter t = *this;
            ++i_;
            return t;
        }
        bool operator==(const Iter& o) const { return i_ == o.i_; }

    private:
        List* l_ = nullptr;
        size_t i_ = 0;
    };
    using iterator = Iter<StableList, T>;
    using const_iterator = Iter<const StableList, const T>;
    iterator begin() { return {this, 0}; }
    iterator end() { return {this, size_}; }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size_}; }

private:
    // Block b holds kFirstBlock << b elements from index kFirstBlock * (2^b - 1) on.
    static size_t blockOf(size_t i) { return size_t(std::bit_width(i / kFirstBlock + 1)) - 1; }
    static size_t blockStart(size_t b) { return kFirstBlock * ((size_t(1) << b) - 1); }

    // The blocks lie in pooled memory, beside the same blocks of other vessels.
    struct BlockFree {
        size_t count = 0;
        void operator()(T* p) const noexcept {
            std::destroy_n(p, count);
            pooledFree(p, count * sizeof(T));
        }
    };
    using Block = std::unique_ptr<T[], BlockFree>;
    static Block newBlock(size_t count) {
        void* raw = pooledAllocate(count * sizeof(T));
        try {
            std::uninitialized_value_construct_n(static_cast<T*>(raw), count);
        } catch (...) {
            pooledFree(raw, count * sizeof(T));
            throw;
        }
        return Block(static_cast<T*>(raw), BlockFree{count});
    }

    std::vector<Block> blocks_;
    T* first_ = nullptr; // blocks_[0], kept beside the size
    size_t size_ = 0;
};

} // namespace orb::phys
