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
    // The points appended to the model from here on are the pool's, every one added through it
    // (the points it has already are not merged with).
    explicit PointPool(Model& model) : model_(model), first_(model.points.size()) {}
    // Room for that many more points to be added without growing the table while at most half
    // of them are new (patches sharing their edges share about that many): each growth places
    // every point again, a tenth of a large import's time.
    void expect(size_t points) {
        size_t count = kFirstSlots;
        while (count < points)
            count *= 2;
        if (count > count_) resize(count);
    }
    int32_t add(vm::Float3 p) { return addHashed(p, hashOf(keyOf(p))); }

    // Each of count points added, its index into indices[]. Later points' slots are fetched
    // ahead: a large pool is in memory, not in the cache, and the look-ups' misses then
    // overlap. Each point's hash is worked out once, when its slot is fetched.
    void add(const vm::Float3* points, size_t count, int32_t* indices) {
        constexpr size_t kAhead = 16;
        uint64_t hashes[kAhead]; // point i's at i % kAhead
        for (size_t i = 0; i < count && i < kAhead; ++i)
            hashes[i] = hashOf(keyOf(points[i]));
        for (size_t i = 0; i < count; ++i) {
            const uint64_t hash = hashes[i % kAhead];
            if (i + kAhead < count) {
                const uint64_t later = hashOf(keyOf(points[i + kAhead]));
                hashes[i % kAhead] = later;
                if (count_ != 0) __builtin_prefetch(&slots_[later & (count_ - 1)]);
            }
            indices[i] = addHashed(points[i], hash);
        }
    }

  private:
    int32_t addHashed(vm::Float3 p, uint64_t hash) {
        const Key key = keyOf(p);
        if (2 * (model_.points.size() - first_ + 1) > count_)
            resize(count_ == 0 ? kFirstSlots : 2 * count_);
        const uint32_t tag = tagOf(hash);
        const size_t mask = count_ - 1;
        for (size_t at = hash & mask;; at = (at + 1) & mask) {
            writeBeforeReading(at);
            const uint32_t slot = slots_[at];
            if (slot == kEmpty) {
                const size_t index = model_.points.size();
                slots_[at] = tag | static_cast<uint32_t>(index - first_ + 1);
                model_.points.push_back(p);
                return static_cast<int32_t>(index);
            }
            const size_t index = first_ + (slot & placeMask_) - 1;
            if ((slot & ~placeMask_) == tag && keyOf(model_.points[index]) == key)
                return static_cast<int32_t>(index);
        }
    }

    struct Key {
        uint32_t x, y, z;
        bool operator==(const Key&) const = default;
    };
    // A slot is 32 bits: the point's place among the pool's plus one (0 when empty: the slots
    // start as zero pages, never written over in advance) in the low bits, which a table of
    // twice the points always has room for, and in the bits above them as many of its hash's
    // top bits as fit: the model's point is read only when those agree, so a look-up is mostly
    // one place in memory, in half the memory of a slot of two words.
    struct Release {
        void operator()(uint32_t* slots) const { std::free(slots); }
    };
    using Slots = std::unique_ptr<uint32_t[], Release>;
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
    static uint64_t hashOf(const Key& k) { // the three mixed, then a 64-bit finalizer
        uint64_t h = (uint64_t{k.x} << 32 | k.y) ^ (uint64_t{k.z} * 0x9E3779B97F4A7C15ULL);
        h ^= h >> 33;
        h *= 0xFF51AFD7ED558CCDULL;
        h ^= h >> 33;
        h *= 0xC4CEB9FE1A85EC53ULL;
        return h ^ (h >> 33);
    }
    // The hash's top bits in the slot's bits above the place (the place takes the low bits).
    uint32_t tagOf(uint64_t hash) const { return static_cast<uint32_t>(hash >> 32) & ~placeMask_; }
    // count slots (a power of two), each point placed again by its hash (read in the model's
    // order, not the old slots': the slots keep too little of the hash).
    void resize(size_t count) {
        Slots slots(static_cast<uint32_t*>(std::calloc(count, sizeof(uint32_t))));
        if (!slots) throw std::bad_alloc();
        slots_ = std::move(slots);
        count_ = count;
        // Places run up to half the slots: the bits below count hold any of them.
        placeMask_ = count >= (uint64_t{1} << 32) ? ~uint32_t{0} : static_cast<uint32_t>(count - 1);
        written_.assign((count + kSlotsPerPage * 64 - 1) / (kSlotsPerPage * 64), 0);
        const size_t mask = count - 1;
        for (size_t index = first_; index < model_.points.size(); ++index) {
            const uint64_t hash = hashOf(keyOf(model_.points[index]));
            size_t at = hash & mask;
            for (writeBeforeReading(at); slots_[at] != kEmpty; writeBeforeReading(at))
                at = (at + 1) & mask;
            slots_[at] = tagOf(hash) | static_cast<uint32_t>(index - first_ + 1);
        }
    }

    // A page of slots is first written, then read: a fresh page read first maps the shared zero
    // page, and the write that follows replaces it, which flushes the address cache of every
    // core running the import's threads (a tenth of the patch text's time). Only the pages a
    // look-up reaches are written (a table sized from a file's lines may hold few points).
    static constexpr size_t kSlotsPerPage = 4096 / sizeof(uint32_t); // the smallest pages'
    void writeBeforeReading(size_t at) {
        const size_t page = at / kSlotsPerPage;
        uint64_t& pages = written_[page / 64];
        const uint64_t bit = uint64_t{1} << (page % 64);
        if (pages & bit) return;
        pages |= bit;
        *static_cast<volatile uint32_t*>(&slots_[at]) = kEmpty; // still all zeros
    }

    Model& model_;
    size_t first_; // the model's first point of the pool's
    Slots slots_;
    size_t count_ = 0; // slots, a power of two
    uint32_t placeMask_ = 0;
    std::vector<uint64_t> written_; // a bit a page of slots: written to
};
