// The layout data loader: the shipped text, the grammar's corner cases, the key engine, and
// data that is faulty (too many rows, over-long tokens, a missing resource).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/layout_data.h"
#include "engine/shared_state.h"
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
        Shared->keyEngineSwitch = 0;
        ToviDesktopRestoreResources();
        ResetLayoutData();
        LoadLayoutData();
    }
};

TEST_F(LayoutDataTest, ShippedTextFillsEveryTableWithItsRows) {
    ResetLayoutData();
    LibraryLastError = -3;
    ASSERT_EQ(LoadLayoutData(), 1);
    EXPECT_EQ(LibraryLastError, -3);  // the loader leaves the last error alone
    EXPECT_EQ(FilledRows(Layout.swara), 16);
    EXPECT_EQ(FilledRows(Layout.vyanjana), 34);
    EXPECT_EQ(FilledRows(Layout.swaraChinhe), 13);
    EXPECT_EQ(FilledRows(Layout.kagunitha), 321);
    EXPECT_EQ(FilledRows(Layout.ovelOmitor), 12);
    EXPECT_EQ(FilledRows(Layout.specialKagunitha), 52);
}

TEST_F(LayoutDataTest, ShippedRowsHoldTheirValues) {
    // "F" and "240 0" in one field still fill the row's three columns.
    EXPECT_EQ(Row(Layout.swara[FindSwaraRow('F')]), (std::vector<int32_t>{'F', 240, 0}));
    EXPECT_EQ(Row(Layout.vyanjana[FindVyanjanaRow('y')]), (std::vector<int32_t>{'y', 65, 105, 192, 196, 229}));
    EXPECT_EQ(Row(Layout.vyanjana[FindVyanjanaRow('r')]), (std::vector<int32_t>{'r', 103, 192, 0, 0, 230}));
    // Two values in one field fill two columns: "m U" and "y O" keep all seven columns.
    EXPECT_EQ(Row(Layout.kagunitha[FindKagunithaRow('m', 'U')]), (std::vector<int32_t>{'m', 'U', 1, 196, 198, 0, 0}));
    EXPECT_EQ(Row(Layout.kagunitha[FindKagunithaRow('y', 'O')]), (std::vector<int32_t>{'y', 'O', 2, 201, 198, 195, 0}));
    EXPECT_EQ(Row(Layout.kagunitha[FindKagunithaRow('v', 'u')]), (std::vector<int32_t>{'v', 'u', 0, 197, 0, 0, 0}));
    EXPECT_EQ(Row(Layout.kagunitha[FindKagunithaRow('W', 'I')]), (std::vector<int32_t>{'W', 'I', 3, 114, 252, 195, 0}));
    EXPECT_EQ(Row(Layout.specialKagunitha[FindSpecialKagunithaRow('P', 'I')]),
              (std::vector<int32_t>{'P', 'I', 4, 166, 252, 251, 195, 0}));
    EXPECT_EQ(Row(Layout.specialKagunitha[FindSpecialKagunithaRow('j', 'O')]),
              (std::vector<int32_t>{'j', 'O', 2, 101, 243, 201, 198, 195}));
    // The placeholder row of OvelOmitor keeps the byte of "0".
    EXPECT_EQ(Row(Layout.ovelOmitor[1]), (std::vector<int32_t>{'0', 0, 0, 0}));
    EXPECT_EQ(Row(Layout.ovelOmitor[FindOvelOmitorRow('j')]), (std::vector<int32_t>{'j', 8, 8, 100}));
    // Tables in the file's order; Z and z have no Kagunitha rows, N has no i and I rows.
    EXPECT_EQ(Layout.kagunitha[1][0], 'k');
    EXPECT_EQ(Layout.kagunitha[321][0], 'L');
    EXPECT_EQ(FindKagunithaRow('Z', 'i'), 0);
    EXPECT_EQ(FindKagunithaRow('N', 'i'), 0);
    EXPECT_NE(FindKagunithaRow('N', 'e'), 0);
}

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

TEST_F(LayoutDataTest, KeyEngineRewritesLongAOnce) {
    ResetLayoutData();
    Shared->keyEngineSwitch = 1;  // set before this process loads the data
    ASSERT_EQ(LoadLayoutData(), 1);
    EXPECT_EQ(Row(Layout.kagunitha[FindKagunithaRow('k', 'a')]), (std::vector<int32_t>{'k', 'a', 1, 193, 0, 0, 0}));
    for (int r = 1; r <= kKagunithaRows; r++) EXPECT_NE(Layout.kagunitha[r][1], 'A') << "row " << r;
    for (int r = 1; r <= kSpecialKagunithaRows; r++) EXPECT_NE(Layout.specialKagunitha[r][1], 'A');
    EXPECT_NE(FindSpecialKagunithaRow('j', 'a'), 0);
    // The other tables keep their "A".
    EXPECT_NE(FindSwaraRow('A'), 0);
}

}  // namespace
