// The Unicode bridge on arbitrary bytes, all four ways, with exact-size heap destinations
// (the size a query gives must be the size written), and once more on what it made.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/process_attach.h"
#include "kannada-tovi.h"

namespace {

using Converter = int (*)(const char *, char *, unsigned);

std::string Exercise(Converter convert, const std::string &text) {
    int need = convert(text.c_str(), nullptr, 0xFFFFFFFFu);
    if (need <= 0) return "";
    std::vector<char> *exact = new std::vector<char>(static_cast<size_t>(need) + 1);
    int r = convert(text.c_str(), exact->data(), static_cast<unsigned>(need) + 1);
    if (r != need) __builtin_trap();
    std::string out(exact->data(), static_cast<size_t>(r));
    delete exact;
    std::vector<char> *shorter = new std::vector<char>(static_cast<size_t>(need));
    if (convert(text.c_str(), shorter->data(), static_cast<unsigned>(need)) != 0) __builtin_trap();
    delete shorter;
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    // A desktop of its own: the shared engine state of the user's desktop stays untouched.
    static bool attached = (setenv("TOVI_DESKTOP", "fuzz-unicode", 0), ProcessAttach(), true);
    (void)attached;
    std::string text(reinterpret_cast<const char *>(data), size);
    text = text.c_str();
    if (text.empty()) return 0;
    std::string utf8 = Exercise(ToviMonolingualGlyph2Unicode, text);
    Exercise(ToviBilingualGlyph2Unicode, text);
    std::string glyphs = Exercise(ToviUnicode2MonolingualGlyph, text);
    Exercise(ToviUnicode2BilingualGlyph, text);
    // What the bridge made goes through again (glyph text from Unicode and back).
    if (!glyphs.empty()) Exercise(ToviUnicode2MonolingualGlyph, Exercise(ToviMonolingualGlyph2Unicode, glyphs));
    return 0;
}
