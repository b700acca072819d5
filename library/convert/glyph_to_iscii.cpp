// Glyph text to ISCII: the normalised glyphs matched against the table rows, then put in
// ISCII order; and the glyph-to-ISCII exports' work.
#include <algorithm>
#include <cstring>
#include <memory>

#include "../base/last_error.h"
#include "../include/kannada-tovi.h"
#include "byte_lanes.h"
#include "iscii.h"
#include "results.h"

namespace {

using lanes::LowestBit;

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

// The glyph strings whose ISCII a conversion puts aside without an allocation.
constexpr size_t kShortAside = 256;

LatinCodes Latin(bool bilingual) { return bilingual ? LatinCodes::kLetters : LatinCodes::kDropped; }

}  // namespace

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

size_t NormalisedGlyphsToIscii(const uint8_t *s, size_t n, LatinCodes latin, uint8_t *out) {
    size_t k = MatchGlyphsToIscii(s, n, latin, out);
    OrderIscii(out, k);
    return k;
}

bool GlyphStringToIscii(char *src, size_t n, bool bilingual, uint8_t *iscii, size_t &length) {
    if (bilingual) ToviBilingual2MonolingualGlyph(src, src, static_cast<unsigned int>(n + 3));
    uint8_t *s = reinterpret_cast<uint8_t *>(src);
    n = NormaliseGlyphs(s, std::strlen(src));
    length = NormalisedGlyphsToIscii(s, n, Latin(bilingual), iscii);
    if (bilingual) {
        ToviMonolingual2BilingualGlyph(src, src, static_cast<unsigned int>(n + 3));
        if (length == 0) {
            LibraryLastError = kErrorNoOutput;
            return false;
        }
    }
    return true;
}
