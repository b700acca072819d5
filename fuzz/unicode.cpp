// The Unicode bridge on arbitrary bytes, every way, with exact-size heap destinations (the
// size a query gives must be the size written), and once more on what it made: text that came
// back from an encoding is held there whole, and comes back as itself.
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
    Exercise(ToviISCII2Unicode, text);
    const struct {
        int encoding;
        Converter there, back;
    } ways[] = {{TOVI_MONOLINGUAL_GLYPHS, ToviUnicode2MonolingualGlyph, ToviMonolingualGlyph2Unicode},
                {TOVI_BILINGUAL_GLYPHS, ToviUnicode2BilingualGlyph, ToviBilingualGlyph2Unicode},
                {TOVI_ISCII, ToviUnicode2ISCII, ToviISCII2Unicode}};
    for (const auto &way : ways) {
        std::string there = Exercise(way.there, text);
        if (there.empty()) continue;
        std::string back = Exercise(way.back, there);
        if (ToviUnicodeUnheld(back.c_str(), way.encoding, nullptr, nullptr, 0) != 0) __builtin_trap();
        if (Exercise(way.back, Exercise(way.there, back)) != back) __builtin_trap();
    }
    int n = ToviUnicodeUnheld(text.c_str(), TOVI_MONOLINGUAL_GLYPHS, nullptr, nullptr, 0);
    std::vector<int> offsets(static_cast<size_t>(n) + 1);
    if (n < 0 || ToviUnicodeUnheld(text.c_str(), TOVI_MONOLINGUAL_GLYPHS, offsets.data(), nullptr, n) != n) __builtin_trap();
    for (int k = 0; k < n; k++)
        if (offsets[k] < 0 || static_cast<size_t>(offsets[k]) >= text.size() || (k > 0 && offsets[k] <= offsets[k - 1]))
            __builtin_trap();
    return 0;
}
