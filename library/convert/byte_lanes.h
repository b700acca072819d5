// Eight bytes at a time in a 64-bit word ("lanes"), for the scans of the converters that
// look for a few rare codes: a test gives 0x80 in each lane that passes it and 0 elsewhere,
// exactly in every lane (no carry or borrow crosses from one lane into the next).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// The per-glyph steps of the converters are inlined into their loops, and the rare paths
// kept out of them.
#if defined(__GNUC__)
#define CONVERT_INLINE inline __attribute__((always_inline))
#define CONVERT_OUT_OF_LINE __attribute__((noinline))
#else
#define CONVERT_INLINE inline
#define CONVERT_OUT_OF_LINE
#endif

namespace lanes {

constexpr uint64_t kOnes = 0x0101010101010101ull;
constexpr uint64_t kHigh = 0x8080808080808080ull;
constexpr uint64_t kLow = 0x7F7F7F7F7F7F7F7Full;

// Whether lane i holds the byte at address + i (shifting a word left by 8 then moves each
// lane onto the byte after it). Where it does not, the scans take one byte at a time.
#if defined(__BYTE_ORDER__) && defined(__ORDER_LITTLE_ENDIAN__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
constexpr bool kInMemoryOrder = true;
#else
constexpr bool kInMemoryOrder = false;
#endif

inline uint64_t Load(const uint8_t *p) {
    uint64_t word;
    std::memcpy(&word, p, 8);
    return word;
}

// The lanes that hold b.
inline uint64_t Equal(uint64_t word, uint8_t b) {
    uint64_t t = word ^ (b * kOnes);
    return ~(((t & kLow) + kLow) | t) & kHigh;
}

// The lanes below n, for n from 1 to 128.
inline uint64_t Below(uint64_t word, unsigned n) { return ~(((word & kLow) + (128 - n) * kOnes) | word) & kHigh; }

// The lanes from `low` to `high`, a range of at most 128 values.
inline uint64_t InRange(uint64_t word, uint8_t low, uint8_t high) {
    // Each lane minus `low`, modulo 256: the high bit set first so that the low seven bits
    // never borrow from the next lane, then put right.
    uint64_t bLow = low * kOnes;
    uint64_t offset = ((word | kHigh) - (bLow & kLow)) ^ ((word ^ ~bLow) & kHigh);
    return Below(offset, static_cast<unsigned>(high - low) + 1);
}

// The index of the lowest set bit of a non-zero word (a lane that passed a test is at
// LowestBit / 8).
inline size_t LowestBit(uint64_t bits) {
#if defined(__GNUC__)
    return static_cast<size_t>(__builtin_ctzll(bits));
#else
    size_t bit = 0;
    for (; !(bits & 1); bits >>= 1) bit++;
    return bit;
#endif
}

}  // namespace lanes
