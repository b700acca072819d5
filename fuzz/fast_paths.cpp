// The quick ways to glyph text against typing through the composer, on arbitrary bytes: ISCII
// (both encodings, letters kept or dropped, rewritten in the source or not) and Unicode (into
// each encoding) must give the same bytes both ways.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "convert/iscii_typing.h"
#include "convert/unicode_held.h"

namespace {

// ISCII typed one way, from a copy of the text; the output and what is left of the source.
template <typename Type>
std::string Typed(Type type, const std::string &text, bool bilingual, bool keepLetters, bool rewrite) {
    std::string source = text, out;
    {
        TypedText typed(out, 0);
        type(reinterpret_cast<uint8_t *>(&source[0]), source.size(), bilingual, keepLetters, rewrite, typed);
    }
    return out + '|' + source;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string text(reinterpret_cast<const char *>(data), size);
    text = text.c_str();  // the converters read up to a NUL
    for (int way = 0; way < 8; way++) {
        bool bilingual = way & 1, keepLetters = way & 2, rewrite = way & 4;
        if (Typed(TypeIscii, text, bilingual, keepLetters, rewrite) !=
            Typed(TypeIsciiQuickly, text, bilingual, keepLetters, rewrite))
            __builtin_trap();
    }
    const uint8_t *utf8 = reinterpret_cast<const uint8_t *>(text.data());
    for (HeldIn encoding : {HeldIn::kMonolingual, HeldIn::kBilingual, HeldIn::kIscii}) {
        std::string quick, plainly;
        ConvertHeld(utf8, text.size(), encoding, quick);
        ConvertHeldPlainly(utf8, text.size(), encoding, plainly);
        if (quick != plainly) __builtin_trap();
    }
    return 0;
}
