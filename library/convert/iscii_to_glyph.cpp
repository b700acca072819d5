// ISCII to glyph text the quick way: what typing gives for each unit of a syllable is worked
// out once and kept (iscii_units.h, syllable_cache.h); the text is put together from those
// results wherever they stand for what typing the whole text gives, and typed plainly
// (iscii_typing.h) elsewhere.
#include <algorithm>
#include <cstring>
#include <string>

#include "../base/conversion_data.h"
#include "byte_lanes.h"
#include "byte_table.h"
#include "iscii.h"
#include "iscii_typing.h"
#include "iscii_units.h"
#include "syllable_cache.h"

namespace {

using namespace iscii_units;

// Where the units and words of a text start: a unit at a vowel, or at a consonant that no
// halant joins to the one before and that is no RA or LLA the invisible consonant takes along,
// whose key starts a syllable; a word after a code that ends one, which is a piece of its own.
// Worked out 64 codes at a time, without branches.
class Bounds {
public:
    Bounds(const uint8_t *s, size_t length, const UnitStarts &starts, const uint8_t *codeClass)
        : s_(s), length_(length), starts_(starts), class_(codeClass) {}

    // The first start after p, or the length.
    size_t After(size_t p) {
        for (size_t q = p + 1; q < length_;) {
            size_t block = q & ~size_t(63);
            if (block != block_) Work(block);
            if (uint64_t later = bits_ >> (q - block)) return q + lanes::LowestBit(later);
            q = block + 64;
        }
        return length_;
    }

private:
    void Work(size_t block) {
        using U = UnitStarts;
        using namespace lanes;
        block_ = block;
        uint64_t bits = 0;
        const uint8_t *s = s_, *cls = class_;
        size_t end = std::min(block + 64, length_), j = block;
        unsigned before = block ? s[block - 1] : 0;
        unsigned beforeClass = block ? cls[before] : unsigned(U::kEndsWord);
        uint64_t with[8];  // the codes whose class has each bit
        if (TableBits(cls, s + block, end - block, with)) {
            // 64 at a time: each test one bit a code.
            uint64_t afterHalant = with[5] << 1 | (before == kIsciiHalant);
            uint64_t afterInvisible = with[4] << 1 | (before == kIsciiInvisible);
            uint64_t afterEnd = with[3] << 1 | ((beforeClass & U::kEndsWord) ? 1 : 0);
            bits = (with[0] & ~(with[1] & afterHalant) & ~(with[2] & afterInvisible)) | with[3] | afterEnd;
            for (uint64_t v = with[4]; v; v &= v - 1) {  // the invisible consonant: as the code after it says
                size_t e = LowestBit(v);
                bool at = !(afterHalant >> e & 1) && starts_.KeyAt(s + block + e) != U::kNone;
                at = at || (afterEnd >> e & 1);
                bits = (bits & ~(uint64_t(1) << e)) | (uint64_t(at) << e);
            }
            bits_ = end - block == 64 ? bits : bits & ((uint64_t(1) << (end - block)) - 1);
            return;
        }
        if (kInMemoryOrder)
            for (; j + 8 <= end; j += 8) {
                // Eight at a time: the classes in lanes, the tests in bit 0 of each.
                uint64_t codes = Load(s + j), k = 0;
                for (int e = 7; e >= 0; e--) k = k << 8 | cls[s[j + e]];
                uint64_t previous = codes << 8 | before, previousClass = k << 8 | beforeClass;
                uint64_t afterHalant = Equal(previous, kIsciiHalant) >> 7, afterInvisible = Equal(previous, kIsciiInvisible) >> 7;
                uint64_t starts = k & ~((k >> 1) & afterHalant) & ~((k >> 2) & afterInvisible);
                starts = (starts | (k >> 3) | (previousClass >> 3)) & kOnes;
                uint8_t eight = static_cast<uint8_t>((starts * 0x0102040810204080ull) >> 56);
                if ((k >> 4) & kOnes) {  // the invisible consonant: as the code after it says
                    for (int e = 0; e < 8; e++)
                        if (cls[s[j + e]] & U::kInvisible) {
                            bool at = (e ? s[j + e - 1] : before) != kIsciiHalant && starts_.KeyAt(s + j + e) != U::kNone;
                            at = at || ((e ? cls[s[j + e - 1]] : beforeClass) & U::kEndsWord);
                            eight = static_cast<uint8_t>((eight & ~(1u << e)) | (at ? 1u << e : 0));
                        }
                }
                bits |= static_cast<uint64_t>(eight) << (j - block);
                before = s[j + 7];
                beforeClass = cls[before];
            }
        for (; j < end; j++) {
            unsigned c = s[j], k = cls[c];
            unsigned starts = k & ~((k >> 1) & (before == kIsciiHalant)) & ~((k >> 2) & (before == kIsciiInvisible));
            if (k & U::kInvisible) starts = (before != kIsciiHalant) & (starts_.KeyAt(s + j) != U::kNone);
            starts |= (k | beforeClass) >> 3;  // the first code of a word, and one that ends a word
            bits |= static_cast<uint64_t>(starts & 1) << (j - block);
            before = c;
            beforeClass = k;
        }
        bits_ = bits;
    }

    const uint8_t *s_;
    size_t length_;
    const UnitStarts &starts_;
    const uint8_t *class_;
    size_t block_ = ~size_t(0);
    uint64_t bits_ = 0;
};

// ISCII to glyph text, unit by unit. The text goes word by word: a word's first unit is read
// as the start of a word, the others inside one, each while the unit before lets it follow.
class QuickTyping {
public:
    QuickTyping(uint8_t *s, size_t length, bool bilingual, bool keepLetters, bool rewriteLetters, TypedText &out)
        : s_(s), length_(length), bilingual_(bilingual), keepLetters_(keepLetters), rewriteLetters_(rewriteLetters),
          units_(CurrentSyllableCache<ShortUnits>()), starts_(units_.context),
          class_(starts_.codeClass[bilingual][keepLetters]), standing_(starts_.standing[bilingual][keepLetters]),
          bounds_(s, length, starts_, class_), out_(out) {}

    void Run() {
        // The loop's state in locals (the output could alias members), put back for Elsewhere.
        const unsigned encoding = bilingual_ ? 1 : 0;
        const uint8_t *cls = class_;
        const uint8_t *s = s_;
        const size_t length = length_;
        size_t word = 0;
        uint64_t followers = 0;
        for (size_t p = 0, q; p < length; p = q) {
            q = bounds_.After(p);
            if (cls[s[p]] & UnitStarts::kEndsWord) {
                Stand(p);
                word = q;
                continue;
            }
            bool inWord = p != word;
            size_t n = q - p;
            uint64_t first = 0;
            if (p + 8 <= length + 1) std::memcpy(&first, s + p, 8);
            else std::memcpy(&first, s + p, std::min<size_t>(n, 8));
            const ShortUnit *unit = nullptr;
            if (n <= kShortSyllable) unit = units_.Find(SyllableKeyOf(first, s + p, n, encoding | (inWord ? 2 : 0)));
            bool holds = unit && (inWord ? unit->head.holds && (followers >> unit->key & 1) && p - word <= kLongestWord
                                         : unit->head.erased == 0);
            if (!holds) {
                word_ = word;
                followers_ = followers;
                q = Elsewhere(p, q, first);
                word = word_;
                followers = followers_;
                continue;
            }
            if (!inWord) wordOutput_ = out_.length;
            // Copied whole, of which its length stand (its codes, then its followers).
            std::memcpy(out_.Room(kUnitBytes), unit->bytes, kShortUnitBytes + 5);
            out_.length += unit->head.length;
            // A first unit that erased more than it typed leaves no following unit its place.
            followers = unit->head.posted >= 0 ? unit->followers : 0;
        }
    }

private:
    // A code that stands for itself.
    void Stand(size_t p) {
        uint8_t c = s_[p];
        if (rewriteLetters_ && IsAsciiLetter(c)) s_[p] = LetterCodeOf(c, bilingual_, keepLetters_);
        out_.Push(standing_[c]);
    }

    // The unit s[p, q) where no short unit's result holds as it is: a long unit, one typed now,
    // one that erases before its word, or one whose result does not hold here, whose word is
    // then typed plainly. Returns where the text goes on.
    CONVERT_OUT_OF_LINE size_t Elsewhere(size_t p, size_t q, uint64_t first) {
        bool inWord = p != word_;
        size_t n = q - p;
        unsigned reading = (bilingual_ ? 1 : 0) | (inWord ? 2 : 0);
        SyllableKey name = SyllableKeyOf(first, s_ + p, std::min(n, kLongSyllable), reading);
        const LongUnit *unit = nullptr;
        if (!inWord) wordOutput_ = out_.length;
        if (erasedFor_ != word_) erased_.clear();  // it was the first unit of another word's
        bool found = n <= kLongSyllable && FindUnit(name, s_ + p, n, reading, unit);
        bool holds = found && (inWord ? unit->head.holds && (followers_ >> starts_.KeyAt(s_ + p) & 1) &&
                                            p - word_ <= kLongestWord
                                      : true);
        if (!holds) {
            out_.length = wordOutput_;
            for (char e : erased_) out_.Push(static_cast<uint8_t>(e));
            for (q = p; q < length_ && !(class_[s_[q]] & UnitStarts::kEndsWord);) q++;
            TypeIscii(s_ + word_, q - word_, bilingual_, false, false, out_);
            return q;
        }
        if (!inWord && unit->head.erased) {
            size_t erase = std::min<size_t>(unit->head.erased, out_.length - out_.floor);
            erased_.assign(out_.text, out_.length - erase, erase);
            erasedFor_ = word_;
            out_.length -= erase;
            wordOutput_ = out_.length;
        }
        std::memcpy(out_.Room(kUnitBytes), unit->bytes, kUnitBytes);
        out_.length += unit->head.length;
        followers_ = inWord || unit->head.posted >= 0 ? unit->followers : 0;
        return q;
    }

    // The unit of n codes at s, kept or typed now (and kept); false when it cannot be kept.
    bool FindUnit(const SyllableKey &key, const uint8_t *s, size_t n, unsigned reading, const LongUnit *&found) {
        LongUnits &longUnits = CurrentSyllableCache<LongUnits>();
        if (n > kShortSyllable && (found = longUnits.Find(key))) return true;
        if (!TypeUnit(s, n, reading & 2, reading & 1, starts_, typed_)) return false;
        if (n <= kShortSyllable && typed_.head.length <= kShortUnitBytes) {
            ShortUnit unit;
            unit.From(typed_);
            units_.Add(key, unit);
        } else {
            longUnits.Add(key, typed_);
        }
        found = &typed_;
        return true;
    }

    uint8_t *s_;
    size_t length_;
    bool bilingual_, keepLetters_, rewriteLetters_;
    ShortUnits &units_;
    const UnitStarts &starts_;
    const uint8_t *class_, *standing_;
    Bounds bounds_;
    TypedText &out_;
    // The word being typed: where it starts in the text and in the output, what its first unit
    // erased before it, and the keys whose unit may follow the last unit.
    size_t word_ = 0, wordOutput_ = 0;
    std::string erased_;
    size_t erasedFor_ = ~size_t(0);  // the word whose first unit erased what erased_ holds
    uint64_t followers_ = 0;
    LongUnit typed_;
};

}  // namespace

void TypeIsciiQuickly(uint8_t *iscii, size_t n, bool bilingual, bool keepLetters, bool rewriteLetters,
                      TypedText &out) {
    QuickTyping(iscii, n, bilingual, keepLetters, rewriteLetters, out).Run();
}

void IsciiToGlyphString(char *src, bool bilingual, bool keepLetters, bool rewriteLetters, std::string &out) {
    size_t n = std::strlen(src);
    // Room made once for what most text gives (about a glyph code for each ISCII code).
    out.resize(n + n / 4 + 64);
    TypedText glyphs(out, 0);
    glyphs.length = 0;
    TypeIsciiQuickly(reinterpret_cast<uint8_t *>(src), n, bilingual, keepLetters, rewriteLetters, glyphs);
}
