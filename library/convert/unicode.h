// The Unicode bridge: glyph strings to UTF-8 Kannada (U+0C80 block) through ISCII, and back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// UTF-8 of ISCII text by the ISCII-91 Kannada correspondence, with this system's own uses of
// ISCII: 208 after a consonant cluster is the repha (RA + VIRAMA in front of the cluster),
// 217 207 is RRA, 217 210 is U+0CDE, 217 223 the vocalic RR sign, 199 NA + VIRAMA. Writes at
// most kUnicodePerIscii bytes per ISCII byte to `out` and returns the count (no terminator).
constexpr size_t kUnicodePerIscii = 9;
size_t IsciiToUnicode(const uint8_t *iscii, size_t length, uint8_t *out);
// The same into a string (replacing what it held).
void IsciiToUnicode(const uint8_t *iscii, size_t length, std::string &out);

// The ISCII-to-UTF-8 export's work, into the caller's dst (ToviISCII2Unicode).
int IsciiToUnicodeExport(const char *src, char *dst, unsigned int dstSize);

// Where two pieces of ISCII text meet, whether IsciiToUnicode reads each as it reads it alone:
// the bits of the k codes at `iscii` that may follow a piece (they start where a cluster starts
// or one ends: a consonant, a vowel, ASCII; no sign, modifier, nukta, halant, repha or the
// vocalic RR sign, all of which belong to the cluster before) and that a piece may follow (no
// halant, invisible consonant or attribute code, which read the code after them, nor a repha
// after a shown halant, which reads the code after the repha). Both read as alone when the one
// before may be followed and the one after may follow.
enum : uint8_t { kIsciiMayFollow = 1, kIsciiMayBeFollowed = 2 };
uint8_t IsciiJoins(const uint8_t *iscii, size_t k);

// ISCII of UTF-8 text, as glyph text gives it: RRA and U+0CDE as the invisible consonant with
// RA and LLA, a dead consonant with its halant shown (two halants; a dead NA as 199), a repha
// after its cluster. Bytes that are not UTF-8 and characters outside ASCII and Kannada are
// dropped. Appends to `out`.
void UnicodeToIscii(const uint8_t *utf8, size_t length, std::string &out);
// The same for UTF-8 text of at most kShortUnicode bytes, into `out`, with room for
// kIsciiPerUnicode bytes a byte; returns the count (no terminator). No allocation.
constexpr size_t kShortUnicode = 1024;
constexpr size_t kIsciiPerUnicode = 3;
size_t ShortUnicodeToIscii(const uint8_t *utf8, size_t length, uint8_t *out);

// Two steps of glyph text to Unicode beside the normalisation and the table reading, for
// what the keyboard types in ways the tables do not take: monolingual glyphs before the
// normalisation (returns their new count), and the ISCII read from them.
size_t ReadAsTyped(uint8_t *glyphs, size_t m);
void OrderArchaicSubscripts(uint8_t *iscii, size_t k);

// The UTF-8 of n glyphs (glyphs[n] readable, a NUL) into `out`, with room for
// kUnicodePerIscii * kIsciiPerGlyph bytes a glyph and kGlyphUtf8Slack more; returns the count.
constexpr size_t kGlyphUtf8Slack = 64;
size_t GlyphsToUtf8(const uint8_t *glyphs, size_t n, bool bilingual, uint8_t *out);

// The same for the glyphs of one syllable, the plain way, and where they may meet glyphs before
// and after them and read as they read alone (kIsciiMayFollow, kIsciiMayBeFollowed): as their
// ISCII joins, where no step on glyphs reads across either end.
size_t GlyphSyllableToUtf8(const uint8_t *glyphs, size_t n, bool bilingual, uint8_t *out, uint8_t &joins);

// The glyph-to-Unicode exports' work, into the caller's dst.
int GlyphToUnicodeExport(const char *src, char *dst, unsigned int dstSize, bool bilingual);

// Glyph text of UTF-8 text (through ISCII and the composer) and UTF-8 of glyph text, in the
// bilingual encoding or the monolingual one, into `out` (replacing what it held). They convert
// whatever they are given: the exports from Unicode first leave out what is not held.
void UnicodeToGlyphs(const uint8_t *utf8, size_t length, bool bilingual, std::string &out);
void GlyphsToUnicode(const uint8_t *glyphs, size_t length, bool bilingual, std::string &out);

// The UTF-8 of a monolingual glyph string of at most kShortGlyphText glyphs, as
// ToviMonolingualGlyph2Unicode gives it, with no allocation and no last error: at most
// kUnicodePerIscii * kIsciiPerGlyph bytes a glyph to `out` (no terminator); returns the count.
constexpr size_t kShortGlyphText = 256;
size_t ShortGlyphsToUnicode(const uint8_t *glyphs, size_t n, uint8_t *out);
