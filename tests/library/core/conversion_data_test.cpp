// The conversion data loader: the shipped text, the grammar's corner cases, and data that is
// faulty (too many rows, over-long tokens, a missing resource).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/conversion_data.h"
#include "base/data_text.h"
#include "base/last_error.h"
#include "base/shared_state.h"
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

TEST_F(ConversionDataTest, ShippedTextFillsEveryTableWithItsRows) {
    ResetConversionData();
    LibraryLastError = -3;
    ASSERT_EQ(LoadConversionData(), 1);
    EXPECT_EQ(LibraryLastError, 0);
    const ConversionTables &t = Conversion;
    EXPECT_EQ(FilledRows(t.oneGlyph), 163);
    EXPECT_EQ(FilledRows(t.twoGlyph), 40);
    EXPECT_EQ(FilledRows(t.threeGlyph), 13);
    EXPECT_EQ(FilledRows(t.fourGlyph), 13);
    EXPECT_EQ(FilledRows(t.fiveGlyph), 6);
    EXPECT_EQ(FilledRows(t.ottakshara), 37);
    EXPECT_EQ(FilledRows(t.strokes), 64);
    EXPECT_EQ(FilledRows(t.sortCode), 10);
    EXPECT_EQ(FilledRows(t.mono2Bilingual), 180);
    EXPECT_EQ(FilledRows(t.iscii2Bilingual), 52);
    EXPECT_EQ(FilledRows(t.iscii2Ksclp), 52);
}

TEST_F(ConversionDataTest, ShippedRowsHoldTheirValues) {
    const ConversionTables &t = Conversion;
    // The Strokes row of ISCII 208 keeps the letter F as a byte.
    bool found = false;
    for (int r = 1; r <= kStrokesRows; r++)
        if (t.strokes[r][0] == 208) {
            EXPECT_EQ(t.strokes[r][1], 'F');
            found = true;
        }
    EXPECT_TRUE(found);
    // The three-byte subscript of RA with its nukta form.
    bool ottakshara249 = false;
    for (int r = 1; r <= kOttaksharaRows; r++)
        if (t.ottakshara[r][0] == 249) {
            EXPECT_EQ(t.ottakshara[r][1], 232);
            EXPECT_EQ(t.ottakshara[r][2], 217);
            EXPECT_EQ(t.ottakshara[r][3], 207);
            ottakshara249 = true;
        }
    EXPECT_TRUE(ottakshara249);
    EXPECT_EQ(t.mono2Bilingual[1][0], 65);
    EXPECT_EQ(t.mono2Bilingual[1][1], 129);
    EXPECT_EQ(t.mono2Bilingual[180][0], 245);
    EXPECT_EQ(t.mono2Bilingual[180][1], 90);
    EXPECT_EQ(t.iscii2Ksclp[14][0], 'N');
    EXPECT_EQ(t.iscii2Ksclp[14][1], 97);
}

TEST_F(ConversionDataTest, SeparatorsAndLineEndsParseAlike) {
    ASSERT_EQ(LoadText("<KSCSSortCode>\t210 237\r\n212\n232\r\n \t 213   233"), 1);
    EXPECT_EQ(Conversion.sortCode[1][0], 210);
    EXPECT_EQ(Conversion.sortCode[1][1], 237);
    EXPECT_EQ(Conversion.sortCode[2][1], 232);
    // The last value, with no line end after it, is still read.
    EXPECT_EQ(Conversion.sortCode[3][0], 213);
    EXPECT_EQ(Conversion.sortCode[3][1], 233);
}

TEST_F(ConversionDataTest, HeaderInsideARowStartsTheNextSectionCleanly) {
    ASSERT_EQ(LoadText("<TwoGlyph> 73 196 170 <Ottakshara> 204 232 179 0 205 232 180 0\r\n"), 1);
    EXPECT_EQ(Conversion.twoGlyph[1][2], 170);
    EXPECT_EQ(Conversion.twoGlyph[1][3], 0);
    EXPECT_EQ(Conversion.ottakshara[1][0], 204);
    EXPECT_EQ(Conversion.ottakshara[2][0], 205);
    EXPECT_EQ(Conversion.ottakshara[2][2], 180);
}

TEST_F(ConversionDataTest, RepeatedSectionIsWrittenAgainFromRowOne) {
    ASSERT_EQ(LoadText("<KSCSSortCode> 1 2 3 4 <Comment> words are ignored 9 9 <KSCSSortCode> 5 6\r\n"), 1);
    EXPECT_EQ(Conversion.sortCode[1][0], 5);
    EXPECT_EQ(Conversion.sortCode[1][1], 6);
    EXPECT_EQ(Conversion.sortCode[2][0], 3);  // beyond the second run the first one stays
}

TEST_F(ConversionDataTest, ValuesBeforeTheFirstHeaderAndNonNumbersAreHarmless) {
    ASSERT_EQ(LoadText("7 8 9 <KSCSSortCode> x12 -3 300 1\r\n"), 1);
    EXPECT_EQ(Conversion.sortCode[1][0], 0);    // no leading digits
    EXPECT_EQ(Conversion.sortCode[1][1], 253);  // low byte of -3
    EXPECT_EQ(Conversion.sortCode[2][0], 44);   // low byte of 300
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
