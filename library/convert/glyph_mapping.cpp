// Monolingual <-> bilingual glyph strings. One byte stands for one byte, through the
// <Mono2Bilingual> table read in both directions; the way back also restores the forms that
// the bilingual encoding merges (the two forms of a sign, the two subscript forms of RA, the
// two joiners) from their neighbours.
#include <cstring>

#include "../base/conversion_data.h"
#include "../base/glyph_classes.h"
#include "../base/last_error.h"
#include "../include/kannada-tovi.h"
#include "results.h"

namespace {

// The checks shared by both directions: the converters' own, and -3 for a destination too
// small for the source (the output is never longer). Returns the source length, or 0 after
// setting the error.
size_t CheckedLength(const char *src, unsigned int dstSize) {
    if (!CheckConverterArguments(src, dstSize)) return 0;
    size_t n = std::strlen(src);
    if (dstSize < n + 1) {
        LibraryLastError = kErrorDestinationSize;
        return 0;
    }
    return n;
}

}  // namespace

extern "C" {

unsigned int TOVI_CDECL ToviMonolingual2BilingualGlyph(const char *src, char *dst, unsigned int dstSize) {
    size_t n = CheckedLength(src, dstSize);
    if (n == 0) return 0;
    if (!dst) return static_cast<unsigned int>(n + 1);  // n < dstSize, an unsigned int
    const uint8_t *in = reinterpret_cast<const uint8_t *>(src);
    uint8_t *out = reinterpret_cast<uint8_t *>(dst);
    const uint8_t *map = ConversionLookup.mono2Bilingual;
    for (size_t i = 0; i < n; i++) out[i] = map[in[i]];
    out[n] = 0;
    return static_cast<unsigned int>(n);
}

int TOVI_CDECL ToviBilingual2MonolingualGlyph(const char *src, char *dst, unsigned int dstSize) {
    size_t n = CheckedLength(src, dstSize);
    if (n == 0) return 0;
    if (!dst) return ResultCount(n + 1);
    const uint8_t *in = reinterpret_cast<const uint8_t *>(src);
    uint8_t *out = reinterpret_cast<uint8_t *>(dst);
    // Left to right on the output, so each rule sees the bytes already converted before it.
    // A joiner whose neighbours take none is dropped, so the output may be shorter than the
    // input; it is never written ahead of the input (o <= i), so dst may be src.
    size_t o = 0;
    for (size_t i = 0; i < n; i++, o++) {
        uint8_t c = in[i];
        if (!ConversionLookup.hasBilingual2Mono[c]) {
            out[o] = c;
            continue;
        }
        uint8_t g = ConversionLookup.bilingual2Mono[c];
        if (o >= 1 && g == 115 &&
            (out[o - 1] == 114 || out[o - 1] == 162 || out[o - 1] == 166 || out[o - 1] == 169))
            g = 252;  // these consonants take the other form of the sign
        if (o >= 2 && IsSubscriptGlyph(out[o - 1]) && g == 230)
            g = 231;  // RA after a subscript takes its second subscript form
        out[o] = g;
        if (o >= 2 && IsJoinerGlyph(out[o - 1])) {
            uint8_t joiner = JoinerGlyph(out[o - 2], g);
            if (joiner) {
                out[o - 1] = joiner;
            } else {
                out[o - 1] = g;
                o--;
            }
        }
    }
    out[o] = 0;
    return ResultCount(o);
}

// The mapping never writes its source.
char *TOVI_STDCALL ToviMonolingual2BilingualGlyphVB(const char *src) {
    return RunTwin(const_cast<char *>(src), kGlyphResult, false, [](char *s, char *d, unsigned int size) {
        return static_cast<int>(ToviMonolingual2BilingualGlyph(s, d, size));
    });
}

char *TOVI_STDCALL ToviBilingual2MonolingualGlyphVB(const char *src) {
    return RunTwin(const_cast<char *>(src), kGlyphResult, false, [](char *s, char *d, unsigned int size) {
        return ToviBilingual2MonolingualGlyph(s, d, size);
    });
}

}  // extern "C"
