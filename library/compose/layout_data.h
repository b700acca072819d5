// The phonetic keyboard layout: six fixed-size, 1-based tables parsed once per
// process from the resource "TOVI_DATA" and read by the composer on every keystroke.
#pragma once

#include <cstdint>

// Capacities in rows; row 0 is never used and rows the text does not fill stay zero (a zero
// key never equals a key, so empty rows never match).
constexpr int kSwaraRows = 16;
constexpr int kVyanjanaRows = 34;
constexpr int kSwaraChinheRows = 13;
constexpr int kKagunithaRows = 337;
constexpr int kOvelOmitorRows = 12;
constexpr int kSpecialKagunithaRows = 52;

// Every column is a 32-bit value: a key column holds the first byte of its token, the others
// the token read as a decimal number. Glyphs end at the first 0.
struct LayoutTables {
    int32_t swara[kSwaraRows + 1][3];                    // key; glyph 1, 2
    int32_t vyanjana[kVyanjanaRows + 1][6];              // key; glyph 1..4; subscript glyph
    int32_t swaraChinhe[kSwaraChinheRows + 1][4];        // key; glyph 1..3
    int32_t kagunitha[kKagunithaRows + 1][7];            // consonant; vowel; erase count; glyph 1..4
    int32_t ovelOmitor[kOvelOmitorRows + 1][4];          // key; byte 1..3 (8 is a Backspace)
    int32_t specialKagunitha[kSpecialKagunithaRows + 1][8];  // consonant; vowel; erase; glyph 1..5
};

extern LayoutTables Layout;

// 1 when the text was parsed to its end, 0 when the resource cannot be found, loaded or locked
// (the tables then stay zero). Indexes the tables. Does not touch the last-error value.
int LoadLayoutData();

// The next token of the layout text into a buffer of 32 bytes that the caller empties first;
// left empty at the end of the text. Its own cursor, never rewound.
void NextLayoutToken(char *token);

// Rebuilds the lookups from the tables, for a caller (a test) that changed them.
void IndexLayoutTables();

// Empties the tables and rewinds the tokenizer, for a process (a test) that loads again.
void ResetLayoutData();

// The first row of a table whose key (or keys) match, or 0, exactly as a scan from row 1
// finds it. Key 0 matches nothing. With the key engine (`keyEngine`), the vowel key "A" of the
// two Kagunitha tables reads as "a".
int FindSwaraRow(int key);
int FindVyanjanaRow(int key);
int FindSwaraChinheRow(int key);
int FindKagunithaRow(int base, int key, bool keyEngine);
int FindOvelOmitorRow(int key);
int FindSpecialKagunithaRow(int base, int key, bool keyEngine);
