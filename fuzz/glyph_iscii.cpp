// Glyph text to ISCII and ISCII to glyph text, both encodings, plain and twins, on arbitrary
// bytes. Destinations are heap blocks of exactly the size given, so AddressSanitizer sees
// any write past them.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/process_attach.h"
#include "kannada-tovi.h"

namespace {

using Converter = int (*)(char *, char *, unsigned);

int IsciiToMono(char *s, char *d, unsigned n) { return ToviISCII2MonolingualGlyph(s, d, n); }

// A size query, then the exact size, then one byte less (which must fail untouched).
void Exercise(Converter convert, const std::string &text) {
    std::string copy = text;
    int need = convert(&copy[0], nullptr, 0xFFFFFFFFu);
    if (need <= 0) return;
    for (unsigned size : {static_cast<unsigned>(need) + 1, static_cast<unsigned>(need)}) {
        copy = text;
        std::vector<char> *dst = new std::vector<char>(size);
        int r = convert(&copy[0], dst->data(), size);
        if (r > 0 && std::strlen(dst->data()) >= size) __builtin_trap();
        delete dst;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    // A desktop of its own: the shared engine state of the user's desktop stays untouched.
    static bool attached = (setenv("TOVI_DESKTOP", "fuzz-glyph_iscii", 0), ProcessAttach(), true);
    (void)attached;
    std::string text(reinterpret_cast<const char *>(data), size);
    text = text.c_str();
    if (text.empty()) return 0;
    Exercise(ToviMonolingualGlyph2ISCII, text);
    Exercise(ToviBilingualGlyph2ISCII, text);
    Exercise(IsciiToMono, text);
    Exercise(ToviISCII2BilingualGlyph, text);
    std::string copy = text;
    ToviMonolingualGlyph2ISCIIVB(&copy[0]);
    copy = text;
    ToviBilingualGlyph2ISCIIVB(&copy[0]);
    copy = text;
    ToviISCII2MonolingualGlyphVB(&copy[0]);
    copy = text;
    ToviISCII2BilingualGlyphVB(&copy[0]);
    return 0;
}
