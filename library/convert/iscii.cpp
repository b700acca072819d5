// Glyph strings to ISCII and back, and the four exports with their twins.
#include "iscii.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "../base/conversion_data.h"
#include "../base/glyph_classes.h"
#include "../base/last_error.h"
#include "../compose/composer.h"
#include "../include/kannada-tovi.h"
#include "byte_lanes.h"
#include "results.h"

namespace {

// The per-glyph steps of the converters are inlined into their loops, and the rare paths
// kept out of them.
#if defined(__GNUC__)
#define CONVERT_INLINE inline __attribute__((always_inline))
#define CONVERT_OUT_OF_LINE __attribute__((noinline))
#else
#define CONVERT_INLINE inline
#define CONVERT_OUT_OF_LINE
#endif

constexpr uint8_t kHalantGlyph = 239;
constexpr uint8_t kNuktaGlyph = 251;
constexpr uint8_t kLengthMark = 195;

// Glyph classes the normalisation looks at.
enum : uint8_t {
    kSubscript = 1,     // 204-238
    kSignPiece = 2,     // 195, 248, 200, 202: go in front of a subscript
    kRotatedPiece = 4,  // 248, 202, 200: go in front of two subscripts
    kReordered = 8,     // a glyph that can start a reordering: a subscript or the nukta glyph
};

struct GlyphClasses {
    uint8_t of[256];
    // What a glyph can be in a change, for a quick test of whether a pass changes anything at
    // a position: where it starts (1 a subscript, 2 the nukta glyph), and after that glyph
    // (1 a sign piece or subscript, 2 the length mark).
    uint8_t startsAt[256];
    uint8_t follows[256];
    constexpr GlyphClasses() : of(), startsAt(), follows() {
        for (int g = 204; g <= 238; g++) of[g] = kSubscript | kReordered;
        of[kLengthMark] = kSignPiece;
        of[248] = of[200] = of[202] = kSignPiece | kRotatedPiece;
        of[kNuktaGlyph] = kReordered;
        for (int g = 0; g < 256; g++) {
            startsAt[g] = (of[g] & kSubscript) ? 1 : 0;
            follows[g] = (of[g] & (kSignPiece | kSubscript)) ? 1 : 0;
        }
        startsAt[kNuktaGlyph] = 2;
        follows[kLengthMark] |= 2;
    }
};
constexpr GlyphClasses kClass;

inline bool Is(uint8_t g, uint8_t cls) { return (kClass.of[g] & cls) != 0; }

// One position of a normalisation pass, at a glyph that can start a change; s[n] is the
// terminator, which matches nothing. Reads s[j - 1] .. s[j + 2] (s[j + 2] only when s[j + 1]
// is a subscript) and writes only there.
// Returns whether anything moved.
inline bool NormaliseAt(uint8_t *s, size_t j) {
    bool moved = false;
    if (Is(s[j], kSubscript) && Is(s[j + 1], kSignPiece)) {
        std::swap(s[j], s[j + 1]);
        moved = true;
    }
    if (Is(s[j], kSubscript) && Is(s[j + 1], kSubscript) && Is(s[j + 2], kRotatedPiece)) {
        uint8_t c = s[j + 2];
        s[j + 2] = s[j + 1];
        s[j + 1] = s[j];
        s[j] = c;
        moved = true;
    }
    if (j >= 1 && Is(s[j], kSubscript) && s[j - 1] == kHalantGlyph) {
        std::swap(s[j - 1], s[j]);
        moved = true;
    }
    if (s[j] == kNuktaGlyph && s[j + 1] == kLengthMark) {
        std::swap(s[j], s[j + 1]);
        moved = true;
    }
    return moved;
}

// The positions where a normalisation pass changed something, in increasing order. Past its
// room it only notes that it overflowed: the next pass then looks everywhere, which gives the
// same as looking near the changes.
struct ChangedPositions {
    static constexpr size_t kRoom = 512;
    size_t at[kRoom];
    size_t count = 0;
    bool overflowed = false;
    void Add(size_t j) {
        if (count < kRoom) at[count++] = j;
        else overflowed = true;
    }
    bool Empty() const { return count == 0 && !overflowed; }
    void Clear() {
        count = 0;
        overflowed = false;
    }
};

// One position of the first pass, tested first for what NormaliseAt needs to change anything
// there: a subscript before a sign piece or subscript or after the halant glyph, or the nukta
// glyph before the length mark.
inline void FirstPassAt(uint8_t *s, size_t j, ChangedPositions &changed) {
    uint8_t before = j ? s[j - 1] : 0;
    if ((kClass.startsAt[s[j]] & (kClass.follows[s[j + 1]] | (before == kHalantGlyph))) && NormaliseAt(s, j))
        changed.Add(j);
}

// The positions of eight from s + j on where that test passes.
inline uint64_t MayChange(const uint8_t *s, size_t j) {
    using namespace lanes;
    uint64_t here = Load(s + j), next = Load(s + j + 1), before = Load(s + j - 1);
    uint64_t subscript = InRange(here, 204, 238);
    uint64_t lengthMark = Equal(next, kLengthMark);
    uint64_t follows = InRange(next, 204, 238) | lengthMark | Equal(next, 200) | Equal(next, 202) | Equal(next, 248);
    return (subscript & (follows | Equal(before, kHalantGlyph))) | (Equal(here, kNuktaGlyph) & lengthMark);
}

// The lowest set bit of a non-zero word.
inline size_t LowestBit(uint64_t bits) {
#if defined(__GNUC__)
    return static_cast<size_t>(__builtin_ctzll(bits));
#else
    size_t bit = 0;
    for (; !(bits & 1); bits >>= 1) bit++;
    return bit;
#endif
}

// Whether no rule of the normalisation reads or moves g (see NormaliseGlyphs).
inline bool EndsSegment(uint8_t g) { return kClass.of[g] == 0 && g != kHalantGlyph; }

// The length of the segments that NormaliseGlyphs works on.
constexpr size_t kSegmentGlyphs = 4096;

// A whole pass over s[0 .. m), eight positions at a time: only those that pass the test
// take the rules (nothing changes at the others), and after each the rest of the eight are
// tested again, as a change may have moved glyphs there.
void FullPass(uint8_t *s, size_t m, ChangedPositions &changed) {
    size_t j = 0;
    if (lanes::kInMemoryOrder && m > 0) {
        FirstPassAt(s, 0, changed);
        // s[j + 8] is at most the glyph after the segment or the terminator.
        for (j = 1; j + 8 <= m; j += 8)
            for (uint64_t may = MayChange(s, j); may;) {
                size_t e = LowestBit(may) / 8;
                FirstPassAt(s, j + e, changed);
                if (e == 7) break;
                may = MayChange(s, j) & (~0ull << (8 * (e + 1)));
            }
    }
    for (; j < m; j++) FirstPassAt(s, j, changed);
}

// A pass after one that changed something. A change at j writes positions j - 1 .. j + 2,
// which only the rules at j - 3 .. j + 3 read: the pass looks only there (and further on
// while it changes something itself), which gives what a full pass would.
void PassNearChanges(uint8_t *s, size_t m, const ChangedPositions &before, ChangedPositions &changed) {
    if (before.overflowed) return FullPass(s, m, changed);
    size_t from = 0;
    for (size_t i = 0; i < before.count; i++) {
        size_t c = before.at[i];
        size_t j = std::max(from, c >= 3 ? c - 3 : 0);
        size_t last = c + 3;
        for (; j <= last && j < m; j++)
            if (Is(s[j], kReordered) && NormaliseAt(s, j)) {
                changed.Add(j);
                last = std::max(last, j + 3);
            }
        from = j;
    }
}

// Passes two and three of the normalisation, after the first pass noted its changes.
void LaterPasses(uint8_t *s, size_t m, ChangedPositions &first) {
    if (first.Empty()) return;
    ChangedPositions second;
    PassNearChanges(s, m, first, second);
    if (second.Empty()) return;
    first.Clear();
    PassNearChanges(s, m, second, first);
}

// Appends the non-zero ISCII columns of matched rows. A single glyph's entry is written as
// three bytes of which its count stand: the output has room for three per glyph.
struct IsciiWriter {
    uint8_t *out;
    size_t k = 0;
    void Put(uint8_t c) {
        out[k] = c;
        k += c != 0;
    }
    void PutSingle(const uint8_t *entry) {
        std::memcpy(out + k, entry + 1, 3);
        k += entry[0];
    }
    void PutEntry(const uint8_t *entry) { PutSingle(entry); }
};
struct IsciiCounter {
    size_t k = 0;
    void Put(uint8_t c) { k += c != 0; }
    void PutSingle(const uint8_t *entry) { k += entry[0]; }
    void PutEntry(const uint8_t *entry) { k += entry[0]; }
};

template <size_t Glyphs, size_t Rows>
const uint8_t *MatchRow(const uint8_t (&table)[Rows][Glyphs + 2], const uint8_t *s) {
    for (size_t r = 1; r < Rows; r++)
        if (std::memcmp(table[r], s, Glyphs) == 0) return table[r] + Glyphs;
    return nullptr;
}

// The first row of five, four or three glyphs (longest first) that matches at s, where a row
// of the tables starting with s[0] s[1] has the bit of its length in `starts` (as in
// glyphPairRows); `left` glyphs from s, s[left] the terminator. Sets `used` to its length;
// null when none does.
const uint8_t *ScanLongerRows(const ConversionTables &t, uint8_t starts, const uint8_t *s, size_t left,
                              size_t &used) {
    const uint8_t *iscii = nullptr;
    if ((starts & 4) && left >= 5 && (iscii = MatchRow<5>(t.fiveGlyph, s))) used = 5;
    else if ((starts & 2) && left >= 4 && (iscii = MatchRow<4>(t.fourGlyph, s))) used = 4;
    else if ((starts & 1) && left >= 3 && (iscii = MatchRow<3>(t.threeGlyph, s))) used = 3;
    return iscii;
}

// What the longest match gives at a position, as an entry of kEntrySize bytes: the count of
// ISCII bytes, the bytes (three places) and the number of glyphs taken.
constexpr size_t kEntrySize = 8;

// Sets the number of glyphs of an entry whose count and bytes are set.
inline void FinishEntry(uint8_t *entry, size_t glyphs) { entry[4] = static_cast<uint8_t>(glyphs); }

// The rows of two to five glyphs for a long text, built from the tables when its conversion
// starts, so that a position that starts a row is matched without scanning the tables and
// with few branches. Most such positions are decided by their first three glyphs, looked up
// in a small table. For the others, the rows of three to five glyphs that start with one
// glyph stand side by side in the eight lanes of a few words, in the order of the scan (the
// rows of five, then four, then three glyphs, each table from row 1): all are compared at
// once, and the lowest lane that matches is the row the scan finds first.
class RowMatcher {
public:
    RowMatcher(const ConversionTables &t, const uint8_t (*single)[4]) {
        std::memset(slotOf_, 0, sizeof slotOf_);
        slot_[0] = Slot();
        for (int g = 0; g < 256; g++) {
            std::memcpy(single_[g], single[g], 4);
            FinishEntry(single_[g], 1);
        }
        for (int r = 0; r <= kTwoGlyphRows; r++) Entry(t.twoGlyph[r] + 2, 2, twoGlyph_[r]);
        auto add = [&](const uint8_t *glyphs, int length) {
            uint8_t first = glyphs[0];
            if (first == 0 || slotOf_[first] == kTooMany) return;  // no string holds glyph 0
            if (slotOf_[first] == 0) {
                slotOf_[first] = static_cast<uint8_t>(++slots_);
                slot_[slots_] = Slot();
            }
            Slot &slot = slot_[slotOf_[first]];
            if (slot.lanes == 8) {
                slotOf_[first] = kTooMany;
                return;
            }
            int shift = 8 * slot.lanes;
            for (int c = 1; c < length; c++) slot.glyph[c - 1] |= static_cast<uint64_t>(glyphs[c]) << shift;
            slot.ofLength[length - 3] |= 0x80ull << shift;
            Entry(glyphs + length, length, slot.entry[slot.lanes]);
            slot.lanes++;
        };
        for (int r = 1; r <= kFiveGlyphRows; r++) add(t.fiveGlyph[r], 5);
        for (int r = 1; r <= kFourGlyphRows; r++) add(t.fourGlyph[r], 4);
        for (int r = 1; r <= kThreeGlyphRows; r++) add(t.threeGlyph[r], 3);
        // The first three glyphs of the same rows, in the same order.
        std::memset(tripleKey_, 0, sizeof tripleKey_);
        std::memset(tripleKind_, 0, sizeof tripleKind_);
        auto addTriple = [&](const uint8_t *glyphs, int length) {
            for (int c = 0; c < length; c++)
                if (glyphs[c] == 0) return;  // no string holds glyph 0: the row never matches
            // The longer rows come first: a row of three glyphs finds their triples taken,
            // and a later row of three with the same glyphs never matches first.
            uint32_t key = TripleKey(glyphs);
            size_t at = TripleAt(key);
            if (tripleKind_[at] == kNoTriple) {
                tripleKey_[at] = key;
                tripleKind_[at] = length == 3 ? kThreeGlyphRow : kLongerRow;
                if (length == 3) Entry(glyphs + 3, 3, tripleEntry_[at]);
            } else if (tripleKey_[at] != key) {
                tripleKind_[at] = kSharedPlace;
            }
        };
        for (int r = 1; r <= kFiveGlyphRows; r++) addTriple(t.fiveGlyph[r], 5);
        for (int r = 1; r <= kFourGlyphRows; r++) addTriple(t.fourGlyph[r], 4);
        for (int r = 1; r <= kThreeGlyphRows; r++) addTriple(t.threeGlyph[r], 3);
    }

    // As Match, through the first three glyphs where they decide: most positions that start
    // a row of three glyphs or more match no such row, or only one of three glyphs.
    CONVERT_INLINE const uint8_t *MatchQuickly(const uint8_t *s, size_t left, uint8_t starts) const {
        uint32_t key = TripleKey(s);  // s[2] is at most the terminator, which no row holds
        size_t at = TripleAt(key);
        uint8_t kind = tripleKind_[at];
        bool found = tripleKey_[at] == key;
        if (kind == kSharedPlace || (found && (kind == kLongerRow || !(starts & 1) || left < 3)))
            return Match(s, left, starts);
        const uint8_t *shorter = (starts & 8) ? twoGlyph_[ConversionLookup.twoGlyphRow[s[0]][s[1]]] : single_[s[0]];
        return found ? tripleEntry_[at] : shorter;
    }

    // What matches at s, a position whose glyph pair has the row bits `starts` (not 0) in
    // glyphPairRows: the entry (count, then the ISCII bytes, then the number of glyphs it
    // takes) of the longest row, or of the glyph alone. `left` glyphs from s (at least 2),
    // s[left] the terminator. Null for a glyph that starts too many rows: the tables are
    // scanned for it. Which of the three it is varies too freely to predict: all are worked
    // out, and one is chosen without branches.
    CONVERT_OUT_OF_LINE const uint8_t *Match(const uint8_t *s, size_t left, uint8_t starts) const {
        uint8_t slotNumber = slotOf_[s[0]];
        if (slotNumber == kTooMany) return nullptr;
        const Slot &slot = slot_[slotNumber];
        // A row counts only when the string holds all its glyphs (s[2] is at most the
        // terminator) and the pair has the bit of its length.
        uint8_t third = s[2];
        uint8_t fourth = left > 3 ? s[3] : 0;
        uint8_t fifth = left > 4 ? s[4] : 0;
        uint64_t fits = (slot.ofLength[0] & (0 - static_cast<uint64_t>((left >= 3) & starts))) |
                        (slot.ofLength[1] & (0 - static_cast<uint64_t>((left >= 4) & (starts >> 1)))) |
                        (slot.ofLength[2] & (0 - static_cast<uint64_t>((left >= 5) & (starts >> 2))));
        using lanes::Equal;
        uint64_t match = fits & Equal(slot.glyph[0], s[1]) & Equal(slot.glyph[1], third) &
                         (Equal(slot.glyph[2], fourth) | slot.ofLength[0]) &
                         (Equal(slot.glyph[3], fifth) | slot.ofLength[0] | slot.ofLength[1]);
        const uint8_t *shorter = (starts & 8) ? twoGlyph_[ConversionLookup.twoGlyphRow[s[0]][s[1]]] : single_[s[0]];
        const uint8_t *longer = slot.entry[LowestBit(match | 0x8000000000000000ull) / 8];
        return match ? longer : shorter;
    }

    // The entry of a glyph alone.
    const uint8_t *Single(uint8_t g) const { return single_[g]; }

private:
    static constexpr uint8_t kTooMany = 255;  // a first glyph of more than eight rows

    struct Slot {
        uint64_t glyph[4] = {};     // the second to fifth glyphs of the rows, one lane each
        uint64_t ofLength[3] = {};  // 0x80 in the lanes of the rows of three, four, five glyphs
        uint8_t entry[8][kEntrySize] = {};
        int lanes = 0;
    };

    // The entry of two ISCII columns: their count, the non-zero ones, the glyphs taken.
    static void Entry(const uint8_t *iscii, int glyphs, uint8_t *entry) {
        std::memset(entry, 0, kEntrySize);
        for (int c = 0; c < 2; c++)
            if (iscii[c]) entry[1 + entry[0]++] = iscii[c];
        FinishEntry(entry, glyphs);
    }

    // The first three glyphs of a row as a key (never 0), and its place in the table.
    static uint32_t TripleKey(const uint8_t *glyphs) {
        return glyphs[0] | static_cast<uint32_t>(glyphs[1]) << 8 | static_cast<uint32_t>(glyphs[2]) << 16 | 1u << 24;
    }
    static size_t TripleAt(uint32_t key) { return (key * 2654435761u) >> 24; }
    enum : uint8_t { kNoTriple, kThreeGlyphRow, kLongerRow, kSharedPlace };

    uint32_t tripleKey_[256];
    uint8_t tripleKind_[256];  // kThreeGlyphRow: the first such row is tripleEntry_
    uint8_t tripleEntry_[256][kEntrySize];
    uint8_t slotOf_[256];  // 0: no row of three glyphs or more starts with the glyph
    int slots_ = 0;
    Slot slot_[kFiveGlyphRows + kFourGlyphRows + kThreeGlyphRows + 1];
    uint8_t twoGlyph_[kTwoGlyphRows + 1][kEntrySize];
    uint8_t single_[256][kEntrySize];
};

// From this many glyphs on, a conversion builds the row matcher.
constexpr size_t kMatcherGlyphs = 128;

// No Latin-letter code is a letter here.
constexpr uint8_t kNoLetters[256] = {};

// How the longest match reads the Latin-letter codes, and the entries of single glyphs.
struct MatchReading {
    const uint8_t *letters;  // the letter of a code, 0 none
    const uint8_t (*single)[4];
    int vocalicRr;  // the glyph that starts the vocalic RR vowel in the bridge, 256 elsewhere

    explicit MatchReading(LatinCodes latin) {
        const ConversionIndex &x = ConversionLookup;
        const bool bilingual = latin == LatinCodes::kLetters || latin == LatinCodes::kBridge;
        const bool bridge = latin == LatinCodes::kUnambiguous || latin == LatinCodes::kBridge;
        letters = bilingual ? x.letterOfLatinCode
                  : latin == LatinCodes::kUnambiguous ? x.letterOfPlainLatinCode
                                                      : kNoLetters;
        single = x.singleGlyphIscii[bilingual ? 1 : 0];
        vocalicRr = bridge ? 73 : 256;
    }

    // Whether the glyph at s[0] is anything but its own entry: a letter, the vocalic RR
    // vowel, or the start of a row of two glyphs or more with the glyph after it (s[1], at
    // most the terminator).
    CONVERT_INLINE unsigned Special(const uint8_t *s) const {
        uint8_t g = s[0];
        return ConversionLookup.glyphPairRows[g][s[1]] | letters[g] | (g == vocalicRr);
    }
};

// The longest match at a position: what the glyph at s[0] and those after it give (`left`
// glyphs from s, s[left] the terminator), through `sink`; returns the number of glyphs taken.
template <typename Sink>
size_t MatchAt(const uint8_t *s, size_t left, const MatchReading &r, Sink &sink) {
    const ConversionIndex &x = ConversionLookup;
    const ConversionTables &t = Conversion;
    uint8_t g = s[0];
    if (g == r.vocalicRr && s[1] == 198) {
        sink.Put(170);
        sink.Put(kIsciiNukta);
        return 2;
    }
    if (r.letters[g]) {
        sink.Put(r.letters[g]);
        return 1;
    }
    // s[left] is the terminator, which no row holds.
    if (uint8_t starts = x.glyphPairRows[g][s[1]]) {
        size_t used = 0;
        const uint8_t *iscii = (starts & 7) ? ScanLongerRows(t, starts, s, left, used) : nullptr;
        if (!iscii && (starts & 8)) {
            iscii = t.twoGlyph[x.twoGlyphRow[g][s[1]]] + 2;
            used = 2;
        }
        if (iscii) {
            sink.Put(iscii[0]);
            sink.Put(iscii[1]);
            return used;
        }
    }
    sink.PutSingle(r.single[g]);
    return 1;
}

// Gathers what MatchAt gives into an entry.
struct EntryWriter {
    uint8_t *entry;
    void Put(uint8_t c) {
        entry[1 + entry[0]] = c;
        entry[0] += c != 0;
    }
    void PutSingle(const uint8_t *single) { std::memcpy(entry, single, 4); }
};

// The entry of a special position (see MatchReading::Special): the matcher's where it has
// one, else worked out into `room`.
CONVERT_OUT_OF_LINE const uint8_t *EntryAt(const uint8_t *s, size_t left, const MatchReading &r,
                                           const RowMatcher &matcher, uint8_t *room) {
    uint8_t g = s[0];
    uint8_t starts = ConversionLookup.glyphPairRows[g][s[1]];
    if (starts && !r.letters[g] && g != r.vocalicRr)
        if (const uint8_t *entry = matcher.MatchQuickly(s, left, starts)) return entry;
    std::memset(room, 0, kEntrySize);
    EntryWriter writer{room};
    FinishEntry(room, MatchAt(s, left, r, writer));
    return room;
}

// The longest match over a long text, through the matcher, entry by entry into `sink`.
template <typename Sink>
void MatchEntries(const uint8_t *s, size_t n, const MatchReading &reading, Sink &to) {
    RowMatcher matcher(Conversion, reading.single);
    // Copies of their own, which the output cannot overlap: they stay in registers.
    const MatchReading r = reading;
    Sink sink = to;
    uint8_t room[kEntrySize];
    // Whether a glyph is special whatever follows it: a letter, or the start of the vocalic RR.
    uint8_t alone[256];
    for (int g = 0; g < 256; g++) alone[g] = r.letters[g] != 0 || g == r.vocalicRr;
    const uint8_t(*pairs)[256] = ConversionLookup.glyphPairRows;
    for (size_t j = 0; j < n;) {
        // As MatchReading::Special (s[j + 1] is at most the terminator): most glyphs are their
        // own entry.
        uint8_t g = s[j];
        uint8_t starts = pairs[g][s[j + 1]];
        if (!(starts | alone[g])) {
            sink.PutEntry(matcher.Single(g));
            j++;
            continue;
        }
        const uint8_t *entry = alone[g] ? nullptr : matcher.MatchQuickly(s + j, n - j, starts);
        if (!entry) entry = EntryAt(s + j, n - j, r, matcher, room);
        sink.PutEntry(entry);
        j += entry[4];
    }
    to = sink;
}

// The longest match: at each position the longest glyph sequence that a table row holds.
template <typename Sink>
void MatchGlyphs(const uint8_t *s, size_t n, const MatchReading &reading, Sink &to) {
    // Copies of their own, which the output cannot overlap: they stay in registers.
    const MatchReading r = reading;
    Sink sink = to;
    for (size_t j = 0; j < n;) {
        // Most glyphs are their own entry.
        if (!r.Special(s + j)) {
            sink.PutSingle(r.single[s[j]]);
            j++;
        } else {
            j += MatchAt(s + j, n - j, r, sink);
        }
    }
    to = sink;
}

// ISCII order: a vowel sign travels behind the consonants that a halant joins to its
// consonant, and the nukta goes in front of a sign or halant. One step per position, from
// position 1 on, each on the bytes as the steps before left them; out[k] is 0.
inline void OrderAt(uint8_t *out, size_t l) {
    if (out[l] == kIsciiHalant && out[l - 1] >= 218 && out[l - 1] <= 230 && IsIsciiConsonant(out[l + 1])) {
        uint8_t sign = out[l - 1];
        out[l - 1] = kIsciiHalant;
        out[l] = out[l + 1];
        out[l + 1] = sign;
    }
    if (out[l] == kIsciiNukta && out[l - 1] >= 218 && out[l - 1] <= 232) std::swap(out[l - 1], out[l]);
}

// The positions of eight from out + l on where a step can move something: a halant after a
// sign, or a nukta.
inline uint64_t MayMove(const uint8_t *out, size_t l) {
    uint64_t here = lanes::Load(out + l), before = lanes::Load(out + l - 1);
    return (lanes::Equal(here, kIsciiHalant) & lanes::InRange(before, 218, 230)) | lanes::Equal(here, kIsciiNukta);
}

void OrderIscii(uint8_t *out, size_t k) {
    size_t l = 1;
    if (lanes::kInMemoryOrder) {
        // Eight positions at a time: only those that pass the test take the step (the others
        // move nothing), and after each the rest of the eight are tested again, as the step
        // may have changed them.
        for (; l + 8 <= k; l += 8)
            for (uint64_t moves = MayMove(out, l); moves;) {
                size_t e = LowestBit(moves) / 8;
                OrderAt(out, l + e);
                if (e == 7) break;
                moves = MayMove(out, l) & (~0ull << (8 * (e + 1)));
            }
    }
    for (; l < k; l++) OrderAt(out, l);
}

LatinCodes Latin(bool bilingual) { return bilingual ? LatinCodes::kLetters : LatinCodes::kDropped; }

// The glyph strings whose ISCII a conversion puts aside without an allocation.
constexpr size_t kShortAside = 256;

// Glyph to ISCII into the caller's dst. `terminatorCounted` gives the monolingual export's
// result (output length + 1); the bilingual one returns the length and fails on no output.
int GlyphToIsciiExport(char *src, char *dst, unsigned int dstSize, bool bilingual) {
    if (!CheckConverterArguments(src, dstSize)) return 0;
    size_t n = std::strlen(src);
    if (bilingual) ToviBilingual2MonolingualGlyph(src, src, static_cast<unsigned int>(n + 3));
    uint8_t *s = reinterpret_cast<uint8_t *>(src);
    n = NormaliseGlyphs(s, std::strlen(src));
    size_t k;
    bool fits = true;
    if (!dst) {
        k = CountIsciiOfGlyphs(s, n, Latin(bilingual));
    } else if (dstSize > kIsciiPerGlyph * n) {
        k = NormalisedGlyphsToIscii(s, n, Latin(bilingual), reinterpret_cast<uint8_t *>(dst));
    } else {
        // The output might not fit: convert aside (on the stack for a short string) and copy
        // only when it does, so nothing is ever written past dstSize.
        uint8_t shortAside[kIsciiPerGlyph * kShortAside + 1];
        std::unique_ptr<uint8_t[]> longAside(n > kShortAside ? new uint8_t[kIsciiPerGlyph * n + 1] : nullptr);
        uint8_t *aside = longAside ? longAside.get() : shortAside;
        k = NormalisedGlyphsToIscii(s, n, Latin(bilingual), aside);
        fits = k < dstSize;
        if (fits) std::memcpy(dst, aside, k + 1);
        else LibraryLastError = kErrorDestinationSize;
    }
    if (bilingual) ToviMonolingual2BilingualGlyph(src, src, static_cast<unsigned int>(n + 3));
    if (!fits) return 0;
    if (!bilingual) return ResultCount(k + 1);
    if (k == 0) {
        LibraryLastError = kErrorNoOutput;
        return 0;
    }
    return ResultCount(k);
}

// Ends the syllable being composed, before a character that is not a letter of the layout:
// what the composer typed for it is final.
void EndSyllable(ComposerState &s) {
    PushKey(s, kStateBoundary, ' ');
    ResetAllFlags(s);
    s.postedCount = 0;
}

// ISCII to glyph into the caller's dst; the result is the output length.
int IsciiToGlyphExport(char *src, char *dst, unsigned int dstSize, bool bilingual) {
    if (!CheckConverterArguments(src, dstSize)) return 0;
    try {
        std::string glyphs;
        IsciiToGlyphString(src, bilingual, bilingual, bilingual, glyphs);
        if (!DeliverResult(glyphs, dst, dstSize)) return 0;
        return ResultCount(glyphs.size());
    } catch (const std::bad_alloc &) {
        LibraryLastError = kErrorNoMemory;
        return 0;
    }
}

}  // namespace

namespace {

// The keys that type the ISCII code at p as a writer types it (zero-terminated in `keys`),
// and how many codes they take. Most codes are one key. The invisible consonant with RA, LLA
// or the vocalic R sign is that key with "X" (RRA, U+0CDE, the vocalic RR sign). The nukta
// glyph goes on a consonant once its syllable has its vowel sign, so a nukta before a sign is
// typed after it; on a subscript without a sign it stands after the syllable. The consonants
// whose "X" makes a letter of its own (r, L, j, P) take it first when they start a syllable.
size_t KeysOf(const uint8_t *p, bool afterHalant, uint8_t keys[4]) {
    const ConversionIndex &x = ConversionLookup;
    uint8_t c = p[0];
    keys[0] = x.strokeKey[c];
    keys[1] = 0;
    if (c == kIsciiInvisible && (p[1] == 207 || p[1] == 210 || p[1] == 223)) {
        keys[0] = x.strokeKey[p[1]];
        keys[1] = 'X';
        keys[2] = 0;
        return 2;
    }
    if (!IsIsciiConsonant(c) || p[1] != kIsciiNukta || !keys[0]) return 1;
    bool subscript = afterHalant;
    bool ownLetter = keys[0] == 'r' || keys[0] == 'L' || keys[0] == 'j' || keys[0] == 'P';
    if (subscript || !ownLetter) {
        uint8_t sign = p[2];
        if (IsIsciiVowelSign(sign) && sign != 223 && x.strokeKey[sign]) {
            keys[1] = x.strokeKey[sign];
            keys[2] = 'X';
            keys[3] = 0;
            return 3;
        }
        if (subscript) {
            keys[1] = ' ';  // the syllable ends; "X" on its own adds the nukta glyph
            keys[2] = 'X';
            keys[3] = 0;
            return 2;
        }
    }
    return 1;
}

}  // namespace

void IsciiToGlyphString(char *src, bool bilingual, bool keepLetters, bool rewriteLetters, std::string &out) {
    const ConversionIndex &x = ConversionLookup;
    // A composer of the conversion's own, typing in the output encoding with typing's joiners;
    // the key engine off.
    ComposerState composer = NewComposerState();
    composer.options.bilingual = bilingual;
    out.clear();
    auto encode = [&](uint8_t code) { return static_cast<char>(bilingual ? x.mono2Bilingual[code] : code); };
    for (uint8_t *p = reinterpret_cast<uint8_t *>(src); *p; p++) {
        uint8_t c = *p;
        if (IsAsciiLetter(c)) {
            // A letter is no key of the layout here: it ends the syllable and stands for
            // itself. A letter without a row is dropped.
            uint8_t code = x.monoOfLetter[c];
            if (!keepLetters || !code) continue;
            // Monolingual text cannot hold the letters whose codes are Kannada glyphs as well.
            if (!bilingual && !x.letterOfPlainLatinCode[code]) continue;
            if (rewriteLetters) *p = code;
            EndSyllable(composer);
            out.push_back(encode(code));
            continue;
        }
        uint8_t plain = 0;
        if ((c >= 1 && c <= 64) || (c >= 91 && c <= 96) || (c >= 123 && c <= 126)) plain = c;
        else if (c >= 241 && c <= 250) plain = static_cast<uint8_t>(c - 193);  // ISCII digits
        else if (c == 199) plain = 242;  // NA with halant has a glyph of its own
        else if (c == 234) plain = '.';
        if (plain) {
            EndSyllable(composer);
            out.push_back(encode(plain));
            continue;
        }
        if (IsIsciiVowel(c) && c <= 177) ResetAllFlags(composer);
        // The record of typed glyphs stays far from overflowing in a text without a break.
        if (composer.postedCount > (1 << 30)) composer.postedCount = 0;
        uint8_t keys[4];
        p += KeysOf(p, p > reinterpret_cast<uint8_t *>(src) && p[-1] == kIsciiHalant, keys) - 1;
        for (const uint8_t *key = keys; *key; key++) {
            const ComposerActions *typed = FeedKey(composer, *key);
            if (!typed) continue;
            // An erasure takes back the character typed before it; with nothing before it, it
            // erases nothing.
            for (int i = 0; i < typed->erase && !out.empty(); i++) out.pop_back();
            out.append(reinterpret_cast<const char *>(typed->insert), static_cast<size_t>(typed->insertLength));
        }
    }
}

size_t NormaliseGlyphs(uint8_t *s, size_t n) { return NormaliseGlyphs(s, n, s); }

size_t NormaliseGlyphs(const uint8_t *src, size_t n, uint8_t *s) {
    // The joiners go. Eight glyphs at a time while none of them is a joiner (246, 247): the
    // eight are read before they are written, and never ahead of the reading, so s may be src.
    size_t m = 0, i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t eight;
        std::memcpy(&eight, src + i, 8);
        uint64_t x = (eight & 0xFEFEFEFEFEFEFEFEull) ^ 0xF6F6F6F6F6F6F6F6ull;  // a zero byte: a joiner
        if ((x - 0x0101010101010101ull) & ~x & 0x8080808080808080ull) {
            for (size_t e = i; e < i + 8; e++) {
                uint8_t g = src[e];
                s[m] = g;
                m += !IsJoinerGlyph(g);
            }
            continue;
        }
        std::memcpy(s + m, &eight, 8);
        m += 8;
    }
    for (; i < n; i++) {
        uint8_t g = src[i];
        s[m] = g;
        m += !IsJoinerGlyph(g);
    }
    s[m] = 0;
    // Three passes: the first looks everywhere, the others only near what the one before
    // changed. No rule reads or moves a glyph that is no subscript, sign piece, halant or
    // nukta glyph, nor reaches across one: the string is normalised in segments that end
    // after such a glyph, each with its own list of changes.
    for (size_t start = 0; start < m;) {
        size_t end = start + kSegmentGlyphs;
        if (end >= m) {
            end = m;
        } else {
            size_t cut = end;
            while (cut > start && !EndsSegment(s[cut - 1])) cut--;
            if (cut > start) end = cut;
            else
                while (end < m && !EndsSegment(s[end - 1])) end++;
        }
        ChangedPositions changed;
        FullPass(s + start, end - start, changed);
        LaterPasses(s + start, end - start, changed);
        start = end;
    }
    return m;
}

size_t NormalisedGlyphsToIscii(const uint8_t *s, size_t n, LatinCodes latin, uint8_t *out) {
    MatchReading r(latin);
    IsciiWriter writer{out};
    if (n >= kMatcherGlyphs) MatchEntries(s, n, r, writer);
    else MatchGlyphs(s, n, r, writer);
    out[writer.k] = 0;
    OrderIscii(out, writer.k);
    return writer.k;
}

size_t CountIsciiOfGlyphs(const uint8_t *s, size_t n, LatinCodes latin) {
    MatchReading r(latin);
    IsciiCounter counter;
    if (n >= kMatcherGlyphs) MatchEntries(s, n, r, counter);
    else MatchGlyphs(s, n, r, counter);
    return counter.k;
}

bool GlyphStringToIscii(char *src, bool bilingual, std::unique_ptr<uint8_t[]> &iscii, size_t &length) {
    size_t n = std::strlen(src);
    if (bilingual) ToviBilingual2MonolingualGlyph(src, src, static_cast<unsigned int>(n + 3));
    uint8_t *s = reinterpret_cast<uint8_t *>(src);
    n = NormaliseGlyphs(s, std::strlen(src));
    iscii.reset(new uint8_t[kIsciiPerGlyph * n + 1]);
    length = NormalisedGlyphsToIscii(s, n, Latin(bilingual), iscii.get());
    if (bilingual) {
        ToviMonolingual2BilingualGlyph(src, src, static_cast<unsigned int>(n + 3));
        if (length == 0) {
            LibraryLastError = kErrorNoOutput;
            return false;
        }
    }
    return true;
}

bool DeliverResult(const std::string &result, char *dst, unsigned int dstSize) {
    if (!dst) return true;
    if (result.size() >= dstSize) {
        LibraryLastError = kErrorDestinationSize;
        return false;
    }
    std::memcpy(dst, result.data(), result.size());
    dst[result.size()] = '\0';
    return true;
}

extern "C" {

int TOVI_CDECL ToviMonolingualGlyph2ISCII(char *src, char *dst, unsigned int dstSize) {
    try {
        return GlyphToIsciiExport(src, dst, dstSize, false);
    } catch (const std::bad_alloc &) {
        LibraryLastError = kErrorNoMemory;
        return 0;
    }
}

int TOVI_CDECL ToviBilingualGlyph2ISCII(char *src, char *dst, unsigned int dstSize) {
    try {
        return GlyphToIsciiExport(src, dst, dstSize, true);
    } catch (const std::bad_alloc &) {
        LibraryLastError = kErrorNoMemory;
        return 0;
    }
}

int TOVI_CDECL ToviISCII2MonolingualGlyph(const char *src, char *dst, unsigned int dstSize) {
    // The monolingual conversion leaves its source as it is.
    if (!CheckConverterArguments(src, dstSize)) return 0;
    try {
        std::string copy(src);
        return IsciiToGlyphExport(&copy[0], dst, dstSize, false);
    } catch (const std::bad_alloc &) {
        LibraryLastError = kErrorNoMemory;
        return 0;
    }
}

int TOVI_CDECL ToviISCII2BilingualGlyph(char *src, char *dst, unsigned int dstSize) {
    return IsciiToGlyphExport(src, dst, dstSize, true);
}

char *TOVI_STDCALL ToviMonolingualGlyph2ISCIIVB(char *src) {
    return RunTwin(src, kIsciiResult, true, ToviMonolingualGlyph2ISCII);
}

char *TOVI_STDCALL ToviBilingualGlyph2ISCIIVB(char *src) {
    return RunTwin(src, kIsciiResult, true, ToviBilingualGlyph2ISCII);
}

char *TOVI_STDCALL ToviISCII2MonolingualGlyphVB(char *src) {
    return RunTwin(src, kGlyphResult, true, [](char *s, char *d, unsigned int size) {
        return ToviISCII2MonolingualGlyph(s, d, size);
    });
}

char *TOVI_STDCALL ToviISCII2BilingualGlyphVB(char *src) {
    return RunTwin(src, kGlyphResult, true, ToviISCII2BilingualGlyph);
}

}  // extern "C"
