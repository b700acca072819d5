// Monolingual <-> bilingual glyph strings. One byte stands for one byte, through the
// <Mono2Bilingual> table read in both directions; the way back also restores the forms that
// the bilingual encoding merges (the two forms of a sign, the two subscript forms of RA, the
// two joiners) from their neighbours.
#include <algorithm>
#include <cstring>

#include "../base/conversion_data.h"
#include "../base/glyph_classes.h"
#include "../base/last_error.h"
#include "../include/kannada-tovi.h"
#include "byte_table.h"
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

// Bilingual to monolingual, the plain way, from in[i] to in[end) into out[o ..); returns the
// output length. Left to right on the output, so each rule sees the bytes already converted
// before it. A joiner whose neighbours take none is dropped, so the output may be shorter than
// the input; it is never written ahead of the input (o <= i), so out may be in.
size_t MapExactly(const uint8_t *in, size_t i, size_t end, uint8_t *out, size_t o) {
    for (; i < end; i++, o++) {
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
    return o;
}

// The forms that the sign and RA take after their neighbours, in the sixteen monolingual
// glyphs at p (each mapped alone) after p[-1] (final). False, with nothing changed, where
// one of them or p[-1] is a joiner, or where a sign or RA may have passed unmapped
// (`signAndRaMapped` false): these go the plain way. A sign or RA that changes its form reads
// the glyph before it as it was mapped, which gives the same.
inline bool FormsOfSixteen(uint8_t *p, bool signAndRaMapped) {
#if defined(__GNUC__)
    typedef uint8_t Sixteen __attribute__((vector_size(16)));
    Sixteen g, before;
    std::memcpy(&g, p, 16);
    std::memcpy(&before, p - 1, 16);
    auto any = [](Sixteen v) {
        uint64_t half[2];
        std::memcpy(half, &v, 16);
        return (half[0] | half[1]) != 0;
    };
    Sixteen sign = (Sixteen)(g == 115), ra = (Sixteen)(g == 230), joiner = (Sixteen)((g & 0xFE) == 246);
    if (!any(sign | ra | joiner) && !IsJoinerGlyph(p[-1])) return true;
    if (any(joiner) || IsJoinerGlyph(p[-1]) || !signAndRaMapped) return false;
    Sixteen otherSign =
        sign & (Sixteen)((before == 114) | (before == 162) | (before == 166) | (before == 169));
    Sixteen secondRa = ra & (Sixteen)((Sixteen)(before - 204) <= 34);
    g ^= (otherSign & (115 ^ 252)) ^ (secondRa & (230 ^ 231));
    std::memcpy(p, &g, 16);
    return true;
#else
    (void)p;
    (void)signAndRaMapped;
    return false;
#endif
}

}  // namespace

extern "C" {

unsigned int TOVI_CDECL ToviMonolingual2BilingualGlyph(const char *src, char *dst, unsigned int dstSize) {
    size_t n = CheckedLength(src, dstSize);
    if (n == 0) return 0;
    if (!dst) return static_cast<unsigned int>(n + 1);  // n < dstSize, an unsigned int
    const uint8_t *in = reinterpret_cast<const uint8_t *>(src);
    uint8_t *out = reinterpret_cast<uint8_t *>(dst);
    MapBytes(ConversionLookup.mono2Bilingual, in, out, n);
    out[n] = 0;
    return static_cast<unsigned int>(n);
}

int TOVI_CDECL ToviBilingual2MonolingualGlyph(const char *src, char *dst, unsigned int dstSize) {
    size_t n = CheckedLength(src, dstSize);
    if (n == 0) return 0;
    if (!dst) return ResultCount(n + 1);
    const uint8_t *in = reinterpret_cast<const uint8_t *>(src);
    uint8_t *out = reinterpret_cast<uint8_t *>(dst);
    const uint8_t *map = ConversionLookup.bilingual2Mono;
    // A chunk at a time, each byte mapped alone; then sixteen at a time, the forms that the
    // sign and RA take after their neighbours worked out in all lanes at once. Sixteen that hold
    // a joiner or follow one (the rules read it), and the rest of their 64, go the plain way.
    const bool signAndRaMapped = ConversionLookup.hasBilingual2Mono[115] && ConversionLookup.hasBilingual2Mono[230];
    size_t o = 0, i = 0;
    while (i + 64 <= n) {
        constexpr size_t kChunk = 2048;
        uint8_t chunk[kChunk], mapped[kChunk];
        size_t length = std::min(kChunk, (n - i) & ~size_t(63));
        std::memcpy(chunk, in + i, length);  // dst may be src
        MapBytes(map, chunk, mapped, length);
        for (size_t b = 0; b < length; b += 64, i += 64) {
            std::memcpy(out + o, mapped + b, 64);
            size_t w = 0;
            while (w < 64 && o + w >= 2 && FormsOfSixteen(out + o + w, signAndRaMapped)) w += 16;
            o = w < 64 ? MapExactly(chunk + b, w, 64, out, o + w) : o + 64;
        }
    }
    o = MapExactly(in, i, n, out, o);
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
