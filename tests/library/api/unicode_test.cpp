// The Unicode bridge through the public API: what glyphs stand for in Kannada Unicode, the
// way back, and the results and errors of the four exports.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "../support/converted.h"

namespace {

std::string Bytes(std::initializer_list<int> codes) {
    std::string s;
    for (int c : codes) s.push_back(static_cast<char>(c));
    return s;
}

std::string ToUnicode(const std::string &glyphs) { return Converted(ToviMonolingualGlyph2Unicode, glyphs); }
std::string ToGlyphs(const std::string &utf8) { return Converted(ToviUnicode2MonolingualGlyph, utf8); }

struct Case {
    std::string glyphs;
    const char *unicode;
};

TEST(UnicodeBridge, GlyphsAndWhatTheyStandFor) {
    const Case cases[] = {
        {Bytes({80, 192}), "ಕ"},
        {Bytes({81}), "ಕಿ"},
        {Bytes({81, 195}), "ಕೀ"},
        {Bytes({80, 201, 198}), "ಕೊ"},
        {Bytes({80, 192, 204}), "ಕ್ಕ"},
        {Bytes({81, 204, 247, 205}), "ಕ್ಕ್ಖಿ"},
        {Bytes({80, 239}), "ಕ್"},                         // the halant shown at the end
        {Bytes({80, 239, 80, 192}), "ಕ್\u200cಕ"},         // ... and before a consonant
        {Bytes({80, 192, 240}), "ರ್ಕ"},                   // the repha goes in front
        {Bytes({81, 195, 240, 65}), "ರ್ಕೀಂ"},             // in front of the whole syllable
        {Bytes({103, 192, 204}), "ರ\u200d್ಕ"},            // RA with a subscript stays RA
        {Bytes({190}), "\u0CB1"},                        // RRA
        {Bytes({191}), "\u0CDE"},
        {Bytes({242}), "ನ್"},                             // the dead NA
        {Bytes({163, 239}), "ನ್\u200c"},                  // NA with the halant shown
        {Bytes({100, 251}), "ಜ಼"},                        // the nukta
        {Bytes({69, 243}), "\u0C8C"},                    // I + nukta: vocalic L
        {Bytes({80, 192, 241}), "ಕೄ"},                    // vocalic RR sign
        {Bytes({67, 65, 66}), "ಅಂಃ"},
        {"12 ,.", "12 ,."},                              // ASCII passes
    };
    for (const Case &c : cases) {
        EXPECT_EQ(ToUnicode(c.glyphs), c.unicode);
        EXPECT_EQ(ToGlyphs(c.unicode), c.glyphs) << c.unicode;
    }
    // Signs with nothing before them; the length mark alone has no ISCII.
    EXPECT_EQ(ToUnicode(Bytes({239, 80, 192})), "್‌ಕ");
    EXPECT_EQ(ToUnicode(Bytes({195})), "");
    EXPECT_EQ(ToUnicode(Bytes({193, 240})), "ಾರ್");
}

// ISCII as glyph text gives it, both ways.
TEST(UnicodeBridge, IsciiAndWhatItStandsFor) {
    const Case cases[] = {
        {Bytes({217, 207}), "\u0CB1"},                      // RRA: the invisible consonant with RA
        {Bytes({179, 232, 217, 210, 218}), "ಕ್\u0CDEಾ"},   // a subscript U+0CDE with its sign
        {Bytes({179, 217, 223}), "ಕೄ"},                     // the vocalic RR sign
        {Bytes({179, 219, 233}), "ಕ\u0CE2"},                // the vocalic L sign
        {Bytes({179, 232, 232}), "ಕ್"},                      // a dead consonant shows its halant
        {Bytes({198, 232, 232, 198, 232, 232}), "ನ್\u200cನ್\u200c"},  // NA with the halant shown, twice
        {Bytes({179, 232, 207, 233, 218}), "ಕ್ರ಼ಾ"},         // a nukta before the sign
        {"ab 12", "ab 12"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(Converted(ToviISCII2Unicode, c.glyphs), c.unicode);
        EXPECT_EQ(Converted(ToviUnicode2ISCII, c.unicode), c.glyphs) << c.unicode;
    }
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
    // Bilingual glyph text keeps its letters; monolingual text gives them Latin-letter codes.
    EXPECT_EQ(Converted(ToviUnicode2BilingualGlyph, "ab ಕ"), "ab " + Bytes({145, 208}));
    EXPECT_EQ(Converted(ToviBilingualGlyph2Unicode, "ab " + Bytes({145, 208})), "ab ಕ");
    EXPECT_EQ(ToGlyphs("ab"), Bytes({128, 129}));
    EXPECT_EQ(ToUnicode(Bytes({128, 129})), "ab");
    // N to U have codes that are Kannada glyphs too (T is the subscript of LLLA): in
    // monolingual text they are left out, and those codes read as the glyphs.
    EXPECT_EQ(ToGlyphs("aNTz"), Bytes({128, 153}));
    EXPECT_EQ(ToUnicode(Bytes({80, 192, 250})), "ಕ್ೞ");
    // Nor has bilingual text a dead NA glyph (its code is Q there): NA with the halant shown.
    EXPECT_EQ(Converted(ToviUnicode2BilingualGlyph, "ನ್"), Bytes({185, 253}));
}

TEST(UnicodeBridge, ResultsAndErrors) {
    const std::string ka = Bytes({80, 192}), kki = Bytes({81, 204, 246, 205, 195});
    EXPECT_EQ(ToviMonolingualGlyph2Unicode(ka.c_str(), nullptr, 1), 3);
    char out[8];
    std::memset(out, 'x', sizeof out);
    EXPECT_EQ(ToviMonolingualGlyph2Unicode(ka.c_str(), out, 3), 0);  // three bytes need four
    EXPECT_EQ(ToviGetLastError(), -3);
    EXPECT_EQ(std::string(out, 8), std::string(8, 'x'));
    EXPECT_EQ(ToviMonolingualGlyph2Unicode(ka.c_str(), out, 4), 3);
    EXPECT_EQ(ToviUnicode2MonolingualGlyph("ಕ", nullptr, 1), 2);
    EXPECT_EQ(ToviUnicode2MonolingualGlyph("ಕ", out, 2), 0);
    EXPECT_EQ(ToviGetLastError(), -3);
    EXPECT_EQ(ToviMonolingualGlyph2Unicode(ka.c_str(), out, 0), 0);
    EXPECT_EQ(ToviGetLastError(), -3);
    EXPECT_EQ(ToviUnicode2BilingualGlyph("", out, 8), 0);
    EXPECT_EQ(ToviGetLastError(), -4);
    EXPECT_EQ(ToviBilingualGlyph2Unicode(nullptr, out, 8), 0);
    EXPECT_EQ(ToviGetLastError(), -4);
    // Nothing to show: -5.
    EXPECT_EQ(ToviUnicode2MonolingualGlyph("\xC3\xA9", out, 8), 0);
    EXPECT_EQ(ToviGetLastError(), -5);
    EXPECT_EQ(ToviMonolingualGlyph2Unicode(Bytes({192}).c_str(), out, 8), 0);
    EXPECT_EQ(ToviGetLastError(), -5);
    // The source is left as it is.
    std::string copy = kki;
    ToviMonolingualGlyph2Unicode(copy.c_str(), nullptr, 1);
    EXPECT_EQ(copy, kki);
}

}  // namespace
