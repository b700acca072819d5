// The units ISCII to glyph text is put together from, and what typing gives for each (see
// iscii_to_glyph.cpp): shared by the quick conversion and the syllables the Unicode bridge keeps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "iscii.h"
#include "iscii_typing.h"
#include "syllable_cache.h"

namespace iscii_units {


constexpr size_t kUnitBytes = 32;  // the glyph codes a kept unit holds at most
constexpr size_t kShortUnitBytes = 11;
constexpr int kUnitTyping = 32;    // the codes a unit types in all at most, erased ones too
constexpr size_t kLongestWord = size_t(1) << 28;  // past it, the record of typed glyphs restarts

// What typing a unit gave.
struct UnitHead {
    uint8_t length;  // glyph codes typed (left after its own erasures)
    uint8_t erased;  // characters before the unit that it erased (the first of a word only)
    int8_t posted;   // the change of the composer's count of typed glyphs
    uint8_t holds;   // 1: a unit may follow it (its followers are worked out), and it may follow
                     // another unit
};
// ... with room for N glyph codes.
template <size_t N>
struct Unit {
    UnitHead head;
    uint8_t key;  // the key it starts with inside a word (see UnitStarts::KeyAt)
    uint8_t bytes[N];
    uint64_t followers;  // the keys (bits, see UnitStarts) whose unit may follow this one

    template <size_t M>
    void From(const Unit<M> &u) {
        head = u.head;
        key = u.key;
        std::memcpy(bytes, u.bytes, N);
        followers = u.followers;
    }
};
using LongUnit = Unit<kUnitBytes + 3>;
using ShortUnit = Unit<kShortUnitBytes>;  // most units: kShortSyllable codes, kShortUnitBytes glyphs

// The keys a unit starts with, one bit each, and what a composer at a syllable's start does
// with each; what the codes are to the words and units of the text.
struct UnitStarts {
    static constexpr int kNone = 64;
    uint8_t startBit[256];  // the bit of a code's key where it starts a unit, or kNone
    // What a code is to the words and units: [bilingual][keepLetters][code].
    enum : uint8_t {
        kStarts = 1,        // a unit starts at it ...
        kJoinable = 2,      // ... unless the halant is before it
        kTakenAlong = 4,    // ... or the invisible consonant, which takes it along (RA, LLA)
        kEndsWord = 8,      // a code that stands for itself, or a kept letter: a word ends there
        kInvisible = 16,    // the invisible consonant: a start as the code after it says
        kHalant = 32,       // the halant
    };
    uint8_t codeClass[2][2][256];
    uint8_t standing[2][2][256];  // the glyph code of a code that stands for itself
    int keys = 0;
    uint8_t keyOf[64];
    bool vowel[64];
    // The composer at a word's start, and inside a word at a syllable's start (one glyph typed
    // before, no joiner), in each encoding; each of the latter after each key.
    ComposerState wordStart[2], inWord[2];
    struct AfterKey {
        ComposerState state;
        int length;
        uint8_t bytes[kActionBytes];
    } afterKey[2][64];

    UnitStarts();

    // The first key of a unit typed as its code types it (a vowel starts afresh).
    const ComposerActions *Type(ComposerState &s, int bit) const {
        if (vowel[bit]) ResetAllFlags(s);
        return FeedKey(s, keyOf[bit]);
    }

    // Whether a unit starts at s[i] inside a word (i > 0), as Bounds finds it.
    bool StartsUnit(const uint8_t *s, size_t i) const {
        uint8_t c = s[i], before = s[i - 1], k = codeClass[0][0][c];
        if (before == kIsciiHalant && (k & kJoinable)) return false;
        if (k & kInvisible) return KeyAt(s + i) != kNone;
        return (k & kStarts) && !(before == kIsciiInvisible && (k & kTakenAlong));
    }

    // The bit of the key a unit starts with at s[0] (see Bounds), or kNone.
    int KeyAt(const uint8_t *s) const {
        if (s[0] != kIsciiInvisible) return startBit[s[0]];
        uint8_t next = s[1];
        return invisibleWith_[next == 207 ? 1 : next == 210 ? 2 : next == 223 ? 3 : 0];
    }

private:
    uint8_t invisibleWith_[4];
};

struct NoContext {};
using ShortUnits = SyllableCache<ShortUnit, UnitStarts, false, 16>;
using LongUnits = SyllableCache<LongUnit, NoContext, true, 12>;

// Types the n codes of a unit (at the start of a word or inside one); false when its result
// cannot be kept (too long).
bool TypeUnit(const uint8_t *unit, size_t n, bool inWord, bool bilingual, const UnitStarts &starts,
              LongUnit &result);

}  // namespace iscii_units
