// What an encoding can hold of a Unicode text. A character is held when the text it stands in
// comes back from the encoding as the same text: the bridge converts each syllable there and
// back, and a character that keeps its syllable from coming back is not held. The converters
// from Unicode leave exactly those characters out, so nothing turns into another text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class HeldIn { kMonolingual, kBilingual, kIscii };

// A character that an encoding cannot hold: where its UTF-8 starts, its length in bytes, and
// its code point (-1 for a byte that starts no well-formed UTF-8 sequence).
struct UnheldCharacter {
    size_t offset;
    size_t length;
    int32_t codePoint;
};

// The characters of the n bytes of UTF-8 at `utf8` that `encoding` cannot hold, in text order.
// Each is found with those before it left out.
void FindUnheld(const uint8_t *utf8, size_t n, HeldIn encoding, std::vector<UnheldCharacter> &unheld);

// The n bytes of UTF-8 at `utf8` converted to `encoding` (ISCII, or glyph text through it),
// without the characters it cannot hold, into `out`.
void ConvertHeld(const uint8_t *utf8, size_t n, HeldIn encoding, std::string &out);
