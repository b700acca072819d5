// The conversion tables: what glyph sequences stand for in ISCII, the keystrokes of ISCII
// letters, KSCLP corrections and the mapping between the two glyph encodings. Parsed once per
// process from the resource "TOVI_ISCII_DATA" and read-only afterwards.
#pragma once

#include <atomic>
#include <cstdint>

// Fixed capacities; rows are numbered from 1 and unfilled rows stay zero (a zero row never
// matches, since no input string holds a zero byte).
constexpr int kOneGlyphRows = 163;
constexpr int kTwoGlyphRows = 40;
constexpr int kThreeGlyphRows = 13;
constexpr int kFourGlyphRows = 13;
constexpr int kFiveGlyphRows = 6;
constexpr int kOttaksharaRows = 37;
constexpr int kStrokesRows = 65;
constexpr int kSortCodeRows = 11;
constexpr int kMono2BilingualRows = 180;
constexpr int kIscii2BilingualRows = 53;
constexpr int kIscii2KsclpRows = 53;

struct ConversionTables {
    uint8_t oneGlyph[kOneGlyphRows + 1][3];      // glyph; ISCII 1, 2
    uint8_t twoGlyph[kTwoGlyphRows + 1][4];      // glyph 1, 2; ISCII 1, 2
    uint8_t threeGlyph[kThreeGlyphRows + 1][5];  // glyph 1..3; ISCII 1, 2
    uint8_t fourGlyph[kFourGlyphRows + 1][6];    // glyph 1..4; ISCII 1, 2
    uint8_t fiveGlyph[kFiveGlyphRows + 1][7];    // glyph 1..5; ISCII 1, 2
    uint8_t ottakshara[kOttaksharaRows + 1][4];  // subscript glyph; ISCII 1..3
    uint8_t strokes[kStrokesRows + 1][2];        // ISCII code; key letter
    uint8_t sortCode[kSortCodeRows + 1][2];      // shifted ISCII code; KSCLP byte
    uint8_t mono2Bilingual[kMono2BilingualRows + 1][2];
    uint8_t iscii2Bilingual[kIscii2BilingualRows + 1][2];  // ASCII letter; monolingual code
    uint8_t iscii2Ksclp[kIscii2KsclpRows + 1][2];          // ASCII letter; KSCLP byte
};

extern ConversionTables Conversion;

// Lookups built from the tables at the end of loading. Each gives exactly the first matching
// row of a scan from row 1, so the per-byte converters need no scan.
struct ConversionIndex {
    uint8_t mono2Bilingual[256];  // identity where no row has the code
    uint8_t bilingual2Mono[256];
    bool hasBilingual2Mono[256];

    // First row (0: none) of the one-glyph and subscript tables with glyph g.
    uint8_t oneGlyphRow[256];
    uint8_t ottaksharaRow[256];
    // First <TwoGlyph> row for the pair (g1, g2); 0 none.
    uint8_t twoGlyphRow[256][256];
    // Bit n - 3 set when some <NGlyph> row (n = 3, 4, 5) starts with g: only then is that
    // table scanned; bit 3 when a <TwoGlyph> row does.
    uint8_t longerGlyphRows[256];
    // The same bits for the first two glyphs of the rows: a row is compared only when both
    // match.
    uint8_t glyphPairRows[256][256];
    // What a single glyph gives in glyph-to-ISCII: its count of ISCII bytes, then the bytes.
    // [0] as the monolingual export reads it (a subscript only from <Ottakshara>, the
    // connecting piece 192 nothing), [1] as the bilingual one does (<OneGlyph>, then
    // <Ottakshara>).
    uint8_t singleGlyphIscii[2][256][4];
    // The ASCII letter of a Latin-letter code of the monolingual encoding (0: none); the
    // second list leaves out the codes that are Kannada glyphs as well.
    uint8_t letterOfLatinCode[256];
    uint8_t letterOfPlainLatinCode[256];
    // Keystroke letter of an ISCII code (0: no row).
    uint8_t strokeKey[256];
    // A code after the shift of the sort key, corrected by <KSCSSortCode> (identity: no row).
    uint8_t sortCode[256];
    // ASCII letter of a monolingual Latin-letter code and back (0: no row).
    uint8_t letterOfMono[256];
    uint8_t monoOfLetter[256];
    // KSCLP byte of an ASCII letter (identity: no row).
    uint8_t ksclpOfLetter[256];
};

extern ConversionIndex ConversionLookup;

// 1 when the text was parsed to its end, 0 when the resource could not be found, loaded or
// locked. Sets the last-error value to 0 first.
int LoadConversionData();

// The next token of the conversion text into a 32-byte buffer that the caller empties first.
void NextConversionToken(char *token);

// Rebuilds ConversionLookup from the tables.
void IndexConversionTables();

// Counts the times the conversion or layout tables were indexed: what was worked out from them
// before belongs to the earlier count.
extern std::atomic<unsigned> ConversionTablesGeneration;

// Empties the tables and rewinds the tokenizer, for a process (a test) that loads again.
void ResetConversionData();
