// Classes of the monolingual glyph codes, and the joiner rule that typing and the
// converters share.
#pragma once

#include <cstdint>

// The joiner glyph that goes between two adjacent subscript glyphs (monolingual codes):
// 246, 247, or 0 for none.
uint8_t JoinerGlyph(uint8_t before, uint8_t after);

inline bool IsSubscriptGlyph(uint8_t g) { return g >= 204 && g <= 238; }
inline bool IsJoinerGlyph(uint8_t g) { return g == 246 || g == 247; }
// The codes the monolingual encoding gives to Latin letters.
bool IsMonolingualLatinCode(uint8_t g);
