// Glyph text to UTF-8 Kannada. The plain steps (glyph_plain_steps.h): the bilingual glyphs
// mapped to monolingual ones (monolingual glyphs read as the keyboard types them), the
// normalisation, the longest match to ISCII, the ISCII order, ISCII to UTF-8. Text goes in
// pieces that end after ASCII that is no letter, which nothing reaches across.
//
// The quick way: the UTF-8 of a syllable is worked out once and kept (syllable_cache.h), and a
// piece is put together from its syllables wherever no step reaches across the place where two
// meet. A syllable starts at a glyph that no step reads together with the glyph before it: no
// joiner (nor one before it, in bilingual text, where a joiner's form depends on the glyph after
// it), no subscript, sign piece, halant or nukta glyph, length mark, stem or vocalic RR piece,
// no glyph that a table row holds after its first glyph (nor the bilingual sign that takes
// another form after some consonants). Where two syllables meet, the steps on ISCII and UTF-8
// must not reach across either: the ISCII of the first must not end in the halant (a shown
// halant reads the consonant after it, the ISCII order moves a sign across it), the invisible
// consonant or the attribute code, and that of the second must start where a cluster starts or
// one ends (a consonant, a vowel, ASCII; not a sign, modifier, nukta, halant or the repha, which
// belong to the cluster before). Where they do, the two are read as one.
#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <new>

#include "../base/conversion_data.h"
#include "../base/glyph_classes.h"
#include "../base/last_error.h"
#include "../include/kannada-tovi.h"
#include "iscii.h"
#include "results.h"
#include "byte_lanes.h"
#include "byte_table.h"
#include "glyph_plain_steps.h"
#include "syllable_cache.h"
#include "unicode.h"

namespace {

// A glyph that no normalisation, table row, ordering or repha reaches across: ASCII other
// than letters. Glyph text is converted in pieces that end after one, so the work stays in
// the cache; the result is the same as in one piece.
bool EndsPiece(uint8_t g) { return (g >= 1 && g <= 64) || (g >= 91 && g <= 96) || (g >= 123 && g <= 126); }

constexpr size_t kPieceSize = 16384;

// A syllable's UTF-8, and whether it may follow another and be followed.
constexpr size_t kSyllableUtf8 = 46;
struct GlyphSyllable {
    uint8_t length;
    uint8_t joins;  // kMayFollow | kMayBeFollowed
    uint8_t utf8[kSyllableUtf8];
};
enum : uint8_t {
    kMayFollow = kIsciiMayFollow,
    kMayBeFollowed = kIsciiMayBeFollowed,
    kStartsApart = 4,  // its first glyph is ASCII that is no letter: nothing reads across it
    kEndsApart = 8,    // ... its last
};

// Whether two syllables are read as they are, one after the other.
inline bool Join(uint8_t first, uint8_t second) {
    return ((first & kMayBeFollowed) && (second & kMayFollow)) || (first & kEndsApart) || (second & kStartsApart);
}

// How a syllable joins others: as its ISCII does, or apart where it starts or ends with ASCII
// that is no letter.
uint8_t JoinsOf(uint8_t isciiJoins, const uint8_t *glyphs, size_t n) {
    uint8_t joins = isciiJoins;
    if (EndsPiece(glyphs[0])) joins |= kStartsApart;
    if (EndsPiece(glyphs[n - 1])) joins |= kEndsApart;
    return joins;
}

// Where syllables start in monolingual glyph text, read as itself or as bilingual text:
// [fromBilingual][glyph].
struct GlyphStarts {
    enum : uint8_t {
        kStarts = 1,     // a syllable starts at the glyph
        kApart = 4,      // ASCII that is no letter: a syllable of its own
        kReadApart = 8,  // no step on glyphs reads the glyph with the one before it
    };
    uint8_t glyphClass[2][256];
    GlyphStarts() {
        const ConversionTables &t = Conversion;
        const ConversionIndex &x = ConversionLookup;
        bool rowTail[256] = {};
        auto tails = [&](const uint8_t *row, int glyphs) {
            for (int g = 0; g < glyphs; g++)
                if (row[g] == 0) return;  // an empty row
            for (int g = 1; g < glyphs; g++) rowTail[row[g]] = true;
        };
        for (int r = 1; r <= kTwoGlyphRows; r++) tails(t.twoGlyph[r], 2);
        for (int r = 1; r <= kThreeGlyphRows; r++) tails(t.threeGlyph[r], 3);
        for (int r = 1; r <= kFourGlyphRows; r++) tails(t.fourGlyph[r], 4);
        for (int r = 1; r <= kFiveGlyphRows; r++) tails(t.fiveGlyph[r], 5);
        // A glyph the steps read apart from the glyph before it; a syllable starts at one whose
        // ISCII alone may follow another (most that do not would be read as one with the
        // syllable before anyway).
        auto apart = [&](int g) {
            return g != 0 && !rowTail[g] && !(g >= 195 && g <= 202 && g != 196 && g != 197 && g != 199 && g != 201) &&
                   !(g >= 204 && g <= 239) && !(g >= 245 && g <= 251);
        };
        for (int g = 0; g < 256; g++)
            for (int b = 0; b < 2; b++) {
                const uint8_t *alone = x.singleGlyphIscii[b][g];
                bool mayFollow = (IsciiJoins(alone + 1, alone[0]) & kMayFollow) != 0;
                glyphClass[b][g] = (apart(g) ? kReadApart : 0) | (apart(g) && mayFollow ? kStarts : 0) |
                                   (EndsPiece(static_cast<uint8_t>(g)) ? kApart : 0);
            }
    }
};

using GlyphSyllables = SyllableCache<GlyphSyllable, GlyphStarts, true, 16>;

// A piece of glyph text to UTF-8, syllable by syllable.
class QuickPiece {
public:
    // The text ends with a NUL at `end`.
    QuickPiece(bool bilingual, PlainSteps &steps, const uint8_t *end)
        : bilingual_(bilingual), steps_(steps), cache_(CurrentSyllableCache<GlyphSyllables>()),
          class_(cache_.context.glyphClass[bilingual]), end_(end) {}

    // The UTF-8 of the m glyphs at s into `out`, with room for kUnicodePerIscii *
    // kIsciiPerGlyph * m + kSyllableUtf8 bytes; returns its length.
    size_t Convert(const uint8_t *s, size_t m, uint8_t *out) {
        const uint8_t *start = out;
        block_ = ~size_t(0);
        // The syllable held back, until it is known whether the next one joins it: from s[held]
        // its UTF-8 at `out` (what comes before is final).
        size_t held = 0, heldLength = 0;
        uint8_t heldJoins = 0;
        size_t j = NextStart(s, m, 0);
        SyllableKey key = KeyOf(s, std::min(j, kLongSyllable));
        bool first = true;  // the syllable at i follows nothing it could join
        for (size_t i = 0, k; i < m; i = j, j = k) {
            // The slot of the syllable after this one is fetched while this one is read.
            k = NextStart(s, m, j);
            SyllableKey next = KeyOf(s + j, std::min(k - j, kLongSyllable));
            cache_.Fetch(next);
            uint8_t joins;
            size_t length = Syllable(key, s + i, j - i, out + heldLength, joins);
            key = next;
            if (first || Join(heldJoins, joins)) {
                out += heldLength;  // the syllable held is final
                held = i;
                heldLength = length;
                heldJoins = joins;
                first = false;
            } else {
                // Read as one with it.
                heldLength = Syllable(KeyOf(s + held, std::min(j - held, kLongSyllable)), s + held, j - held, out,
                                      heldJoins);
            }
        }
        return static_cast<size_t>(out - start) + heldLength;
    }

private:
    // The first syllable start after i (of the m glyphs at s), or m.
    size_t NextStart(const uint8_t *s, size_t m, size_t i) {
        for (size_t j = i + 1; j < m;) {
            size_t block = j & ~size_t(63);
            if (block != block_) starts_ = Starts(s, m, block_ = block);
            if (uint64_t later = starts_ >> (j - block)) return j + lanes::LowestBit(later);
            j = block + 64;
        }
        return m;
    }

    // The key of the n glyphs at s (at most kLongSyllable; none past the piece's end).
    SyllableKey KeyOf(const uint8_t *s, size_t n) const {
        if (n == 0) return SyllableKey{0, 0};
        if (s + 16 <= end_ + 1) return SyllableKeyOfPadded(s, n, bilingual_ ? 1 : 0);  // whole words, read in one
        return SyllableKeyOf(s, n, bilingual_ ? 1 : 0);
    }

    // The syllable starts among the glyphs s[block .. block + 64) (below m), one bit each.
    uint64_t Starts(const uint8_t *s, size_t m, size_t block) const {
        uint64_t bits = 0;
        size_t end = std::min(block + 64, m);
        unsigned before = block ? class_[s[block - 1]] : 0;
        uint64_t with[8];  // the glyphs whose class has each bit
        if (TableBits(class_, s + block, end - block, with)) {
            uint64_t starting = with[0], apart = with[2];  // kStarts, kApart
            uint64_t within = end - block == 64 ? ~uint64_t(0) : (uint64_t(1) << (end - block)) - 1;
            return (starting | apart | (apart << 1) | ((before & GlyphStarts::kApart) ? 1 : 0)) & within;
        }
        for (size_t j = block; j < end; j++) {
            unsigned k = class_[s[j]];
            unsigned starts = k | (k >> 2) | (before >> 2);  // a glyph apart, and after one
            bits |= static_cast<uint64_t>(starts & GlyphStarts::kStarts) << (j - block);
            before = k;
        }
        return bits;
    }

    // The UTF-8 of the n glyphs of a syllable (its key, if n is at most kLongSyllable) into
    // `out`, and how it joins.
    CONVERT_INLINE size_t Syllable(const SyllableKey &key, const uint8_t *s, size_t n, uint8_t *out, uint8_t &joins) {
        if (n <= kLongSyllable) {
            if (const GlyphSyllable *found = cache_.Find(key)) {
                std::memcpy(out, found->utf8, kSyllableUtf8);
                joins = found->joins;
                return found->length;
            }
            return Convert(key, s, n, out, joins);
        }
        size_t length = steps_.Convert(s, n, bilingual_, out, joins);
        joins = JoinsOf(joins, s, n);
        return length;
    }

    // A syllable not met before: converted the plain way, and kept.
    CONVERT_OUT_OF_LINE size_t Convert(const SyllableKey &key, const uint8_t *s, size_t n, uint8_t *out,
                                       uint8_t &joins) {
        size_t length = steps_.Convert(s, n, bilingual_, out, joins);
        joins = JoinsOf(joins, s, n);
        if (length <= kSyllableUtf8) {
            GlyphSyllable syllable{};
            syllable.length = static_cast<uint8_t>(length);
            syllable.joins = joins;
            std::memcpy(syllable.utf8, out, length);
            cache_.Add(key, syllable);
        }
        return length;
    }

    bool bilingual_;
    PlainSteps &steps_;
    GlyphSyllables &cache_;
    const uint8_t *class_;
    const uint8_t *end_;
    size_t block_;     // the block of 64 glyphs whose syllable starts are in starts_
    uint64_t starts_;
};

// Glyph text as monolingual glyphs: bilingual text mapped whole (its rules read the glyphs
// before), monolingual text as it is. Short text is mapped on the stack.
class Monolingual {
public:
    Monolingual(const uint8_t *glyphs, size_t n, bool bilingual) : glyphs(glyphs), length(n) {
        if (!bilingual || n == 0) return;
        uint8_t *room = own_;
        if (n + 3 > sizeof own_) {
            heap_.reset(new uint8_t[n + 3]);
            room = heap_.get();
        }
        std::memcpy(room, glyphs, n);
        room[n] = 0;
        char *g = reinterpret_cast<char *>(room);
        int m = ToviBilingual2MonolingualGlyph(g, g, static_cast<unsigned int>(n + 3));
        this->glyphs = room;
        length = m > 0 ? static_cast<size_t>(m) : 0;
        room[length] = 0;
    }

    const uint8_t *glyphs;  // a NUL after them
    size_t length;

private:
    uint8_t own_[kShortText + 3];
    std::unique_ptr<uint8_t[]> heap_;
};

}  // namespace

size_t GlyphSyllableToUtf8(const uint8_t *glyphs, size_t n, bool bilingual, uint8_t *out, uint8_t &joins) {
    Monolingual mono(glyphs, n, bilingual);
    PlainSteps steps;
    size_t length = steps.Convert(mono.glyphs, mono.length, bilingual, out, joins);
    const uint8_t *glyphClass = CurrentSyllableCache<GlyphSyllables>().context.glyphClass[bilingual];
    // Bilingual glyphs map alone as they map after others where the first maps to no sign or RA
    // (whose forms depend on the glyph before) and no subscript or joiner, and the last to no
    // joiner (whose form depends on the glyph after).
    uint8_t first = mono.length ? mono.glyphs[0] : 0, last = mono.length ? mono.glyphs[mono.length - 1] : 0;
    if (!first || !(glyphClass[first] & GlyphStarts::kReadApart) || (bilingual && first == 115)) joins &= ~kIsciiMayFollow;
    if (!last || IsJoinerGlyph(last)) joins &= ~kIsciiMayBeFollowed;
    return length;
}

size_t GlyphsToUtf8(const uint8_t *glyphs, size_t n, bool bilingual, uint8_t *out) {
    static_assert(kSyllableUtf8 <= kGlyphUtf8Slack, "room for a whole syllable's UTF-8");
    Monolingual mono(glyphs, n, bilingual);
    PlainSteps steps;
    return QuickPiece(bilingual, steps, mono.glyphs + mono.length).Convert(mono.glyphs, mono.length, out);
}

int GlyphToUnicodeExport(const char *src, char *dst, unsigned int dstSize, bool bilingual) {
    if (!CheckConverterArguments(src, dstSize)) return 0;
    Monolingual mono(reinterpret_cast<const uint8_t *>(src), std::strlen(src), bilingual);
    const uint8_t *text = mono.glyphs;
    size_t n = mono.length;
    PlainSteps steps;
    QuickPiece quick(bilingual, steps, text + n);
    WorkBuffer<kUnicodePerIscii * kIsciiPerGlyph * kShortText + kSyllableUtf8 + 1> utf8Buffer;
    size_t total = 0;
    for (size_t start = 0; start < n;) {
        size_t end = start + kPieceSize < n ? start + kPieceSize : n;
        if (end < n) {
            size_t cut = end;
            while (cut > start && !EndsPiece(text[cut - 1])) cut--;
            if (cut == start)  // no place to cut before: the piece goes on to the next one
                while (end < n && !EndsPiece(text[end - 1])) end++;
            else
                end = cut;
        }
        size_t m = end - start;
        // Straight into dst when the most this piece can give fits; else aside, and copied
        // when it fits.
        size_t most = kUnicodePerIscii * kIsciiPerGlyph * m + kSyllableUtf8;
        if (dst && total + most < dstSize) {
            uint8_t *out = reinterpret_cast<uint8_t *>(dst) + total;
            total += quick.Convert(text + start, m, out);
        } else {
            uint8_t *utf8 = utf8Buffer.Room(most + 1);
            size_t length = quick.Convert(text + start, m, utf8);
            if (dst) {
                if (total + length >= dstSize) {
                    LibraryLastError = kErrorDestinationSize;
                    return 0;
                }
                std::memcpy(dst + total, utf8, length);
            }
            total += length;
        }
        start = end;
    }
    if (total == 0) {
        LibraryLastError = kErrorNoOutput;
        return 0;
    }
    if (dst) dst[total] = '\0';
    return ResultCount(total);
}

void GlyphsToUnicode(const uint8_t *glyphs, size_t length, bool bilingual, std::string &out) {
    std::string text(reinterpret_cast<const char *>(glyphs), length);
    size_t most = kUnicodePerIscii * kIsciiPerGlyph * length + kSyllableUtf8 + 1;
    std::unique_ptr<char[]> room(new char[most]);  // not cleared: only what is written is touched
    int n = length ? GlyphToUnicodeExport(text.c_str(), room.get(), static_cast<unsigned int>(most), bilingual) : 0;
    out.assign(room.get(), n > 0 ? static_cast<size_t>(n) : 0);
}
