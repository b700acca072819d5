// Both glyph mappings and their twins on arbitrary bytes, with destinations of every size.
#include <cstdint>
#include <cstring>
#include <string>

#include "engine/process_attach.h"
#include "kannada-tovi.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static bool attached = (ProcessAttach(), true);
    (void)attached;
    if (size == 0) return 0;
    unsigned dstSize = data[0];
    std::string text(reinterpret_cast<const char *>(data) + 1, size - 1);
    text = text.c_str();
    // An exact-size heap buffer lets AddressSanitizer see any write past dstSize.
    char *dst = new char[dstSize ? dstSize : 1];
    ToviMonolingual2BilingualGlyph(text.c_str(), dst, dstSize);
    ToviBilingual2MonolingualGlyph(text.c_str(), dst, dstSize);
    delete[] dst;
    std::string inPlace = text;
    ToviBilingual2MonolingualGlyph(&inPlace[0], &inPlace[0], static_cast<unsigned>(inPlace.size() + 1));
    if (std::strlen(inPlace.c_str()) > text.size()) __builtin_trap();
    ToviMonolingual2BilingualGlyphVB(text.c_str());
    ToviBilingual2MonolingualGlyphVB(text.c_str());
    return 0;
}
