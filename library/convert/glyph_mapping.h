// Mapping between the monolingual and bilingual glyph encodings, and the joiner rule.
#pragma once

#include <cstddef>
#include <cstdint>

// The joiner glyph that goes between two adjacent subscript glyphs (monolingual codes):
// 246, 247, or 0 for none.
uint8_t JoinerGlyph(uint8_t before, uint8_t after);

// Classes of monolingual glyphs.
inline bool IsSubscriptGlyph(uint8_t g) { return g >= 204 && g <= 238; }
inline bool IsJoinerGlyph(uint8_t g) { return g == 246 || g == 247; }
// The codes the monolingual encoding gives to Latin letters.
bool IsMonolingualLatinCode(uint8_t g);

// The result buffer of the glyph-returning twins, shared with the ISCII-to-glyph twins: each
// call frees the previous result.
extern char *GlyphResultBuffer;
// Frees the previous result and returns a new zeroed buffer of `size` bytes (null when memory
// is short).
char *RenewGlyphResultBuffer(size_t size);
void DropGlyphResultBuffer();
