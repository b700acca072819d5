// Monolingual <-> bilingual glyph strings. One byte stands for one byte, through the
// <Mono2Bilingual> table read in both directions; the way back also restores the forms that
// the bilingual encoding merges (the two forms of a sign, the two subscript forms of RA, the
// two joiners) from their neighbours.
#include "glyph_mapping.h"

#include <cstdlib>
#include <cstring>

#include "../engine/shared_state.h"
#include "../include/kannada-tovi.h"
#include "conversion_data.h"

char *GlyphResultBuffer = nullptr;

namespace {

bool IsNarrowSubscript(uint8_t g) {
    return (g >= 204 && g <= 222) || (g >= 224 && g <= 227) || (g >= 232 && g <= 238);
}
bool IsWideMark(uint8_t g) { return g == 200 || g == 202 || g == 223 || g == 228 || g == 229; }

// The checks shared by both directions: -4 for an empty source, -3 for a destination too
// small. Returns the source length, or 0 after setting the error.
size_t CheckedLength(const char *src, unsigned int dstSize) {
    size_t n = src ? std::strlen(src) : 0;
    if (n == 0) {
        LibraryLastError = kErrorEmptyInput;
        return 0;
    }
    if (dstSize < n + 1) {
        LibraryLastError = kErrorDestinationSize;
        return 0;
    }
    return n;
}

// A twin: converts into a fresh GlyphResultBuffer of n + 3 bytes; a failed conversion frees it.
template <typename Convert>
char *RunGlyphTwin(const char *src, Convert convert) {
    size_t n = src ? std::strlen(src) : 0;
    if (n == 0) {
        LibraryLastError = kErrorEmptyInput;
        return nullptr;
    }
    char *result = RenewGlyphResultBuffer(n + 3);
    if (!result) {
        LibraryLastError = kErrorNoMemory;
        return nullptr;
    }
    if (convert(src, result, static_cast<unsigned int>(n + 3)) == 0) {
        DropGlyphResultBuffer();
        return nullptr;
    }
    return result;
}

}  // namespace

bool IsMonolingualLatinCode(uint8_t g) {
    return (g >= 127 && g <= 161) || g == 173 || g == 179 || g == 180 || g == 183 || g == 190 ||
           g == 191 || (g >= 241 && g <= 245) || (g >= 249 && g <= 251) || g >= 253;
}

uint8_t JoinerGlyph(uint8_t before, uint8_t after) {
    if (IsNarrowSubscript(before) || IsWideMark(before)) {
        if (IsWideMark(after)) return 246;
        if (IsNarrowSubscript(after)) return 247;
    }
    return (before == 230 || before == 231) ? 246 : 0;
}

char *RenewGlyphResultBuffer(size_t size) {
    std::free(GlyphResultBuffer);
    GlyphResultBuffer = static_cast<char *>(std::calloc(size, 1));
    return GlyphResultBuffer;
}

void DropGlyphResultBuffer() {
    std::free(GlyphResultBuffer);
    GlyphResultBuffer = nullptr;
}

extern "C" {

unsigned int TOVI_CDECL ToviMonolingual2BilingualGlyph(const char *src, char *dst, unsigned int dstSize) {
    size_t n = CheckedLength(src, dstSize);
    if (n == 0) return 0;
    if (!dst) return static_cast<unsigned int>(n + 1);
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
    if (!dst) return static_cast<int>(n + 1);
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
    return static_cast<int>(o);
}

char *TOVI_STDCALL ToviMonolingual2BilingualGlyphVB(const char *src) {
    return RunGlyphTwin(src, [](const char *s, char *d, unsigned int size) {
        return static_cast<int>(ToviMonolingual2BilingualGlyph(s, d, size));
    });
}

char *TOVI_STDCALL ToviBilingual2MonolingualGlyphVB(const char *src) {
    return RunGlyphTwin(src, ToviBilingual2MonolingualGlyph);
}

}  // extern "C"
