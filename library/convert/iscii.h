// Glyph strings and ISCII, both ways. Glyph to ISCII is a longest match over normalised glyph
// sequences (glyph_normalisation.cpp, row_matcher.cpp, glyph_to_iscii.cpp); ISCII to glyph
// types the keystrokes of every ISCII letter through a composer (iscii_typing.cpp, and the
// quick way in iscii_to_glyph.cpp). The exports are in iscii_exports.cpp. The KSCLP keys and
// the Unicode bridge build on the internal forms declared here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// ISCII-91 code ranges.
inline bool IsIsciiConsonant(uint8_t c) { return c >= 179 && c <= 216; }
inline bool IsIsciiVowel(uint8_t c) { return c >= 164 && c <= 178; }
inline bool IsIsciiVowelSign(uint8_t c) { return c >= 218 && c <= 231; }
constexpr uint8_t kIsciiHalant = 232;
constexpr uint8_t kIsciiNukta = 233;
constexpr uint8_t kIsciiInvisible = 217;  // the invisible consonant

// Normalises a monolingual glyph string of n bytes in place (joiners out, signs in front of
// subscripts, the halant glyph after a subscript) and returns its new length; s[length] is 0.
size_t NormaliseGlyphs(uint8_t *s, size_t n);
// The same for the n bytes at src, written to s (room for n + 1 bytes; s may be src).
size_t NormaliseGlyphs(const uint8_t *src, size_t n, uint8_t *s);

// A glyph stands for at most this many ISCII bytes.
constexpr size_t kIsciiPerGlyph = 3;

// What the Latin-letter codes of the monolingual encoding stand for in glyph text.
enum class LatinCodes {
    kDropped,     // the monolingual export: only Kannada glyphs count
    kLetters,     // the bilingual export: every code with a letter is that letter
    kUnambiguous, // the codes that are no Kannada glyph as well are letters
    kBridge,      // as kLetters, for the Unicode bridge
};
// The Unicode bridge (kUnambiguous, kBridge) also reads the vocalic RR vowel, glyphs 73 198,
// which no table row holds, as ISCII 170 233: the keystrokes that type it again.


// The ISCII bytes of a normalised monolingual glyph string, in ISCII order, written to `out`
// (room for kIsciiPerGlyph * n + 1 bytes) and terminated; returns their count. Latin-letter
// codes taken as letters give their ASCII letters.
size_t NormalisedGlyphsToIscii(const uint8_t *s, size_t n, LatinCodes latin, uint8_t *out);
// The same before the ISCII order: the rows' columns as the longest match finds them.
size_t MatchGlyphsToIscii(const uint8_t *s, size_t n, LatinCodes latin, uint8_t *out);
// Only the count of the same conversion (a size query).
size_t CountIsciiOfGlyphs(const uint8_t *s, size_t n, LatinCodes latin);

// The whole glyph-to-ISCII conversion of a glyph string of n bytes (NUL-terminated):
// normalises `src` in place (a bilingual string ends up bilingual again) and writes the ISCII
// (terminated) to `iscii`, with room for kIsciiPerGlyph * n + 1 bytes. False, with the last
// error -5, when a bilingual string yields nothing.
bool GlyphStringToIscii(char *src, size_t n, bool bilingual, uint8_t *iscii, size_t &length);

// The glyph-to-ISCII exports' work, into the caller's dst: the monolingual result counts the
// terminator, the bilingual one fails on no output.
int GlyphToIsciiExport(char *src, char *dst, unsigned int dstSize, bool bilingual);

inline bool IsAsciiLetter(uint8_t c) { return (c >= 65 && c <= 90) || (c >= 97 && c <= 122); }

// ISCII to a glyph string, in the bilingual encoding when `bilingual`, else the monolingual
// one: the keystrokes of each letter typed through a composer of its own, with the joiners
// typing puts in that encoding (into `out`). ASCII letters are dropped
// unless `keepLetters`; kept, they take their Latin-letter glyph codes (and with
// `rewriteLetters` also in `src`, in place), except in monolingual output the letters whose
// codes are Kannada glyphs as well (N to U), which are dropped.
void IsciiToGlyphString(char *src, bool bilingual, bool keepLetters, bool rewriteLetters, std::string &out);

// The ISCII-to-glyph exports' work, into the caller's dst; the result is the output length.
int IsciiToGlyphExport(char *src, char *dst, unsigned int dstSize, bool bilingual);
