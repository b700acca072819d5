// The exports between glyph strings and ISCII, and their twins.
#include <cstring>
#include <new>
#include <string>

#include "../base/last_error.h"
#include "../include/kannada-tovi.h"
#include "iscii.h"
#include "results.h"

int IsciiToGlyphExport(char *src, char *dst, unsigned int dstSize, bool bilingual) {
    if (!CheckConverterArguments(src, dstSize)) return 0;
    try {
        std::string glyphs;
        IsciiToGlyphString(src, bilingual, bilingual, bilingual, glyphs);
        if (dst) {
            if (glyphs.size() >= dstSize) {
                LibraryLastError = kErrorDestinationSize;
                return 0;
            }
            std::memcpy(dst, glyphs.c_str(), glyphs.size() + 1);
        }
        return ResultCount(glyphs.size());
    } catch (const std::bad_alloc &) {
        LibraryLastError = kErrorNoMemory;
        return 0;
    }
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
    // The monolingual conversion keeps no letters, so it never writes its source.
    return IsciiToGlyphExport(const_cast<char *>(src), dst, dstSize, false);
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
