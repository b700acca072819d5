// The conversion data loader: the grammar's corner cases, the first row of a code, and data
// that is faulty (too many rows, over-long tokens, a missing resource).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/conversion_data.h"
#include "base/data_text.h"
#include "base/last_error.h"
#include "kannada-tovi-desktop.h"
#include "../support/table_rows.h"

namespace {

// Loads `text` as the conversion resource, from a clean start.
int LoadText(const std::string &text) {
    ToviDesktopSetResource("LAYOUT", "TOVI_ISCII_DATA", text.data(), text.size());
    ResetConversionData();
    return LoadConversionData();
}

class ConversionDataTest : public ::testing::Test {
protected:
    void TearDown() override {
        ToviDesktopRestoreResources();
        ResetConversionData();
        LoadConversionData();
    }
};

TEST_F(ConversionDataTest, LoadingClearsTheLastErrorAndIndexesFirstRows) {
    LibraryLastError = -3;
    // Two rows for monolingual 65: the first one counts, both ways.
    ASSERT_EQ(LoadText("<Mono2Bilingual> 65 129 65 130 66 129"), 1);
    EXPECT_EQ(LibraryLastError, 0);
    EXPECT_EQ(ConversionLookup.mono2Bilingual[65], 129);
    EXPECT_EQ(ConversionLookup.bilingual2Mono[129], 65);
    EXPECT_EQ(ConversionLookup.mono2Bilingual[67], 67);  // no row: itself
}

TEST_F(ConversionDataTest, GrammarCornerCases) {
    // Tabs, spaces, CR LF and LF alike; the last value read without a line end.
    ASSERT_EQ(LoadText("<KSCSSortCode>\t210 237\r\n212\n232\r\n \t 213   233"), 1);
    EXPECT_EQ(Conversion.sortCode[2][1], 232);
    EXPECT_EQ(Conversion.sortCode[3][0], 213);
    EXPECT_EQ(Conversion.sortCode[3][1], 233);
    // A header inside a row starts the next section at its first row and column.
    ASSERT_EQ(LoadText("<TwoGlyph> 73 196 170 <Ottakshara> 204 232 179 0 205 232 180 0\r\n"), 1);
    EXPECT_EQ(Conversion.twoGlyph[1][2], 170);
    EXPECT_EQ(Conversion.twoGlyph[1][3], 0);
    EXPECT_EQ(Conversion.ottakshara[2][2], 180);
    // A repeated section writes again from row 1; values before the first header, comments
    // and tokens without digits are harmless; a number keeps its low byte.
    ASSERT_EQ(LoadText("7 8 <KSCSSortCode> 1 2 3 4 <Comment> 9 9 <KSCSSortCode> x12 -3 300 1\r\n"), 1);
    EXPECT_EQ(Conversion.sortCode[1][0], 0);
    EXPECT_EQ(Conversion.sortCode[1][1], 253);
    EXPECT_EQ(Conversion.sortCode[2][0], 44);
    EXPECT_EQ(Conversion.sortCode[2][1], 1);
}

TEST_F(ConversionDataTest, RowsPastTheCapacityNeverReachTheNextTable) {
    // 250 rows for a table of 180: the rows past it are dropped, and the tables laid out after
    // it in memory keep what they had.
    std::string text = "<ISCII2Bilingual> 65 127 <Mono2Bilingual>";
    for (int r = 0; r < 250; r++) text += " 200 201";
    text += "\r\n";
    ASSERT_EQ(LoadText(text), 1);
    EXPECT_EQ(FilledRows(Conversion.mono2Bilingual), 180);
    EXPECT_EQ(Conversion.iscii2Bilingual[1][0], 65);
    EXPECT_EQ(Conversion.iscii2Bilingual[1][1], 127);
    EXPECT_EQ(FilledRows(Conversion.iscii2Bilingual), 1);
    EXPECT_EQ(FilledRows(Conversion.iscii2Ksclp), 0);
}

TEST_F(ConversionDataTest, OverlongTokenIsCutAndTheNextTokenIsIntact) {
    std::string big(100, 'Q');
    ASSERT_EQ(LoadText("<Strokes> 180 " + big + " 181 g\r\n"), 1);
    EXPECT_EQ(Conversion.strokes[1][1], 'Q');
    EXPECT_EQ(Conversion.strokes[2][0], 181);
    EXPECT_EQ(Conversion.strokes[2][1], 'g');

    DataTextCursor cursor{big.c_str(), 0, big.size(), 0, false};
    char token[kDataTokenSize];
    std::memset(token, 0, sizeof token);
    NextDataToken(cursor, token);
    EXPECT_EQ(std::strlen(token), kDataTokenSize - 1);
    token[0] = '\0';
    NextDataToken(cursor, token);
    EXPECT_STREQ(token, "");
}

TEST_F(ConversionDataTest, MissingResourceLeavesEveryTableZero) {
    ToviDesktopSetResource("LAYOUT", "TOVI_ISCII_DATA", nullptr, 0);
    ResetConversionData();
    LibraryLastError = -4;
    EXPECT_EQ(LoadConversionData(), 0);
    EXPECT_EQ(LibraryLastError, 0);
    ConversionTables zero;
    std::memset(&zero, 0, sizeof zero);
    EXPECT_EQ(std::memcmp(&Conversion, &zero, sizeof zero), 0);

    ToviDesktopRestoreResources();
    ToviDesktopFailNext("LoadResource");
    ResetConversionData();
    EXPECT_EQ(LoadConversionData(), 0);
}

TEST_F(ConversionDataTest, TextEndsAtItsFirstZeroByte) {
    const char text[] = "<KSCSSortCode> 1 2\0 3 4";
    ToviDesktopSetResource("LAYOUT", "TOVI_ISCII_DATA", text, sizeof text - 1);
    ResetConversionData();
    ASSERT_EQ(LoadConversionData(), 1);
    EXPECT_EQ(FilledRows(Conversion.sortCode), 1);
}

}  // namespace
