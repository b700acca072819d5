#include "conversion_data.h"

#include <cstring>

#include "data_text.h"
#include "glyph_classes.h"
#include "last_error.h"

ConversionTables Conversion;
ConversionIndex ConversionLookup;

namespace {

DataTextCursor conversionText;

struct Section {
    const char *header;
    uint8_t *cells;  // row 0 first; row r, column c at cells[r * columns + c - 1]
    int columns;
    int capacity;
    int letterColumn;  // a column that keeps the token's first byte instead of a number; 0 none
};

// In the order the loader compares headers; "<Comment>" opens no table.
const Section kSections[] = {
    {"<Comment>", nullptr, 0, 0, 0},
    {"<OneGlyph>", &Conversion.oneGlyph[0][0], 3, kOneGlyphRows, 0},
    {"<TwoGlyph>", &Conversion.twoGlyph[0][0], 4, kTwoGlyphRows, 0},
    {"<ThreeGlyph>", &Conversion.threeGlyph[0][0], 5, kThreeGlyphRows, 0},
    {"<FourGlyph>", &Conversion.fourGlyph[0][0], 6, kFourGlyphRows, 0},
    {"<FiveGlyph>", &Conversion.fiveGlyph[0][0], 7, kFiveGlyphRows, 0},
    {"<Ottakshara>", &Conversion.ottakshara[0][0], 4, kOttaksharaRows, 0},
    {"<Strokes>", &Conversion.strokes[0][0], 2, kStrokesRows, 2},
    {"<KSCSSortCode>", &Conversion.sortCode[0][0], 2, kSortCodeRows, 0},
    {"<Mono2Bilingual>", &Conversion.mono2Bilingual[0][0], 2, kMono2BilingualRows, 0},
    {"<ISCII2Bilingual>", &Conversion.iscii2Bilingual[0][0], 2, kIscii2BilingualRows, 0},
    {"<ISCII2KSCLP>", &Conversion.iscii2Ksclp[0][0], 2, kIscii2KsclpRows, 0},
};

// Keeps the first row for a key: the rows are visited from row 1, so a later row with the
// same key never replaces it. Key 0 never occurs in a string and is not indexed.
void KeepFirst(uint8_t &slot, uint8_t key, int row) {
    if (key != 0 && slot == 0) slot = static_cast<uint8_t>(row);
}

void IndexGlyphTables(ConversionIndex &x) {
    std::memset(x.oneGlyphRow, 0, sizeof x.oneGlyphRow);
    std::memset(x.ottaksharaRow, 0, sizeof x.ottaksharaRow);
    std::memset(x.twoGlyphRow, 0, sizeof x.twoGlyphRow);
    std::memset(x.longerGlyphRows, 0, sizeof x.longerGlyphRows);
    for (int r = 1; r <= kOneGlyphRows; r++) KeepFirst(x.oneGlyphRow[Conversion.oneGlyph[r][0]], Conversion.oneGlyph[r][0], r);
    for (int r = 1; r <= kOttaksharaRows; r++)
        KeepFirst(x.ottaksharaRow[Conversion.ottakshara[r][0]], Conversion.ottakshara[r][0], r);
    for (int r = 1; r <= kTwoGlyphRows; r++) {
        uint8_t a = Conversion.twoGlyph[r][0], b = Conversion.twoGlyph[r][1];
        if (b != 0) KeepFirst(x.twoGlyphRow[a][b], a, r);
    }
    for (int r = 1; r <= kThreeGlyphRows; r++) x.longerGlyphRows[Conversion.threeGlyph[r][0]] |= 1;
    for (int r = 1; r <= kFourGlyphRows; r++) x.longerGlyphRows[Conversion.fourGlyph[r][0]] |= 2;
    for (int r = 1; r <= kFiveGlyphRows; r++) x.longerGlyphRows[Conversion.fiveGlyph[r][0]] |= 4;
    for (int r = 1; r <= kTwoGlyphRows; r++)
        if (Conversion.twoGlyph[r][1] != 0) x.longerGlyphRows[Conversion.twoGlyph[r][0]] |= 8;
    x.longerGlyphRows[0] = 0;
    std::memset(x.glyphPairRows, 0, sizeof x.glyphPairRows);
    for (int r = 1; r <= kThreeGlyphRows; r++) x.glyphPairRows[Conversion.threeGlyph[r][0]][Conversion.threeGlyph[r][1]] |= 1;
    for (int r = 1; r <= kFourGlyphRows; r++) x.glyphPairRows[Conversion.fourGlyph[r][0]][Conversion.fourGlyph[r][1]] |= 2;
    for (int r = 1; r <= kFiveGlyphRows; r++) x.glyphPairRows[Conversion.fiveGlyph[r][0]][Conversion.fiveGlyph[r][1]] |= 4;
    for (int a = 0; a < 256; a++)
        for (int b = 0; b < 256; b++)
            if (x.twoGlyphRow[a][b]) x.glyphPairRows[a][b] |= 8;
    for (int b = 0; b < 256; b++) x.glyphPairRows[0][b] = x.glyphPairRows[b][0] = 0;

    for (int g = 0; g < 256; g++)
        for (int bilingual = 0; bilingual < 2; bilingual++) {
            uint8_t *out = x.singleGlyphIscii[bilingual][g];
            std::memset(out, 0, 4);
            bool subscriptOnly = !bilingual && (IsSubscriptGlyph(static_cast<uint8_t>(g)) || g == 249 || g == 250);
            if (!bilingual && g == 192) continue;
            const uint8_t *columns = nullptr;
            int count = 0;
            if (!subscriptOnly && x.oneGlyphRow[g]) {
                columns = Conversion.oneGlyph[x.oneGlyphRow[g]] + 1;
                count = 2;
            } else if (x.ottaksharaRow[g]) {
                columns = Conversion.ottakshara[x.ottaksharaRow[g]] + 1;
                count = 3;
            }
            for (int c = 0; c < count; c++)  // only the non-zero columns, in order
                if (columns[c]) out[++out[0]] = columns[c];
        }
}

void IndexLetterTables(ConversionIndex &x) {
    uint8_t strokeRow[256] = {}, sortRow[256] = {}, letterRow[256] = {}, monoRow[256] = {},
            ksclpRow[256] = {};
    for (int r = 1; r <= kStrokesRows; r++) KeepFirst(strokeRow[Conversion.strokes[r][0]], Conversion.strokes[r][0], r);
    for (int r = 1; r <= kSortCodeRows; r++) KeepFirst(sortRow[Conversion.sortCode[r][0]], Conversion.sortCode[r][0], r);
    for (int r = 1; r <= kIscii2BilingualRows; r++) {
        KeepFirst(monoRow[Conversion.iscii2Bilingual[r][0]], Conversion.iscii2Bilingual[r][0], r);
        KeepFirst(letterRow[Conversion.iscii2Bilingual[r][1]], Conversion.iscii2Bilingual[r][1], r);
    }
    for (int r = 1; r <= kIscii2KsclpRows; r++) KeepFirst(ksclpRow[Conversion.iscii2Ksclp[r][0]], Conversion.iscii2Ksclp[r][0], r);
    // A row whose value is 0 would end a string in the middle; only faulty data has one, and
    // it is treated as absent.
    for (int b = 0; b < 256; b++) {
        x.strokeKey[b] = strokeRow[b] ? Conversion.strokes[strokeRow[b]][1] : 0;
        uint8_t sort = sortRow[b] ? Conversion.sortCode[sortRow[b]][1] : 0;
        x.sortCode[b] = sort ? sort : static_cast<uint8_t>(b);
        x.letterOfMono[b] = letterRow[b] ? Conversion.iscii2Bilingual[letterRow[b]][0] : 0;
        x.monoOfLetter[b] = monoRow[b] ? Conversion.iscii2Bilingual[monoRow[b]][1] : 0;
        uint8_t ksclp = ksclpRow[b] ? Conversion.iscii2Ksclp[ksclpRow[b]][1] : 0;
        x.ksclpOfLetter[b] = ksclp ? ksclp : static_cast<uint8_t>(b);
        uint8_t latin = IsMonolingualLatinCode(static_cast<uint8_t>(b)) ? x.letterOfMono[b] : 0;
        x.letterOfLatinCode[b] = latin;
        x.letterOfPlainLatinCode[b] = x.oneGlyphRow[b] || x.ottaksharaRow[b] ? 0 : latin;
    }
}

}  // namespace

void NextConversionToken(char *token) { NextDataToken(conversionText, token); }

int LoadConversionData() {
    LibraryLastError = 0;
    if (!OpenDataText("TOVI_ISCII_DATA", conversionText)) return 0;

    const Section *section = nullptr;  // values before the first header are ignored
    int row = 1, column = 1;
    char token[kDataTokenSize];
    for (;;) {
        token[0] = '\0';
        NextConversionToken(token);
        if (token[0] == '\0') break;
        const Section *header = nullptr;
        for (const Section &s : kSections)
            if (std::strcmp(token, s.header) == 0) {
                header = &s;
                break;
            }
        if (header) {
            section = header;
            row = column = 1;
            continue;
        }
        if (!section || !section->cells) continue;
        // Rows past the capacity are a fault of the data: they are read but not stored.
        if (row <= section->capacity) {
            uint8_t value = column == section->letterColumn
                                ? static_cast<uint8_t>(token[0])
                                : static_cast<uint8_t>(DataNumber(token));
            section->cells[row * section->columns + column - 1] = value;
        }
        if (++column > section->columns) {
            column = 1;
            row++;
        }
    }
    IndexConversionTables();
    return 1;
}

void IndexConversionTables() {
    ConversionIndex &x = ConversionLookup;
    bool seen[256] = {};
    for (int b = 0; b < 256; b++) {
        x.mono2Bilingual[b] = static_cast<uint8_t>(b);
        x.bilingual2Mono[b] = static_cast<uint8_t>(b);
        x.hasBilingual2Mono[b] = false;
    }
    for (int r = 1; r <= kMono2BilingualRows; r++) {
        uint8_t mono = Conversion.mono2Bilingual[r][0], bi = Conversion.mono2Bilingual[r][1];
        // A row that would map to 0 would end the string in the middle; such a row (only
        // faulty data has one) is treated as absent.
        if (mono == 0 || bi == 0) continue;
        if (!seen[mono]) {
            seen[mono] = true;
            x.mono2Bilingual[mono] = bi;
        }
        if (!x.hasBilingual2Mono[bi]) {
            x.hasBilingual2Mono[bi] = true;
            x.bilingual2Mono[bi] = mono;
        }
    }
    IndexGlyphTables(x);
    IndexLetterTables(x);
    ConversionTablesGeneration.fetch_add(1, std::memory_order_release);
}

std::atomic<unsigned> ConversionTablesGeneration{0};

void ResetConversionData() {
    std::memset(&Conversion, 0, sizeof Conversion);
    conversionText = DataTextCursor{};
    IndexConversionTables();
}
