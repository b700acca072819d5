// KSCLP keys and comparisons on arbitrary bytes: the input is split in two at its first
// byte 255 (or the middle), for the two sides of a comparison.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/process_attach.h"
#include "kannada-tovi.h"

namespace {

void Key(int (*convert)(char *, char *, unsigned), const std::string &text) {
    std::string copy = text;
    int need = convert(&copy[0], nullptr, 0xFFFFFFFFu);
    for (unsigned size : {static_cast<unsigned>(need) + 1, static_cast<unsigned>(need / 2 + 1)}) {
        copy = text;
        std::vector<char> *dst = new std::vector<char>(size);
        int r = convert(&copy[0], dst->data(), size);
        if (r < 0 || static_cast<unsigned>(r) >= size) __builtin_trap();
        delete dst;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    // A desktop of its own: the shared engine state of the user's desktop stays untouched.
    static bool attached = (setenv("TOVI_DESKTOP", "fuzz-ksclp", 0), ProcessAttach(), true);
    (void)attached;
    std::string all(reinterpret_cast<const char *>(data), size);
    size_t cut = all.find('\xFF');
    if (cut == std::string::npos) cut = all.size() / 2;
    std::string a = all.substr(0, cut).c_str(), b = all.substr(cut < all.size() ? cut + 1 : cut).c_str();
    if (!a.empty()) {
        Key(ToviMonolingualGlyph2KSCLP, a);
        Key(ToviBilingualGlyph2KSCLP, a);
        std::string copy = a;
        ToviMonolingualGlyph2KSCLPVB(&copy[0]);
        copy = a;
        ToviBilingualGlyph2KSCLPVB(&copy[0]);
    }
    std::string a1 = a, b1 = b;
    int c = ToviMonolingualGlyphCompare(&a1[0], &b1[0]);
    if (c != -1 && c != 0 && c != 1 && c != 999) __builtin_trap();
    a1 = a, b1 = b;
    c = ToviBilingualGlyphCompareVB(&a1[0], &b1[0]);
    if (c != -1 && c != 0 && c != 1 && c != 999) __builtin_trap();
    // A string compared with itself is equal whenever it has a key.
    a1 = a;
    c = ToviMonolingualGlyphCompare(&a1[0], &a1[0]);
    if (c != 0 && c != 999) __builtin_trap();
    return 0;
}
