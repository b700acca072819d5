// The two data texts and their loaders: the grammar's corner cases, faulty data (rows past a
// capacity, over-long tokens, a zero byte, a missing resource), the first row of a code, and
// the layout's lookups against a plain scan.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/conversion_data.h"
#include "base/last_error.h"
#include "compose/layout_data.h"
#include "kannada-tovi-desktop.h"
#include "../support/table_rows.h"

namespace {

template <size_t Columns>
std::vector<int32_t> Row(const int32_t (&row)[Columns]) {
    return std::vector<int32_t>(row, row + Columns);
}

int LoadLayout(const std::string &text) {
    ToviDesktopSetResource("LAYOUT", "TOVI_DATA", text.data(), text.size());
    ResetLayoutData();
    return LoadLayoutData();
}

int LoadConversion(const std::string &text) {
    ToviDesktopSetResource("LAYOUT", "TOVI_ISCII_DATA", text.data(), text.size());
    ResetConversionData();
    return LoadConversionData();
}

class DataTexts : public ::testing::Test {
protected:
    void TearDown() override {
        ToviDesktopRestoreResources();
        ResetLayoutData();
        LoadLayoutData();
        ResetConversionData();
        LoadConversionData();
    }
};

TEST_F(DataTexts, GrammarCornerCases) {
    // Tags switch sections (a comment word that equals one too); a repeated section writes
    // again from row 1 and leaves the rows beyond its length; tabs, CR LF and LF alike; the
    // last value is read without a line end.
    ASSERT_EQ(LoadLayout("<Comment> free text <Swara> a 67 0 b 1 2\r\n"
                         "<Kagunitha> k f 1 239 0 0 0 k A 1 193 0 0 0\n"
                         "<Comment> more words\t<Kagunitha>\tg f 1 239 0 0 0"),
              1);
    EXPECT_EQ(Row(Layout.swara[2]), (std::vector<int32_t>{'b', 1, 2}));
    EXPECT_EQ(Row(Layout.kagunitha[1]), (std::vector<int32_t>{'g', 'f', 1, 239, 0, 0, 0}));
    EXPECT_EQ(Row(Layout.kagunitha[2]), (std::vector<int32_t>{'k', 'A', 1, 193, 0, 0, 0}));
    // A tag in the middle of a row starts the next section at row 1, column 1; tokens before
    // the first tag and tokens without digits are harmless; a key column keeps the first byte.
    ASSERT_EQ(LoadLayout("9 9 9 <Vyanjana> kx 80 192 <SwaraChinhe> f x12 -3 4\r\n"), 1);
    EXPECT_EQ(Row(Layout.vyanjana[1]), (std::vector<int32_t>{'k', 80, 192, 0, 0, 0}));
    EXPECT_EQ(Row(Layout.swaraChinhe[1]), (std::vector<int32_t>{'f', 0, -3, 4}));
    // The conversion text keeps a byte: the low one of a number.
    ASSERT_EQ(LoadConversion("<TwoGlyph> 73 196 170 <KSCSSortCode>\t-3 300\r\n1"), 1);
    EXPECT_EQ(Conversion.twoGlyph[1][2], 170);
    EXPECT_EQ(Conversion.sortCode[1][0], 253);
    EXPECT_EQ(Conversion.sortCode[1][1], 44);
    EXPECT_EQ(Conversion.sortCode[2][0], 1);
}

TEST_F(DataTexts, FaultyDataStaysInsideTheTables) {
    // 20 Swara rows into a table of 16; over-long tokens are cut at 31 bytes (a cut tag is no
    // tag); every layout table filled far past its capacity.
    std::string text = "<Swara>\r\n";
    for (int i = 0; i < 20; i++) text += "a " + std::to_string(100 + i) + " 7\r\n";
    text += "<Vyanjana> " + std::string(300, 'q') + " 12" + std::string(200, '9') + " 1 2 3 4\r\n";
    text += "<" + std::string(40, 'x') + "> <OvelOmitor> K 8 8 82\r\n";
    for (const char *tag : {"<Kagunitha>", "<SpecialKagunitha>"}) {
        text += tag;
        for (int i = 0; i < 3000; i++) text += " z";
        text += "\n";
    }
    ASSERT_EQ(LoadLayout(text), 1);
    EXPECT_EQ(FilledRows(Layout.swara), kSwaraRows);
    EXPECT_EQ(Layout.swara[kSwaraRows][1], 100 + kSwaraRows - 1);
    EXPECT_EQ(Row(Layout.vyanjana[0]), (std::vector<int32_t>(6, 0)));  // row 0 is never written
    EXPECT_EQ(Layout.vyanjana[1][0], 'q');
    EXPECT_EQ(Layout.vyanjana[1][5], 4);
    EXPECT_EQ(Layout.vyanjana[2][0], '<');
    EXPECT_EQ(Row(Layout.ovelOmitor[1]), (std::vector<int32_t>{'K', 8, 8, 82}));
    EXPECT_EQ(FilledRows(Layout.kagunitha), kKagunithaRows);
    EXPECT_EQ(FilledRows(Layout.specialKagunitha), kSpecialKagunithaRows);
    // 250 rows for a table of 180: the tables laid out after it keep what they had. The text
    // ends at its first zero byte.
    text = "<ISCII2Bilingual> 65 127 <Mono2Bilingual>";
    for (int r = 0; r < 250; r++) text += " 200 201";
    text += std::string("\n<Strokes> 180 Q\0 181 g", 24);
    ASSERT_EQ(LoadConversion(text), 1);
    EXPECT_EQ(FilledRows(Conversion.mono2Bilingual), 180);
    EXPECT_EQ(FilledRows(Conversion.iscii2Bilingual), 1);
    EXPECT_EQ(Conversion.iscii2Bilingual[0][0] | Conversion.iscii2Bilingual[0][1], 0);  // not even its row 0
    EXPECT_EQ(FilledRows(Conversion.iscii2Ksclp), 0);
    EXPECT_EQ(FilledRows(Conversion.strokes), 1);
}

TEST_F(DataTexts, AMissingResourceLeavesTheTablesZero) {
    ToviDesktopSetResource("LAYOUT", "TOVI_DATA", nullptr, 0);
    ToviDesktopSetResource("LAYOUT", "TOVI_ISCII_DATA", nullptr, 0);
    ResetLayoutData();
    ResetConversionData();
    LibraryLastError = -4;
    EXPECT_EQ(LoadLayoutData(), 0);
    EXPECT_EQ(LibraryLastError, -4);  // the layout loader leaves the last error alone
    EXPECT_EQ(LoadConversionData(), 0);
    EXPECT_EQ(LibraryLastError, 0);  // the conversion loader clears it first
    LayoutTables layout;
    ConversionTables conversion;
    std::memset(&layout, 0, sizeof layout);
    std::memset(&conversion, 0, sizeof conversion);
    EXPECT_EQ(std::memcmp(&Layout, &layout, sizeof layout), 0);
    EXPECT_EQ(std::memcmp(&Conversion, &conversion, sizeof conversion), 0);
    EXPECT_EQ(FindSwaraRow(0), 0);  // a zero key matches no empty row
    ToviDesktopRestoreResources();
    ToviDesktopFailNext("LoadResource");
    EXPECT_EQ(LoadConversionData(), 0);
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

TEST_F(DataTexts, LookupsGiveTheFirstRowOfTheScan) {
    ExpectLookupsAsTheScan();
    EXPECT_NE(FindKagunithaRow('k', 'A', false), 0);
    EXPECT_EQ(FindKagunithaRow('k', 'A', true), 0);
    EXPECT_EQ(FindKagunithaRow('k', 'a', true), FindKagunithaRow('k', 'A', false));
    // Rows of one key in several places, "a" and "A" rows of one consonant in both orders.
    ASSERT_EQ(LoadLayout("<Swara> a 1 0 b 2 0 a 3 0 <Kagunitha> k i 0 1 0 0 0 g A 0 2 0 0 0 k A 0 3 0 0 0 "
                         "k a 0 4 0 0 0 g i 0 5 0 0 0 g a 0 6 0 0 0 k i 0 7 0 0 0 "
                         "<SpecialKagunitha> j a 0 1 0 0 0 0 j A 0 2 0 0 0 0"),
              1);
    ExpectLookupsAsTheScan();
    EXPECT_EQ(FindKagunithaRow('k', 'a', true), 3);
    EXPECT_EQ(FindKagunithaRow('g', 'a', true), 2);
    // The conversion tables: the first row of a code counts, both ways.
    ASSERT_EQ(LoadConversion("<Mono2Bilingual> 65 129 65 130 66 129"), 1);
    EXPECT_EQ(ConversionLookup.mono2Bilingual[65], 129);
    EXPECT_EQ(ConversionLookup.bilingual2Mono[129], 65);
    EXPECT_EQ(ConversionLookup.mono2Bilingual[67], 67);  // no row: itself
}

}  // namespace
