// What the converters worked out for a syllable, kept for the next time they meet it: a table
// shared by every thread, filled on first sight and never changed after, read without locks.
// Its results belong to the conversion tables they were worked out from: a table made for other
// tables is set aside whole (a test that loads them again), never changed.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <type_traits>
#include <vector>

#include "../base/conversion_data.h"

// A syllable as a key: its bytes, its length and a few bits of how it is read, in one word
// (`tag`, never 0, for at most kShortSyllable bytes) or two (`rest`: bytes 7 to 14).
constexpr size_t kShortSyllable = 7;
constexpr size_t kLongSyllable = 15;
struct SyllableKey {
    uint64_t tag;
    uint64_t rest;
};

// The key of n bytes (1 to kLongSyllable) read with `reading` (0 to 7). `word` holds the
// first eight bytes in memory order (its bytes past n need not be zero).
inline SyllableKey SyllableKeyOf(uint64_t word, const uint8_t *bytes, size_t n, unsigned reading) {
    SyllableKey key{word, 0};
    if (n < 8) key.tag &= (1ull << (8 * n)) - 1;
    else std::memcpy(&key.rest, bytes + 7, n - 7);
    key.tag = (key.tag & 0x00FFFFFFFFFFFFFFull) | static_cast<uint64_t>(n) << 56 | static_cast<uint64_t>(reading) << 60;
    return key;
}

// The same where 16 bytes are readable at `bytes` (the ones past n are not read into the key).
inline SyllableKey SyllableKeyOfPadded(const uint8_t *bytes, size_t n, unsigned reading) {
    uint64_t first, rest;
    std::memcpy(&first, bytes, 8);
    std::memcpy(&rest, bytes + 7, 8);
    SyllableKey key{first, n > 7 ? rest & (~0ull >> (8 * (15 - n))) : 0};
    if (n < 8) key.tag &= (1ull << (8 * n)) - 1;
    key.tag = (key.tag & 0x00FFFFFFFFFFFFFFull) | static_cast<uint64_t>(n) << 56 | static_cast<uint64_t>(reading) << 60;
    return key;
}

inline SyllableKey SyllableKeyOf(const uint8_t *bytes, size_t n, unsigned reading) {
    uint64_t word = 0;
    std::memcpy(&word, bytes, n < 8 ? n : 8);
    return SyllableKeyOf(word, bytes, n, reading);
}

namespace syllable_cache {

// The key's place in a slot: one word, or two.
template <bool kLong>
struct KeyOfSlot {
    std::atomic<uint64_t> tag;
    bool Holds(const SyllableKey &) const { return true; }
    void Keep(const SyllableKey &) {}
};
template <>
struct KeyOfSlot<true> {
    std::atomic<uint64_t> tag;
    uint64_t rest;
    bool Holds(const SyllableKey &key) const { return rest == key.rest; }
    void Keep(const SyllableKey &key) { rest = key.rest; }
};

}  // namespace syllable_cache

// Value: what is kept of a syllable (trivially copyable; a slot, key and value, is 32 or 64
// bytes); kLong: keys of up to kLongSyllable bytes, else kShortSyllable; Context: what the
// cache works out once from the tables it is made for, beside its results.
template <typename Value, typename Context, bool kLong, unsigned kSlotsLog2>
class SyllableCache {
    struct Slot : syllable_cache::KeyOfSlot<kLong> {
        Value value;
    };
    static_assert(std::is_trivially_copyable<Value>::value && (sizeof(Slot) == 32 || sizeof(Slot) == 64),
                  "a slot is half a cache line or one");

public:
    // The slots start zero (empty), in memory that is taken as it is filled.
    explicit SyllableCache(unsigned generation)
        : generation(generation), context(), slots_(static_cast<Slot *>(std::calloc(kSlots + 1, sizeof(Slot)))) {
        if (!slots_) throw std::bad_alloc();
        // Each slot on a line of its own.
        first_ = reinterpret_cast<Slot *>((reinterpret_cast<uintptr_t>(slots_) + sizeof(Slot) - 1) & ~(sizeof(Slot) - 1));
    }
    ~SyllableCache() { std::free(slots_); }
    SyllableCache(const SyllableCache &) = delete;
    SyllableCache &operator=(const SyllableCache &) = delete;

    const unsigned generation;  // of the conversion tables it was made for
    const Context context;

    const Value *Find(const SyllableKey &key) const {
        for (size_t i = Home(key), probe = 0; probe < kProbes; probe++, i = (i + 1) & (kSlots - 1)) {
            const Slot &slot = first_[i];
            uint64_t tag = slot.tag.load(std::memory_order_acquire);
            if (tag == key.tag && slot.Holds(key)) return &slot.value;
            if (tag == 0) return nullptr;
        }
        return nullptr;
    }

    // Brings the key's first slot near, for a Find soon after.
    void Fetch(const SyllableKey &key) const {
#if defined(__GNUC__)
        __builtin_prefetch(&first_[Home(key)]);
#else
        (void)key;
#endif
    }

    // Keeps a result; a full table keeps nothing more (the caller has its result all the same).
    void Add(const SyllableKey &key, const Value &value) {
        if (used_.load(std::memory_order_relaxed) >= kSlots / 4 * 3) return;
        for (size_t i = Home(key), probe = 0; probe < kProbes; probe++, i = (i + 1) & (kSlots - 1)) {
            Slot &slot = first_[i];
            uint64_t tag = 0;
            if (slot.tag.compare_exchange_strong(tag, kBeingWritten, std::memory_order_acquire)) {
                slot.Keep(key);
                slot.value = value;
                slot.tag.store(key.tag, std::memory_order_release);
                used_.fetch_add(1, std::memory_order_relaxed);
                return;
            }
            if (tag == key.tag && slot.Holds(key)) return;  // another thread was first
        }
    }

private:
    static constexpr size_t kSlots = size_t(1) << kSlotsLog2;
    static constexpr size_t kProbes = 32;
    static constexpr uint64_t kBeingWritten = ~0ull;  // no key has its top bit set

    static size_t Home(const SyllableKey &key) {
        uint64_t h = key.tag;
        if (kLong) h ^= key.rest * 0xC2B2AE3D27D4EB4Full;
        h ^= h >> 29;
        h *= 0x9E3779B97F4A7C15ull;
        return static_cast<size_t>(h >> (64 - kSlotsLog2));
    }

    Slot *slots_, *first_;
    std::atomic<size_t> used_{0};
};

// The cache of a kind for the conversion tables as they are now: made on first use, and made
// afresh when the tables were loaded again.
template <typename Cache>
Cache &CurrentSyllableCache() {
    static std::atomic<Cache *> current{nullptr};
    static std::mutex making;
    static std::vector<std::unique_ptr<Cache>> made;  // set aside, not freed
    unsigned generation = ConversionTablesGeneration.load(std::memory_order_acquire);
    Cache *cache = current.load(std::memory_order_acquire);
    if (cache && cache->generation == generation) return *cache;
    std::lock_guard<std::mutex> lock(making);
    cache = current.load(std::memory_order_acquire);
    if (!cache || cache->generation != generation) {
        made.emplace_back(new Cache(generation));
        cache = made.back().get();
        current.store(cache, std::memory_order_release);
    }
    return *cache;
}
