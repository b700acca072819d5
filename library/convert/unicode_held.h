// What an encoding can hold of a Unicode text. A syllable is held when it comes back from the
// encoding as it was (the bridge converts it there and back); the converters from Unicode
// leave out each syllable that is not, and each other character that is not, so nothing
// turns into another text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "iscii_typing.h"

enum class HeldIn { kMonolingual, kBilingual, kIscii };

// A character that an encoding cannot hold: where its UTF-8 starts, its length in bytes, and
// its code point (-1 for a byte that starts no well-formed UTF-8 sequence).
struct UnheldCharacter {
    size_t offset;
    size_t length;
    int32_t codePoint;
};

// One character for each syllable (or other character) of the n bytes of UTF-8 at `utf8`
// that `encoding` cannot hold, in text order: the first of the syllable that does not come
// back together with those before it.
void FindUnheld(const uint8_t *utf8, size_t n, HeldIn encoding, std::vector<UnheldCharacter> &unheld);

// Whether two UTF-8 texts read the same (the same but for joiners and for how the two-part vowel
// signs are written); `glyphs`: as glyph text holds them, the digits and the danda in ASCII.
bool ReadAlike(const uint8_t *a, size_t na, const uint8_t *b, size_t nb, bool glyphs);

// The n bytes of UTF-8 at `utf8` converted to `encoding` (ISCII, or glyph text through it),
// without the syllables and characters it cannot hold, into `out`.
void ConvertHeld(const uint8_t *utf8, size_t n, HeldIn encoding, std::string &out);
// The same, each word the plain way: there and back as a whole (ConvertHeld gives the same
// sooner, from syllables it knows).
void ConvertHeldPlainly(const uint8_t *utf8, size_t n, HeldIn encoding, std::string &out);

// The n bytes of UTF-8 of a word (text between ASCII that is no letter) converted to
// `encoding` and appended to `out` a syllable at a time, when every syllable comes back and
// nothing of one reads another (unicode_syllables.cpp); false, with nothing appended, for any
// other word.
bool ConvertHeldWord(const uint8_t *word, size_t n, HeldIn encoding, TypedText &out);
