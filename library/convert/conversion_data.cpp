#include "conversion_data.h"

#include <cstring>

#include "../engine/shared_state.h"
#include "data_text.h"

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
}

void ResetConversionData() {
    std::memset(&Conversion, 0, sizeof Conversion);
    conversionText = DataTextCursor{};
    IndexConversionTables();
}
