#include "glyph_plain_steps.h"

#include <algorithm>

#include "../base/glyph_classes.h"

// Glyph arrangements that the keyboard types and the table reading does not take, put as
// the normalisation and the reading take them (monolingual glyph text):
// - RRA and U+0CDE take a stem before a sign or the halant glyph, which the keyboard types as
//   245, also the code of the Latin letter Z: after either letter it is the stem, and goes;
// - the subscripts of RRA and U+0CDE (249, 250) are subscripts too: a sign piece after one,
//   and the halant glyph before one, change places with it, as with the other subscripts;
// - the subscript of SSA after K, with the O signs, stands between their E piece and UU piece,
//   where the other subscripts stand after the UU piece.
size_t ReadAsTyped(uint8_t *glyphs, size_t m) {
    size_t k = 0;
    for (size_t i = 0; i < m; i++) {
        uint8_t g = glyphs[i];
        if (g == 245 && k > 0 && (glyphs[k - 1] == 190 || glyphs[k - 1] == 191)) continue;
        if (IsJoinerGlyph(g)) continue;  // the normalisation drops them too
        glyphs[k++] = g;
    }
    for (size_t i = 0; i + 1 < k; i++) {
        uint8_t g = glyphs[i], next = glyphs[i + 1];
        bool archaic = g == 249 || g == 250;
        bool kssaO = g == 235 && next == 198 && i > 0 && glyphs[i - 1] == 201;
        if ((archaic && (next == 195 || next == 248 || next == 200 || next == 202)) ||
            (g == 239 && (next == 249 || next == 250)) || kssaO)
            std::swap(glyphs[i], glyphs[i + 1]);
    }
    return k;
}

// The subscripts of RRA and U+0CDE (glyphs 249, 250) give the invisible consonant with RA or
// LLA after the halant, which the ISCII order does not count as a consonant: a vowel sign or
// a shown halant typed before the subscript is moved behind it here.
void OrderArchaicSubscripts(uint8_t *iscii, size_t k) {
    for (size_t p = 1; p + 2 < k; p++) {
        if (iscii[p] != kIsciiHalant || iscii[p + 1] != kIsciiInvisible || (iscii[p + 2] != 207 && iscii[p + 2] != 210))
            continue;
        size_t from = p;
        if (p >= 2 && iscii[p - 1] == kIsciiHalant && iscii[p - 2] == kIsciiHalant) from = p - 2;
        else
            while (from > 0 && iscii[from - 1] >= 218 && iscii[from - 1] <= 230) from--;
        if (from == p) continue;
        uint8_t moved[8];
        size_t n = p - from < sizeof moved ? p - from : sizeof moved;
        std::memcpy(moved, iscii + p - n, n);
        std::memmove(iscii + p - n, iscii + p, 3);
        std::memcpy(iscii + p - n + 3, moved, n);
        p += 2;
    }
}

size_t PlainSteps::Convert(const uint8_t *text, size_t m, bool fromBilingual, uint8_t *out, uint8_t &joins) {
    uint8_t *glyphs = glyphs_.Room(m + 3);
    std::memcpy(glyphs, text, m);
    m = NormaliseGlyphs(glyphs, fromBilingual ? m : ReadAsTyped(glyphs, m));
    uint8_t *iscii = iscii_.Room(kIsciiPerGlyph * m + 1);
    size_t k = NormalisedGlyphsToIscii(glyphs, m, fromBilingual ? LatinCodes::kBridge : LatinCodes::kUnambiguous, iscii);
    if (!fromBilingual) OrderArchaicSubscripts(iscii, k);
    joins = IsciiJoins(iscii, k);
    return IsciiToUnicode(iscii, k, out);
}

uint8_t IsciiJoins(const uint8_t *iscii, size_t k) {
    if (k == 0) return 0;
    uint8_t first = iscii[0], second = k > 1 ? iscii[1] : 0, last = iscii[k - 1], beforeLast = k > 1 ? iscii[k - 2] : 0;
    uint8_t joins = 0;
    if (!(first >= 161 && first <= 163) && first != 208 && !(first >= 218 && first <= 233) && first != 239 &&
        !(first == kIsciiInvisible && second == 223))
        joins |= kIsciiMayFollow;
    if (last != kIsciiHalant && last != kIsciiInvisible && last != 239 && !(last == 208 && beforeLast == kIsciiHalant))
        joins |= kIsciiMayBeFollowed;
    return joins;
}

size_t ShortGlyphsToUnicode(const uint8_t *text, size_t n, uint8_t *out) {
    uint8_t glyphs[kShortGlyphText + 3];
    uint8_t iscii[kIsciiPerGlyph * kShortGlyphText + 1];
    std::memcpy(glyphs, text, n);
    size_t m = NormaliseGlyphs(glyphs, ReadAsTyped(glyphs, n));
    size_t k = NormalisedGlyphsToIscii(glyphs, m, LatinCodes::kUnambiguous, iscii);
    OrderArchaicSubscripts(iscii, k);
    return IsciiToUnicode(iscii, k, out);
}
