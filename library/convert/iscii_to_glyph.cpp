// ISCII to glyph text the quick way: what typing gives for each syllable is worked out once
// and kept (syllable_cache.h); the text is put together from those results wherever they
// stand for what typing the whole text gives, and typed plainly (iscii_typing.h) elsewhere.
//
// Where a syllable's result stands for itself. The text is typed in words: between two codes
// that end the syllable (ASCII that is no letter, a kept letter, a digit, ...) the composer
// starts afresh, as at the start of the text: what it keeps beyond that (older keys, history
// rows, the base of a halant, glyphs typed before) it reads only after typing them again. A
// word is cut into units, each starting at a consonant that no halant joins to the one before,
// or at a vowel, whose first key starts a syllable. The first unit of a word is typed from a
// fresh composer. A later one is typed from a composer as it stands at a syllable's start (a
// boundary, nothing pending, the keys before no halant), and its result holds in the word when
// the composer after its first key reads the same as that one would, in everything the rest of
// the unit can read of it (the state, the last key, whether the key before it was the halant
// key, the conjunct, the pending output, the halant's base where the state reads it, the last
// output row after "R"), and that key's text is the same: the unit before records, for each
// first key, whether this holds after it (a conjunct is taken back and typed again whole, which
// leaves the same text). A later unit must not erase past its own start, nor type so much that
// the record of typed glyphs wraps.
#include <algorithm>
#include <cstring>
#include <string>

#include "../base/conversion_data.h"
#include "../compose/layout_data.h"
#include "byte_lanes.h"
#include "iscii.h"
#include "iscii_typing.h"
#include "syllable_cache.h"

#if defined(__GNUC__)
#define CONVERT_OUT_OF_LINE __attribute__((noinline))
#else
#define CONVERT_OUT_OF_LINE
#endif

namespace {

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

    UnitStarts() {
        uint8_t bitOfSwara[256], bitOfVyanjana[256];
        std::memset(bitOfSwara, kNone, sizeof bitOfSwara);
        std::memset(bitOfVyanjana, kNone, sizeof bitOfVyanjana);
        for (int k = 1; k < 256 && keys < 64; k++) {
            if (k == 'X' || k == ' ') continue;
            bool swara = FindSwaraRow(k) != 0, vyanjana = FindVyanjanaRow(k) != 0;
            if (!swara && !vyanjana) continue;
            (swara ? bitOfSwara : bitOfVyanjana)[k] = static_cast<uint8_t>(keys);
            keyOf[keys] = static_cast<uint8_t>(k);
            vowel[keys] = swara;
            keys++;
        }
        const uint8_t *strokeKey = ConversionLookup.strokeKey;
        for (int code = 0; code < 256; code++) {
            uint8_t c = static_cast<uint8_t>(code);
            bool consonant = IsIsciiConsonant(c);
            startBit[c] = c >= 164 && c <= 177 ? bitOfSwara[strokeKey[c]]
                          : consonant           ? bitOfVyanjana[strokeKey[c]]
                                                : kNone;
            uint8_t cls = startBit[c] != kNone ? kStarts : 0;
            if (consonant || c == kIsciiInvisible) cls |= kJoinable;
            if (c == 207 || c == 210) cls |= kTakenAlong;
            if (c == kIsciiInvisible) cls |= kInvisible;
            for (int b = 0; b < 2; b++)
                for (int k = 0; k < 2; k++) {
                    bool ends = IsAsciiLetter(c) ? LetterCodeOf(c, b != 0, k != 0) != 0 : PlainCodeOf(c) != 0;
                    codeClass[b][k][c] = cls | (ends ? kEndsWord : 0);
                    uint8_t code = IsAsciiLetter(c) ? LetterCodeOf(c, b != 0, k != 0) : PlainCodeOf(c);
                    standing[b][k][c] = b ? ConversionLookup.mono2Bilingual[code] : code;
                }
        }
        invisibleWith_[0] = bitOfVyanjana[strokeKey[kIsciiInvisible]];
        invisibleWith_[1] = bitOfVyanjana[strokeKey[207]];
        invisibleWith_[2] = bitOfVyanjana[strokeKey[210]];
        invisibleWith_[3] = bitOfVyanjana[strokeKey[223]];
        for (int b = 0; b < 2; b++) {
            wordStart[b] = TypingComposer(b != 0);
            EndTypedSyllable(wordStart[b]);
            inWord[b] = wordStart[b];
            inWord[b].postedGlyphs[0] = 80;  // a consonant's glyph, no joiner
            inWord[b].postedCount = 1;
            for (int k = 0; k < keys; k++) {
                AfterKey &a = afterKey[b][k];
                a.state = inWord[b];
                const ComposerActions *typed = Type(a.state, k);
                a.length = typed && typed->erase == 0 ? typed->insertLength : typed ? -1 : 0;
                if (typed) std::memcpy(a.bytes, typed->insert, static_cast<size_t>(typed->insertLength));
            }
        }
    }

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
using ShortUnits = SyllableCache<ShortUnit, UnitStarts, false, 15>;
using LongUnits = SyllableCache<LongUnit, NoContext, true, 12>;

// Whether a composer reads the same as another in everything the rest of a unit can read.
bool ReadsAlike(const ComposerState &a, const ComposerState &b) {
    if (a.state != b.state || a.recentKeys[0] != b.recentKeys[0] || a.conjCount != b.conjCount) return false;
    if ((a.recentKeys[1] == 'f') != (b.recentKeys[1] == 'f')) return false;
    if (a.state == kStateExtended && a.recentKeys[1] != b.recentKeys[1]) return false;
    if (std::memcmp(a.conjGlyphs, b.conjGlyphs, sizeof a.conjGlyphs) != 0) return false;
    if (std::memcmp(a.outBuf, b.outBuf, sizeof a.outBuf) != 0) return false;
    bool halantRead = a.state == kStateHalant || a.state == kStateConjunct || a.state == kStateExtendedHalant ||
                      a.state == kStateExtendedChain;
    if (halantRead && a.halantBase != b.halantBase) return false;
    return a.recentKeys[0] != 'R' || a.history[0][1] == b.history[0][1];
}

// The keys whose unit may follow a unit that left the composer `end` after typing `bytes`.
uint64_t Followers(const ComposerState &end, const uint8_t *bytes, int length, bool bilingual,
                   const UnitStarts &starts) {
    uint64_t followers = 0;
    for (int k = 0; k < starts.keys; k++) {
        const UnitStarts::AfterKey &alone = starts.afterKey[bilingual][k];
        if (alone.length < 0) continue;
        ComposerState s = end;
        const ComposerActions *typed = starts.Type(s, k);
        int erase = typed ? typed->erase : 0, inserted = typed ? typed->insertLength : 0;
        // What it erased of the unit before, it typed again, then what it types alone.
        if (erase > length || inserted != erase + alone.length) continue;
        if (typed && (std::memcmp(typed->insert, bytes + length - erase, static_cast<size_t>(erase)) != 0 ||
                      std::memcmp(typed->insert + erase, alone.bytes, static_cast<size_t>(alone.length)) != 0))
            continue;
        if (ReadsAlike(s, alone.state)) followers |= 1ull << k;
    }
    return followers;
}

// Where a unit's typing goes.
struct UnitText {
    uint8_t bytes[kUnitBytes];
    int length = 0, erased = 0, typed = 0;
    bool overflow = false;
    void Apply(const ComposerActions &a) {
        for (int i = 0; i < a.erase; i++) length > 0 ? length-- : erased++;
        typed += a.erase + a.insertLength;
        if (length + a.insertLength > static_cast<int>(kUnitBytes)) {
            overflow = true;
            return;
        }
        std::memcpy(bytes + length, a.insert, static_cast<size_t>(a.insertLength));
        length += a.insertLength;
    }
};

// Types the n codes of a unit (at the start of a word or inside one); false when its result
// cannot be kept (too long).
bool TypeUnit(const uint8_t *unit, size_t n, bool inWord, bool bilingual, const UnitStarts &starts,
              LongUnit &result) {
    if (n > kLongSyllable) return false;
    uint8_t codes[kLongSyllable + 4] = {};  // codes[0]: the code before, no halant; a NUL after
    std::memcpy(codes + 1, unit, n);
    ComposerState s = inWord ? starts.inWord[bilingual] : starts.wordStart[bilingual];
    int posted = s.postedCount;
    UnitText text;
    for (size_t i = 1; i <= n;) {
        const uint8_t *p = codes + i;
        if (IsAsciiLetter(*p)) {  // a letter dropped from the text
            i++;
            continue;
        }
        i += TypeCode(s, p, p[-1] == kIsciiHalant, text);
    }
    if (text.overflow || text.erased > 255) return false;
    std::memset(&result, 0, sizeof result);
    result.head.length = static_cast<uint8_t>(text.length);
    result.head.erased = static_cast<uint8_t>(text.erased);
    result.head.posted = static_cast<int8_t>(s.postedCount - posted);
    result.head.holds = text.typed < kUnitTyping && (!inWord || text.erased == 0);
    std::memcpy(result.bytes, text.bytes, kUnitBytes);
    result.followers = result.head.holds ? Followers(s, text.bytes, text.length, bilingual, starts) : 0;
    int key = starts.KeyAt(codes + 1);  // the code after the invisible consonant is in the unit, or takes no part
    result.key = static_cast<uint8_t>(key == UnitStarts::kNone ? 0 : key);
    if (inWord && key == UnitStarts::kNone) result.head.holds = 0;  // no unit starts so inside a word
    return true;
}

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

bool TypeIsciiSyllable(const uint8_t *iscii, size_t n, bool bilingual, IsciiSyllable &typed, uint8_t *glyphs,
                       size_t room) {
    const UnitStarts &starts = CurrentSyllableCache<ShortUnits>().context;
    uint8_t codes[64] = {};  // a NUL after them, for the look-ahead of the keys
    if (n == 0 || n >= sizeof codes) return false;
    std::memcpy(codes, iscii, n);
    typed.apart = false;
    if (n == 1 && !IsAsciiLetter(codes[0]) && PlainCodeOf(codes[0])) {
        // A code that stands for itself ends the syllable before it, and the next starts afresh.
        uint8_t code = PlainCodeOf(codes[0]);
        glyphs[0] = bilingual ? ConversionLookup.mono2Bilingual[code] : code;
        typed.apart = true;
        typed.firstKey = 0;
        typed.followersFirst = typed.followersInWord = 0;
        typed.endsJoinable = true;
        typed.length = 1;
        return room >= 1;
    }
    for (size_t i = 0; i < n; i++)
        if (starts.codeClass[bilingual][1][codes[i]] & UnitStarts::kEndsWord) return false;
    typed.firstKey = starts.KeyAt(codes);
    if (typed.firstKey == UnitStarts::kNone) return false;
    // The units as a word's start types them and as the inside of a word does: the same but for
    // the composer before the first.
    uint64_t followers[2] = {~0ull, ~0ull};  // of the unit before, in each
    size_t length = 0;
    LongUnit unit[2];
    for (size_t i = 0; i < n;) {
        size_t start = i;
        int key = starts.KeyAt(codes + i);
        for (i++; i < n && !starts.StartsUnit(codes, i);) i++;
        for (int inWord = 0; inWord < 2; inWord++) {
            bool word = start == 0 && !inWord;  // the word's start
            if (!TypeUnit(codes + start, i - start, !word, bilingual, starts, unit[inWord])) return false;
            const UnitHead &h = unit[inWord].head;
            if (!h.holds || h.erased || h.posted < 0 || !(followers[inWord] >> key & 1)) return false;
            followers[inWord] = unit[inWord].followers;
        }
        if (std::memcmp(&unit[0].head, &unit[1].head, sizeof(UnitHead)) != 0 ||
            std::memcmp(unit[0].bytes, unit[1].bytes, unit[0].head.length) != 0 || length + unit[0].head.length > room)
            return false;
        std::memcpy(glyphs + length, unit[0].bytes, unit[0].head.length);
        length += unit[0].head.length;
    }
    typed.length = length;
    typed.followersFirst = followers[0];
    typed.followersInWord = followers[1];
    typed.endsJoinable = codes[n - 1] != kIsciiHalant && codes[n - 1] != kIsciiInvisible;
    return true;
}

void TypeIsciiQuickly(uint8_t *iscii, size_t n, bool bilingual, bool keepLetters, bool rewriteLetters,
                      TypedText &out) {
    QuickTyping(iscii, n, bilingual, keepLetters, rewriteLetters, out).Run();
}

void IsciiToGlyphString(char *src, bool bilingual, bool keepLetters, bool rewriteLetters, std::string &out) {
    out.clear();
    TypedText glyphs(out, 0);
    TypeIsciiQuickly(reinterpret_cast<uint8_t *>(src), std::strlen(src), bilingual, keepLetters, rewriteLetters,
                     glyphs);
}
