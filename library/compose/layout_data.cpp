#include "layout_data.h"

#include <cstring>

#include "../base/conversion_data.h"
#include "../base/data_text.h"

LayoutTables Layout;

namespace {

DataTextCursor layoutText;

// The lookups, built from the tables: the first row of each key of the four one-key tables,
// and for the two tables keyed by consonant and vowel the rows of each consonant in table
// order (rows[first[c]] .. rows[first[c + 1] - 1]), whose vowels are then compared.
struct RowsByConsonant {
    uint16_t first[257];
    uint16_t rows[kKagunithaRows];
};

struct LayoutIndex {
    uint8_t swara[256];
    uint8_t vyanjana[256];
    uint8_t swaraChinhe[256];
    uint8_t ovelOmitor[256];
    RowsByConsonant kagunitha;
    RowsByConsonant specialKagunitha;
} lookup;

template <size_t Rows, size_t Columns>
void IndexFirstRows(const int32_t (&table)[Rows][Columns], uint8_t (&first)[256]) {
    std::memset(first, 0, sizeof first);
    for (size_t r = Rows - 1; r >= 1; r--) {  // from the last row up: the first row wins
        int32_t key = table[r][0];
        if (key > 0 && key < 256) first[key] = static_cast<uint8_t>(r);
    }
}

template <size_t Rows, size_t Columns>
void IndexByConsonant(const int32_t (&table)[Rows][Columns], RowsByConsonant &x) {
    uint16_t count[257] = {};
    for (size_t r = 1; r < Rows; r++)
        if (table[r][0] > 0 && table[r][0] < 256) count[table[r][0] + 1]++;
    x.first[0] = 0;
    for (int c = 0; c < 256; c++) x.first[c + 1] = static_cast<uint16_t>(x.first[c] + count[c + 1]);
    uint16_t next[256];
    std::memcpy(next, x.first, sizeof next);
    for (size_t r = 1; r < Rows; r++)
        if (table[r][0] > 0 && table[r][0] < 256) x.rows[next[table[r][0]]++] = static_cast<uint16_t>(r);
}

template <size_t Rows, size_t Columns>
int FindByConsonant(const int32_t (&table)[Rows][Columns], const RowsByConsonant &x, int base, int key,
                    bool keyEngine) {
    if (base <= 0 || base >= 256 || key == 0) return 0;
    for (int i = x.first[base]; i < x.first[base + 1]; i++) {
        int32_t vowel = table[x.rows[i]][1];
        if (keyEngine && vowel == 'A') vowel = 'a';
        if (vowel == key) return x.rows[i];
    }
    return 0;
}

int FirstRow(const uint8_t (&first)[256], int key) { return key > 0 && key < 256 ? first[key] : 0; }

struct Section {
    const char *tag;
    int32_t *cells;  // row r, column c (1-based) at cells[r * columns + c - 1]
    int columns;
    int capacity;
    int keyColumns;  // columns 1..keyColumns keep the token's first byte
};

const Section kSections[] = {
    {"<Comment>", nullptr, 0, 0, 0},
    {"<Swara>", &Layout.swara[0][0], 3, kSwaraRows, 1},
    {"<Vyanjana>", &Layout.vyanjana[0][0], 6, kVyanjanaRows, 1},
    {"<SwaraChinhe>", &Layout.swaraChinhe[0][0], 4, kSwaraChinheRows, 1},
    {"<Kagunitha>", &Layout.kagunitha[0][0], 7, kKagunithaRows, 2},
    {"<OvelOmitor>", &Layout.ovelOmitor[0][0], 4, kOvelOmitorRows, 1},
    {"<SpecialKagunitha>", &Layout.specialKagunitha[0][0], 8, kSpecialKagunithaRows, 2},
};

}  // namespace

void NextLayoutToken(char *token) { NextDataToken(layoutText, token); }

int LoadLayoutData() {
    if (!OpenDataText("TOVI_DATA", layoutText)) return 0;

    const Section *section = nullptr;  // tokens before the first tag are ignored
    int row = 1, column = 1;
    char token[kDataTokenSize];
    for (;;) {
        token[0] = '\0';
        NextLayoutToken(token);
        if (token[0] == '\0') break;
        const Section *tag = nullptr;
        for (const Section &s : kSections)
            if (std::strcmp(token, s.tag) == 0) {
                tag = &s;
                break;
            }
        if (tag) {
            section = tag;
            row = column = 1;
            continue;
        }
        if (!section || !section->cells) continue;
        // Rows past the capacity are a fault of the data: they are read but not stored.
        if (row <= section->capacity) {
            int32_t value = column <= section->keyColumns
                                ? static_cast<int32_t>(static_cast<unsigned char>(token[0]))
                                : static_cast<int32_t>(DataNumber(token));
            section->cells[row * section->columns + column - 1] = value;
        }
        if (++column > section->columns) {
            column = 1;
            if (row <= section->capacity) row++;
        }
    }
    IndexLayoutTables();
    return 1;
}

void IndexLayoutTables() {
    IndexFirstRows(Layout.swara, lookup.swara);
    IndexFirstRows(Layout.vyanjana, lookup.vyanjana);
    IndexFirstRows(Layout.swaraChinhe, lookup.swaraChinhe);
    IndexFirstRows(Layout.ovelOmitor, lookup.ovelOmitor);
    IndexByConsonant(Layout.kagunitha, lookup.kagunitha);
    IndexByConsonant(Layout.specialKagunitha, lookup.specialKagunitha);
    ConversionTablesGeneration.fetch_add(1, std::memory_order_release);  // the composer types by them
}

void ResetLayoutData() {
    std::memset(&Layout, 0, sizeof Layout);
    layoutText = DataTextCursor{};
    IndexLayoutTables();
}

int FindSwaraRow(int key) { return FirstRow(lookup.swara, key); }
int FindVyanjanaRow(int key) { return FirstRow(lookup.vyanjana, key); }
int FindSwaraChinheRow(int key) { return FirstRow(lookup.swaraChinhe, key); }
int FindOvelOmitorRow(int key) { return FirstRow(lookup.ovelOmitor, key); }

int FindKagunithaRow(int base, int key, bool keyEngine) {
    return FindByConsonant(Layout.kagunitha, lookup.kagunitha, base, key, keyEngine);
}

int FindSpecialKagunithaRow(int base, int key, bool keyEngine) {
    return FindByConsonant(Layout.specialKagunitha, lookup.specialKagunitha, base, key, keyEngine);
}
