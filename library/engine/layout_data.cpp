#include "layout_data.h"

#include <cstring>

#include "../convert/data_text.h"
#include "shared_state.h"

LayoutTables Layout;

namespace {

DataTextCursor layoutText;

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
    if (Shared->keyEngineSwitch) ApplyKeyEngine();
    return 1;
}

void ApplyKeyEngine() {
    for (int r = 1; r <= kKagunithaRows; r++)
        if (Layout.kagunitha[r][1] == 'A') Layout.kagunitha[r][1] = 'a';
    for (int r = 1; r <= kSpecialKagunithaRows; r++)
        if (Layout.specialKagunitha[r][1] == 'A') Layout.specialKagunitha[r][1] = 'a';
}

void ResetLayoutData() {
    std::memset(&Layout, 0, sizeof Layout);
    layoutText = DataTextCursor{};
}

// Scans from row 1 and takes the first match, as every lookup of the engine does.
int FindSwaraRow(int key) {
    if (key == 0) return 0;
    for (int r = 1; r <= kSwaraRows; r++)
        if (Layout.swara[r][0] == key) return r;
    return 0;
}

int FindVyanjanaRow(int key) {
    if (key == 0) return 0;
    for (int r = 1; r <= kVyanjanaRows; r++)
        if (Layout.vyanjana[r][0] == key) return r;
    return 0;
}

int FindSwaraChinheRow(int key) {
    if (key == 0) return 0;
    for (int r = 1; r <= kSwaraChinheRows; r++)
        if (Layout.swaraChinhe[r][0] == key) return r;
    return 0;
}

int FindKagunithaRow(int base, int key) {
    if (base == 0 || key == 0) return 0;
    for (int r = 1; r <= kKagunithaRows; r++)
        if (Layout.kagunitha[r][0] == base && Layout.kagunitha[r][1] == key) return r;
    return 0;
}

int FindOvelOmitorRow(int key) {
    if (key == 0) return 0;
    for (int r = 1; r <= kOvelOmitorRows; r++)
        if (Layout.ovelOmitor[r][0] == key) return r;
    return 0;
}

int FindSpecialKagunithaRow(int base, int key) {
    if (base == 0 || key == 0) return 0;
    for (int r = 1; r <= kSpecialKagunithaRows; r++)
        if (Layout.specialKagunitha[r][0] == base && Layout.specialKagunitha[r][1] == key) return r;
    return 0;
}
