// The way from Unicode through the public API, where the round trip of the written syllables
// does not reach: joiners, digits, other spellings of one text, what has no Kannada glyph,
// Latin letters, and the results of the three exports.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "../support/converted.h"

namespace {

std::string ToGlyphs(const std::string &utf8) { return Converted(ToviUnicode2MonolingualGlyph, utf8); }

TEST(UnicodeBridge, JoinersAndWhatStandsForItself) {
    EXPECT_EQ(ToGlyphs("ಕ್\u200cಕ"), "\x50\xEF\x50\xC0");  // the halant shown before a consonant
    EXPECT_EQ(ToGlyphs("ರ\u200d್ಕ"), "\x67\xC0\xCC");      // RA with a subscript stays RA
    EXPECT_EQ(ToGlyphs("ನ್\u200c"), "\xA3\xEF");           // NA with the halant shown
    EXPECT_EQ(ToGlyphs("\u0C8C"), "\x45\xF3");             // I + nukta: vocalic L
    EXPECT_EQ(ToGlyphs("12 ,."), "12 ,.");
    EXPECT_EQ(Converted(ToviUnicode2ISCII, "ನ್\u200cನ್\u200c"), "\xC6\xE8\xE8\xC6\xE8\xE8");
    EXPECT_EQ(Converted(ToviUnicode2ISCII, "ಕ್ರ಼ಾ"), "\xB3\xE8\xCF\xE9\xDA");  // a nukta before the sign
    EXPECT_EQ(Converted(ToviUnicode2ISCII, "ಕ್\u0CDEಾ"), "\xB3\xE8\xD9\xD2\xDA");
}

// Spellings that give the glyphs of another, and what has no Kannada glyph (dropped).
TEST(UnicodeBridge, OtherSpellingsOfTheSameText) {
    const std::pair<const char *, const char *> same[] = {
        {"ಕೊ", "ಕೊ"},                    // E + UU is O
        {"ಕೀ", "ಕೀ"},                    // I + length mark is II
        {"ಕೇ", "ಕೇ"},
        {"ಕೈ", "ಕೈ"},
        {"ಕ್\u200dಕ", "ಕ್\u200cಕ"},      // either joiner shows the halant
        {"\u200dರ", "ರ"},                // a joiner before RA writes no invisible consonant
        {"೧೨", "12"},                    // Kannada digits are typed as digits
        {"ಕ\xC3\xA9ಕ", "ಕಕ"},            // é
        {"ಕ\xFF\xC3ಕ", "ಕಕ"},            // bytes that are not UTF-8
        {"ಕ\xE0\xB2", "ಕ"},              // a cut sequence at the end
        {"ಕ\xED\xA0\x80", "ಕ"},          // a surrogate
        {"ಕ\xE0\x80\xAF", "ಕ"},          // an overlong form
    };
    for (const auto &s : same) EXPECT_EQ(ToGlyphs(s.first), ToGlyphs(s.second)) << s.first;
}

TEST(UnicodeBridge, LatinLetters) {
    // Bilingual glyph text keeps its letters; monolingual text gives them Latin-letter codes,
    // but N to U have codes that are Kannada glyphs too (T is the subscript of LLLA): there
    // they are left out.
    EXPECT_EQ(Converted(ToviUnicode2BilingualGlyph, "ab ಕ"), "ab \x91\xD0");
    EXPECT_EQ(ToGlyphs("aNTz"), "\x80\x99");
    // Nor has bilingual text a dead NA glyph (its code is Q there): NA with the halant shown.
    EXPECT_EQ(Converted(ToviUnicode2BilingualGlyph, "ನ್"), "\xB9\xFD");
}

TEST(UnicodeBridge, Results) {
    EXPECT_EQ(ToviUnicode2MonolingualGlyph("ಕ", nullptr, 1), 2);
    char out[8];
    EXPECT_EQ(ToviUnicode2MonolingualGlyph("ಕ", out, 3), 2);
    EXPECT_EQ(ToviUnicode2MonolingualGlyph("ಕ", out, 2), 0);  // two bytes need three
    EXPECT_EQ(ToviGetLastError(), -3);
    EXPECT_EQ(ToviUnicode2ISCII("ಕ", nullptr, 1), 1);
    EXPECT_EQ(ToviUnicode2MonolingualGlyph("\xC3\xA9", out, 8), 0);  // nothing to show: -5
    EXPECT_EQ(ToviGetLastError(), -5);
}

}  // namespace
