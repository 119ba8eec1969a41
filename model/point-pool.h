// Merging equal points as a model is read from another program's file: the first of equal
// coordinates keeps its index, so rows shared between surfaces become shared points.
// Coordinates are equal as floats compare: +0 and -0 are one value; every NaN is one value
// (files' numbers are finite, but a surface's conversion may overflow).
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "model/model.h"

class PointPool {
  public:
    explicit PointPool(Model& model) : model_(model) {}
    int32_t add(vm::Float3 p) {
        const Key key = keyOf(p);
        if (2 * (used_ + 1) > count_) grow();
        const uint32_t tag = tagOf(key);
        const size_t mask = count_ - 1;
        for (size_t at = tag & mask;; at = (at + 1) & mask) {
            Slot& slot = slots_[at];
            if (slot.place == kEmpty) {
                const auto index = static_cast<int32_t>(model_.points.size());
                slot = {static_cast<uint32_t>(index) + 1, tag};
                ++used_;
                model_.points.push_back(p);
                return index;
            }
            const auto index = static_cast<int32_t>(slot.place - 1);
            if (slot.tag == tag && keyOf(model_.points[static_cast<size_t>(index)]) == key)
                return index;
        }
    }

    // Each of count points added, its index into indices[]. Later points' slots are fetched
    // ahead: a large pool is in memory, not in the cache, and the look-ups' misses then
    // overlap.
    void add(const vm::Float3* points, size_t count, int32_t* indices) {
        constexpr size_t kAhead = 16;
        for (size_t i = 0; i < count; ++i) {
            if (i + kAhead < count && count_ != 0)
                __builtin_prefetch(&slots_[tagOf(keyOf(points[i + kAhead])) & (count_ - 1)]);
            indices[i] = add(points[i]);
        }
    }

  private:
    struct Key {
        uint32_t x, y, z;
        bool operator==(const Key&) const = default;
    };
    // A point's index plus one (0 when empty: the slots start as zero pages, never written
    // over in advance) and its hash, which also gives its place: the model's point is read
    // only when the hashes agree, so a look-up is mostly one place in memory.
    struct Slot {
        uint32_t place;
        uint32_t tag;
    };
    struct Release {
        void operator()(Slot* slots) const { std::free(slots); }
    };
    using Slots = std::unique_ptr<Slot[], Release>;
    static constexpr uint32_t kEmpty = 0;
    static constexpr size_t kFirstSlots = 1024;
    static constexpr uint32_t kNaN = 0x7fc00000;

    static uint32_t bitsOf(float v) {
        if (v != v) return kNaN;
        v += 0.0f; // -0 becomes +0
        uint32_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        return bits;
    }
    static Key keyOf(vm::Float3 p) { return {bitsOf(p.x), bitsOf(p.y), bitsOf(p.z)}; }
    static uint32_t tagOf(const Key& k) { // the three mixed, then a 64-bit finalizer
        uint64_t h = (uint64_t{k.x} << 32 | k.y) ^ (uint64_t{k.z} * 0x9E3779B97F4A7C15ULL);
        h ^= h >> 33;
        h *= 0xFF51AFD7ED558CCDULL;
        h ^= h >> 33;
        h *= 0xC4CEB9FE1A85EC53ULL;
        return static_cast<uint32_t>(h >> 32);
    }
    // Twice the slots, each placed again by its hash.
    void grow() {
        const size_t count = count_ == 0 ? kFirstSlots : 2 * count_;
        Slots slots(static_cast<Slot*>(std::calloc(count, sizeof(Slot))));
        if (!slots) throw std::bad_alloc();
        const size_t mask = count - 1;
        for (size_t k = 0; k < count_; ++k) {
            const Slot& slot = slots_[k];
            if (slot.place == kEmpty) continue;
            size_t at = slot.tag & mask;
            while (slots[at].place != kEmpty)
                at = (at + 1) & mask;
            slots[at] = slot;
        }
        slots_ = std::move(slots);
        count_ = count;
    }

    Model& model_;
    Slots slots_;
    size_t count_ = 0; // slots, a power of two
    size_t used_ = 0;
};
