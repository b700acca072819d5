// The units of ISCII whose typing the quick conversion keeps (iscii_to_glyph.cpp), each typed
// through a composer once, and the syllables the Unicode bridge keeps (TypeIsciiSyllable).
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
#include "iscii_units.h"

#include <cstring>

#include "../base/conversion_data.h"
#include "../compose/layout_data.h"

namespace iscii_units {

UnitStarts::UnitStarts() {
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
        if (c == kIsciiHalant) cls |= kHalant;
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

namespace {

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

}  // namespace

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

}  // namespace iscii_units

using namespace iscii_units;

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
