// The layout data loader: the grammar's corner cases, data that is faulty (too many rows,
// over-long tokens, a missing resource), and the lookups against a plain scan.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "compose/layout_data.h"
#include "kannada-tovi-desktop.h"
#include "../support/table_rows.h"

namespace {

template <size_t Columns>
std::vector<int32_t> Row(const int32_t (&row)[Columns]) {
    return std::vector<int32_t>(row, row + Columns);
}

int LoadText(const std::string &text) {
    ToviDesktopSetResource("LAYOUT", "TOVI_DATA", text.data(), text.size());
    ResetLayoutData();
    return LoadLayoutData();
}

class LayoutDataTest : public ::testing::Test {
protected:
    void TearDown() override {
        ToviDesktopRestoreResources();
        ResetLayoutData();
        LoadLayoutData();
    }
};

TEST_F(LayoutDataTest, GrammarCornerCases) {
    // A comment word that equals a tag switches the section; a second section of the same
    // table writes again from row 1 and leaves the rows beyond its length.
    ASSERT_EQ(LoadText("<Comment> free text <Swara> a 67 0 b 1 2\r\n"
                       "<Kagunitha> k f 1 239 0 0 0 k A 1 193 0 0 0\n"
                       "<Comment> more words\t<Kagunitha>\tg f 1 239 0 0 0"),  // no line end
              1);
    EXPECT_EQ(Row(Layout.swara[1]), (std::vector<int32_t>{'a', 67, 0}));
    EXPECT_EQ(Row(Layout.swara[2]), (std::vector<int32_t>{'b', 1, 2}));
    EXPECT_EQ(Row(Layout.kagunitha[1]), (std::vector<int32_t>{'g', 'f', 1, 239, 0, 0, 0}));
    EXPECT_EQ(Row(Layout.kagunitha[2]), (std::vector<int32_t>{'k', 'A', 1, 193, 0, 0, 0}));

    // A tag in the middle of a row starts the next section at row 1, column 1; tokens before
    // the first tag and tokens without digits are harmless; a key column keeps the first byte.
    ASSERT_EQ(LoadText("9 9 9 <Vyanjana> kx 80 192 <SwaraChinhe> f x12 -3 4\r\n"), 1);
    EXPECT_EQ(Row(Layout.vyanjana[1]), (std::vector<int32_t>{'k', 80, 192, 0, 0, 0}));
    EXPECT_EQ(Row(Layout.swaraChinhe[1]), (std::vector<int32_t>{'f', 0, -3, 4}));
    EXPECT_EQ(FilledRows(Layout.swara), 0);
}

TEST_F(LayoutDataTest, RowsPastACapacityAndLongTokensStayInsideTheTables) {
    // 20 Swara rows into a table of 16; then a Vyanjana row that must land in row 1 intact.
    std::string text = "<Swara>\r\n";
    for (int i = 0; i < 20; i++) text += "a " + std::to_string(100 + i) + " 7\r\n";
    // Over-long tokens: cut at 31 bytes, never written past the token buffer.
    std::string longKey(300, 'q');
    std::string longNumber = "12" + std::string(200, '9');
    text += "<Vyanjana> " + longKey + " " + longNumber + " 1 2 3 4\r\n";
    text += "<" + std::string(40, 'x') + "> <OvelOmitor> K 8 8 82\r\n";
    ASSERT_EQ(LoadText(text), 1);
    EXPECT_EQ(FilledRows(Layout.swara), kSwaraRows);
    EXPECT_EQ(Layout.swara[kSwaraRows][1], 100 + kSwaraRows - 1);
    EXPECT_EQ(Layout.vyanjana[0][0], 0);  // row 0 is never written
    EXPECT_EQ(Layout.vyanjana[1][0], 'q');
    EXPECT_EQ(Layout.vyanjana[1][2], 1);
    EXPECT_EQ(Layout.vyanjana[1][5], 4);
    EXPECT_EQ(Layout.vyanjana[2][0], '<');  // the cut tag is no tag: a key of row 2
    EXPECT_EQ(FilledRows(Layout.vyanjana), 2);
    EXPECT_EQ(Row(Layout.ovelOmitor[1]), (std::vector<int32_t>{'K', 8, 8, 82}));

    // A table filled far past every capacity: nothing outside the tables changes.
    std::string flood;
    const char *tags[] = {"<Swara>", "<Vyanjana>", "<SwaraChinhe>", "<Kagunitha>", "<OvelOmitor>",
                          "<SpecialKagunitha>"};
    for (const char *tag : tags) {
        flood += tag;
        for (int i = 0; i < 3000; i++) flood += " z";
        flood += "\n";
    }
    ASSERT_EQ(LoadText(flood), 1);
    EXPECT_EQ(FilledRows(Layout.kagunitha), kKagunithaRows);
    EXPECT_EQ(FilledRows(Layout.specialKagunitha), kSpecialKagunithaRows);
    EXPECT_EQ(Layout.swara[0][0], 0);
    EXPECT_EQ(Layout.specialKagunitha[0][0], 0);
}

TEST_F(LayoutDataTest, MissingResourceLeavesTablesZero) {
    ToviDesktopSetResource("LAYOUT", "TOVI_DATA", nullptr, 0);
    ResetLayoutData();
    EXPECT_EQ(LoadLayoutData(), 0);
    LayoutTables zero;
    std::memset(&zero, 0, sizeof zero);
    EXPECT_EQ(std::memcmp(&Layout, &zero, sizeof zero), 0);
    EXPECT_EQ(FindSwaraRow('a'), 0);
    EXPECT_EQ(FindSwaraRow(0), 0);  // a zero key matches no empty row
}

// The row a scan from row 1 finds first; with the key engine the vowel "A" of the two
// Kagunitha tables reads as "a".
template <size_t Rows, size_t Columns>
int ScanRow(const int32_t (&table)[Rows][Columns], int base, int key, bool pair, bool keyEngine) {
    if (key == 0 || (pair && base == 0)) return 0;
    for (size_t r = 1; r < Rows; r++) {
        int32_t vowel = table[r][pair ? 1 : 0];
        if (pair && keyEngine && vowel == 'A') vowel = 'a';
        if ((!pair || table[r][0] == base) && vowel == key) return static_cast<int>(r);
    }
    return 0;
}

void ExpectLookupsAsTheScan() {
    for (int key = 0; key < 256; key++) {
        ASSERT_EQ(FindSwaraRow(key), ScanRow(Layout.swara, 0, key, false, false)) << key;
        ASSERT_EQ(FindVyanjanaRow(key), ScanRow(Layout.vyanjana, 0, key, false, false)) << key;
        ASSERT_EQ(FindSwaraChinheRow(key), ScanRow(Layout.swaraChinhe, 0, key, false, false)) << key;
        ASSERT_EQ(FindOvelOmitorRow(key), ScanRow(Layout.ovelOmitor, 0, key, false, false)) << key;
        for (int base = 0; base < 256; base++)
            for (bool engine : {false, true}) {
                ASSERT_EQ(FindKagunithaRow(base, key, engine), ScanRow(Layout.kagunitha, base, key, true, engine))
                    << base << " " << key << " " << engine;
                ASSERT_EQ(FindSpecialKagunithaRow(base, key, engine),
                          ScanRow(Layout.specialKagunitha, base, key, true, engine))
                    << base << " " << key << " " << engine;
            }
    }
}

TEST_F(LayoutDataTest, LookupsGiveTheFirstRowOfTheScan) {
    ExpectLookupsAsTheScan();
    EXPECT_NE(FindKagunithaRow('k', 'A', false), 0);
    EXPECT_EQ(FindKagunithaRow('k', 'A', true), 0);
    EXPECT_EQ(FindKagunithaRow('k', 'a', true), FindKagunithaRow('k', 'A', false));
    // Rows of one key in several places, "a" and "A" rows of one consonant in both orders.
    ASSERT_EQ(LoadText("<Swara> a 1 0 b 2 0 a 3 0 <Kagunitha> k i 0 1 0 0 0 g A 0 2 0 0 0 k A 0 3 0 0 0 "
                       "k a 0 4 0 0 0 g i 0 5 0 0 0 g a 0 6 0 0 0 k i 0 7 0 0 0 "
                       "<SpecialKagunitha> j a 0 1 0 0 0 0 j A 0 2 0 0 0 0"),
              1);
    ExpectLookupsAsTheScan();
    EXPECT_EQ(FindSwaraRow('a'), 1);
    EXPECT_EQ(FindKagunithaRow('k', 'a', true), 3);
    EXPECT_EQ(FindKagunithaRow('g', 'a', true), 2);
    EXPECT_EQ(FindSpecialKagunithaRow('j', 'a', false), 1);
}

}  // namespace
