// ISCII to glyph strings through the public API: keystrokes through the composer, the codes
// that stand for themselves, joiners, results and errors, and the twins.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "kannada-tovi.h"

namespace {

std::string Bytes(std::initializer_list<int> codes) {
    std::string s;
    for (int c : codes) s.push_back(static_cast<char>(c));
    return s;
}

std::string ToMono(const std::string &iscii) {
    char out[512] = {};
    int n = ToviISCII2MonolingualGlyph(iscii.c_str(), out, sizeof out);
    EXPECT_EQ(n, static_cast<int>(std::strlen(out)));
    return std::string(out, n > 0 ? n : 0);
}

std::string ToBilingual(std::string &iscii) {
    char out[512] = {};
    int n = ToviISCII2BilingualGlyph(&iscii[0], out, sizeof out);
    return std::string(out, n > 0 ? n : 0);
}

std::string MonoToBilingual(const std::string &mono) {
    std::string out(mono.size() + 1, '\0');
    ToviMonolingual2BilingualGlyph(mono.c_str(), &out[0], static_cast<unsigned>(out.size()));
    out.resize(mono.size());
    return out;
}

// The glyph text goes back to ISCII unchanged.
std::string BackToIscii(std::string glyphs) {
    char out[512] = {};
    ToviMonolingualGlyph2ISCII(&glyphs[0], out, sizeof out);
    return out;
}

TEST(IsciiToGlyph, LettersAreTypedThroughTheComposer) {
    EXPECT_EQ(ToMono(Bytes({179})), Bytes({80, 192}));             // KA
    EXPECT_EQ(ToMono(Bytes({179, 219})), Bytes({81}));             // KI
    EXPECT_EQ(ToMono(Bytes({179, 218})), Bytes({80, 193}));        // KAA
    EXPECT_EQ(ToMono(Bytes({179, 232, 179})), Bytes({80, 192, 204}));
    EXPECT_EQ(ToMono(Bytes({179, 232, 179, 219})), Bytes({81, 204}));
    EXPECT_EQ(ToMono(Bytes({179, 232, 232})), Bytes({80, 239}));  // the halant shown
    EXPECT_EQ(ToMono(Bytes({164, 179})), Bytes({67, 80, 192}));   // a vowel starts afresh
    for (const std::string &iscii : {Bytes({179, 232, 179, 220}), Bytes({186, 232, 188, 218}), Bytes({205, 229})})
        EXPECT_EQ(BackToIscii(ToMono(iscii)), iscii);
}

TEST(IsciiToGlyph, JoinersGoBetweenSubscripts) {
    // KA with the subscripts of KA and KHA: a narrow joiner between the two subscripts.
    EXPECT_EQ(ToMono(Bytes({179, 232, 179, 232, 180})), Bytes({80, 192, 204, 247, 205}));
    // Before the subscript of RA nothing joins; after it the wide joiner does.
    EXPECT_EQ(ToMono(Bytes({179, 232, 207, 232, 179})), Bytes({80, 192, 230, 246, 204}));
    // Joiners count in the result of a size query too.
    EXPECT_EQ(ToviISCII2MonolingualGlyph(Bytes({179, 232, 179, 232, 180}).c_str(), nullptr, 1), 5);
}

TEST(IsciiToGlyph, CodesThatStandForThemselves) {
    EXPECT_EQ(ToMono("12"), "12");
    EXPECT_EQ(ToMono(Bytes({242, 243})), "12");  // ISCII digits become ASCII digits
    EXPECT_EQ(ToMono(Bytes({199})), Bytes({242}));
    EXPECT_EQ(ToMono(Bytes({234})), ".");
    EXPECT_EQ(ToMono(Bytes({179, 32, 179})), Bytes({80, 192, 32, 80, 192}));
    // Codes without a keystroke are dropped.
    EXPECT_EQ(ToMono(Bytes({179, 217, 178})), Bytes({80, 192}));
}

TEST(IsciiToGlyph, AsciiLetters) {
    EXPECT_EQ(ToMono("A"), "");  // no letters in the monolingual export
    std::string a = "A";
    EXPECT_EQ(ToBilingual(a), "A");
    EXPECT_EQ(a, Bytes({127}));  // the source now holds the monolingual code
    std::string mixed = Bytes({179, 65, 218});
    // A letter ends the syllable: the AA after it is the vowel, not a sign of KA.
    EXPECT_EQ(ToBilingual(mixed), MonoToBilingual(Bytes({80, 192})) + "A" + MonoToBilingual(Bytes({68})));
}

TEST(IsciiToGlyph, OutputEncodingFollowsTheExportNotTheFontType) {
    std::string iscii = Bytes({179, 232, 179, 232, 180, 32, 205, 219});
    std::string mono = ToMono(iscii);
    std::string copy = iscii;
    std::string bilingual = ToBilingual(copy);
    ASSERT_EQ(ToviChangeFontType(0), 1);
    EXPECT_EQ(ToviGetCurrentFontType(), 0);
    EXPECT_EQ(ToMono(iscii), mono);
    copy = iscii;
    EXPECT_EQ(ToBilingual(copy), bilingual);
    EXPECT_EQ(bilingual, MonoToBilingual(mono));
    ToviChangeFontType(1);
    EXPECT_EQ(ToviGetCurrentFontType(), 1);
}

TEST(IsciiToGlyph, ResultsAndErrors) {
    EXPECT_EQ(ToviISCII2MonolingualGlyph(Bytes({179}).c_str(), nullptr, 1), 2);
    char out[4];
    std::memset(out, 'x', sizeof out);
    EXPECT_EQ(ToviISCII2MonolingualGlyph(Bytes({179, 179}).c_str(), out, 4), 0);  // needs 5
    EXPECT_EQ(ToviGetLastError(), -3);
    EXPECT_EQ(std::string(out, 4), "xxxx");
    EXPECT_EQ(ToviISCII2MonolingualGlyph("", out, 4), 0);
    EXPECT_EQ(ToviGetLastError(), -4);
    EXPECT_EQ(ToviISCII2MonolingualGlyph("1", out, 0), 0);
    EXPECT_EQ(ToviGetLastError(), -3);
    // Nothing converted is a result of 0 without an error.
    std::string dropped = Bytes({178});
    EXPECT_EQ(ToviISCII2BilingualGlyph(&dropped[0], out, 4), 0);
    EXPECT_EQ(ToviGetLastError(), -3);
}

TEST(IsciiToGlyph, Twins) {
    std::string ka = Bytes({179, 232, 179, 219});
    char *r = ToviISCII2MonolingualGlyphVB(&ka[0]);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(std::string(r), Bytes({81, 204}));
    std::string letters = "Ab";
    r = ToviISCII2BilingualGlyphVB(&letters[0]);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(std::string(r), "Ab");
    EXPECT_EQ(letters, Bytes({127, 129}));
    // The glyph twins of the mapping share the buffer: a new result replaces the old one.
    char *mapped = ToviMonolingual2BilingualGlyphVB("P");
    ASSERT_NE(mapped, nullptr);
    EXPECT_EQ(std::string(mapped), Bytes({145}));
    char empty[] = "";
    EXPECT_EQ(ToviISCII2MonolingualGlyphVB(empty), nullptr);
    EXPECT_EQ(ToviGetLastError(), -4);
    std::string big(10001, '1');
    EXPECT_EQ(ToviISCII2BilingualGlyphVB(&big[0]), nullptr);
    EXPECT_EQ(ToviGetLastError(), -7);  // refused with a code of its own
    std::string dropped = Bytes({178});
    EXPECT_EQ(ToviISCII2MonolingualGlyphVB(&dropped[0]), nullptr);
}

}  // namespace
