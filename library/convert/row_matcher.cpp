// The longest match of glyph text against the table rows: at each position the longest glyph
// sequence that a row of two to five glyphs holds gives its ISCII columns, else the glyph
// alone gives its own. The plain scan of the tables serves short text; long text takes its
// rows from a matcher built for the call, which compares the rows that start with one glyph
// side by side.
#include <cstring>

#include "../base/conversion_data.h"
#include "byte_lanes.h"
#include "iscii.h"

namespace {

using lanes::LowestBit;


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

}  // namespace

size_t MatchGlyphsToIscii(const uint8_t *s, size_t n, LatinCodes latin, uint8_t *out) {
    MatchReading r(latin);
    IsciiWriter writer{out};
    if (n >= kMatcherGlyphs) MatchEntries(s, n, r, writer);
    else MatchGlyphs(s, n, r, writer);
    out[writer.k] = 0;
    return writer.k;
}

size_t CountIsciiOfGlyphs(const uint8_t *s, size_t n, LatinCodes latin) {
    MatchReading r(latin);
    IsciiCounter counter;
    if (n >= kMatcherGlyphs) MatchEntries(s, n, r, counter);
    else MatchGlyphs(s, n, r, counter);
    return counter.k;
}
