// The normalisation of monolingual glyph text before it is read as ISCII: the joiners go, the
// pieces of a vowel sign stand in front of the subscripts typed before them, the halant glyph
// after a subscript, the length mark in front of the nukta glyph. The plain algorithm (three
// passes over every position) serves short text; long text takes the same passes in segments,
// eight positions tested at a time, the later passes only near what the one before changed.
#include <algorithm>
#include <cstring>

#include "../base/glyph_classes.h"
#include "byte_lanes.h"
#include "iscii.h"

namespace {

using lanes::LowestBit;

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

// The plain algorithm: the joiners out, then three passes, each taking the rules at every
// position in turn (on the glyphs as the rules before left them).
size_t NormalisePlainly(const uint8_t *src, size_t n, uint8_t *s) {
    size_t m = 0;
    for (size_t i = 0; i < n; i++) {
        uint8_t g = src[i];
        s[m] = g;
        m += !IsJoinerGlyph(g);
    }
    s[m] = 0;
    for (int pass = 0; pass < 3; pass++)
        for (size_t j = 0; j < m; j++)
            if (Is(s[j], kReordered)) NormaliseAt(s, j);
    return m;
}

// Below this many glyphs the plain algorithm is as quick.
constexpr size_t kPlainGlyphs = 32;

}  // namespace

size_t NormaliseGlyphs(uint8_t *s, size_t n) { return NormaliseGlyphs(s, n, s); }

size_t NormaliseGlyphs(const uint8_t *src, size_t n, uint8_t *s) {
    if (n < kPlainGlyphs) return NormalisePlainly(src, n, s);
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
