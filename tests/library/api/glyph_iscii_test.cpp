// Glyph strings to ISCII through the public API: normalisation, the longest match, ISCII
// order, results and errors of both exports and their twins.
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

// The ISCII of a monolingual glyph string, and what the source became.
struct Converted {
    int result;
    std::string iscii;
    std::string source;
};

Converted Mono(const std::string &glyphs) {
    std::vector<char> src(glyphs.begin(), glyphs.end());
    src.push_back('\0');
    char out[512] = {};
    int r = ToviMonolingualGlyph2ISCII(src.data(), out, sizeof out);
    return {r, out, src.data()};
}

Converted Bilingual(const std::string &glyphs) {
    std::vector<char> src(glyphs.begin(), glyphs.end());
    src.push_back('\0');
    char out[512] = {};
    int r = ToviBilingualGlyph2ISCII(src.data(), out, sizeof out);
    return {r, out, src.data()};
}

std::string MonoToBilingual(const std::string &mono) {
    std::string out(mono.size() + 1, '\0');
    ToviMonolingual2BilingualGlyph(mono.c_str(), &out[0], static_cast<unsigned>(out.size()));
    out.resize(mono.size());
    return out;
}

TEST(GlyphToIscii, ConsonantsWithVowelSignsAndTheLengthMark) {
    EXPECT_EQ(Mono(Bytes({81})).iscii, Bytes({179, 219}));
    Converted ki = Mono(Bytes({81, 195}));
    EXPECT_EQ(ki.iscii, Bytes({179, 220}));
    EXPECT_EQ(ki.result, 3);  // the monolingual export counts the terminator
    EXPECT_EQ(Mono(Bytes({80, 192})).iscii, Bytes({179}));
    EXPECT_EQ(Mono(Bytes({80, 193})).iscii, Bytes({179, 218}));
}

TEST(GlyphToIscii, SubscriptsAreReorderedAndTheVowelSignTravelsBehindTheCluster) {
    Converted kki = Mono(Bytes({81, 204, 195}));
    EXPECT_EQ(kki.iscii, Bytes({179, 232, 179, 220}));
    EXPECT_EQ(kki.source, Bytes({81, 195, 204}));  // normalised in place
    EXPECT_EQ(Mono(Bytes({80, 204})).iscii, Bytes({179, 232, 179}));
    // Two subscripts with the vocalic-r piece: the piece goes in front of both.
    EXPECT_EQ(Mono(Bytes({80, 204, 205, 248})).source, Bytes({80, 248, 204, 205}));
    EXPECT_EQ(Mono(Bytes({80, 204, 205, 248})).iscii, Bytes({179, 232, 179, 232, 180, 223}));
    // The halant glyph goes behind a subscript.
    EXPECT_EQ(Mono(Bytes({80, 239, 204})).source, Bytes({80, 204, 239}));
    // The nukta goes in front of a following sign.
    EXPECT_EQ(Mono(Bytes({100, 251, 195})).source, Bytes({100, 195, 251}));
}

TEST(GlyphToIscii, LongestMatchPrefersTheLongestRow) {
    EXPECT_EQ(Mono(Bytes({103, 192, 104, 196})).iscii, Bytes({187}));  // JHA, four glyphs
    EXPECT_EQ(Mono(Bytes({103, 201, 104, 196, 195})).iscii, Bytes({187, 225}));
    EXPECT_EQ(Mono(Bytes({65, 105, 192, 196})).iscii, Bytes({205}));  // YA
    EXPECT_EQ(Mono(Bytes({201, 198, 195})).iscii, Bytes({229}));
    EXPECT_EQ(Mono(Bytes({201, 198})).iscii, Bytes({228}));
    // Without its last glyph the four-glyph row no longer matches: shorter rows take over.
    EXPECT_EQ(Mono(Bytes({103, 192, 104})).iscii, Bytes({207}));
}

TEST(GlyphToIscii, SpecialGlyphs) {
    EXPECT_EQ(Mono(Bytes({240})).iscii, Bytes({208}));
    EXPECT_EQ(Mono(Bytes({190})).iscii, Bytes({217, 207}));
    EXPECT_EQ(Mono(Bytes({249})).iscii, Bytes({232, 217, 207}));
    EXPECT_EQ(Mono(Bytes({239})).iscii, Bytes({232, 232}));
    EXPECT_EQ(Mono(Bytes({242})).iscii, Bytes({199}));
    EXPECT_EQ(Mono("12 ,.").iscii, "12 ,.");
}

TEST(GlyphToIscii, DroppedGlyphs) {
    Converted joiners = Mono(Bytes({204, 246, 205, 247, 206}));
    EXPECT_EQ(joiners.iscii, Bytes({232, 179, 232, 180, 232, 181}));
    EXPECT_EQ(joiners.source, Bytes({204, 205, 206}));  // joiners removed from the source
    // The connecting piece alone and Latin-letter codes give nothing; the monolingual export
    // still succeeds with an empty result (1: the terminator).
    EXPECT_EQ(Mono(Bytes({192})).result, 1);
    EXPECT_EQ(Mono(Bytes({192})).iscii, "");
    EXPECT_EQ(Mono(Bytes({127, 128, 161})).result, 1);
    // The bilingual export fails for a string that yields nothing.
    EXPECT_EQ(Bilingual(MonoToBilingual(Bytes({192}))).result, 0);
    EXPECT_EQ(ToviGetLastError(), -5);
}

TEST(GlyphToIscii, BilingualLettersBecomeAsciiAndTheSourceStaysBilingual) {
    std::string text = MonoToBilingual(Bytes({81, 204, 195})) + "Ab";
    Converted c = Bilingual(text);
    EXPECT_EQ(c.iscii, Bytes({179, 232, 179, 220, 65, 98}));
    EXPECT_EQ(c.result, 6);
    EXPECT_EQ(c.source, MonoToBilingual(Bytes({81, 195, 204})) + "Ab");
}

TEST(GlyphToIscii, SizeQueryAndSmallDestinations) {
    char src[] = "\x51\xCC\xC3";  // 81 204 195: four ISCII bytes
    EXPECT_EQ(ToviMonolingualGlyph2ISCII(src, nullptr, 1), 5);
    // A destination one byte short fails with -3 and is not touched at all.
    char out[8];
    std::memset(out, 'x', sizeof out);
    EXPECT_EQ(ToviMonolingualGlyph2ISCII(src, out, 4), 0);
    EXPECT_EQ(ToviGetLastError(), -3);
    EXPECT_EQ(std::string(out, 8), std::string(8, 'x'));
    EXPECT_EQ(ToviMonolingualGlyph2ISCII(src, out, 5), 5);
    EXPECT_EQ(std::string(out), Bytes({179, 232, 179, 220}));

    std::string bi = MonoToBilingual(Bytes({81, 204, 195}));
    std::vector<char> b(bi.begin(), bi.end());
    b.push_back('\0');
    EXPECT_EQ(ToviBilingualGlyph2ISCII(b.data(), nullptr, 1), 4);
    std::memset(out, 'x', sizeof out);
    EXPECT_EQ(ToviBilingualGlyph2ISCII(b.data(), out, 4), 0);
    EXPECT_EQ(ToviGetLastError(), -3);
    EXPECT_EQ(out[0], 'x');
}

TEST(GlyphToIscii, ArgumentErrors) {
    char empty[] = "";
    char out[8];
    EXPECT_EQ(ToviMonolingualGlyph2ISCII(empty, out, sizeof out), 0);
    EXPECT_EQ(ToviGetLastError(), -4);
    EXPECT_EQ(ToviBilingualGlyph2ISCII(nullptr, out, sizeof out), 0);
    EXPECT_EQ(ToviGetLastError(), -4);
    char src[] = "Q";
    EXPECT_EQ(ToviMonolingualGlyph2ISCII(src, out, 0), 0);
    EXPECT_EQ(ToviGetLastError(), -3);
    EXPECT_EQ(ToviBilingualGlyph2ISCII(src, nullptr, 0), 0);
    EXPECT_EQ(ToviGetLastError(), -3);
}

TEST(GlyphToIscii, Twins) {
    std::string text = Bytes({81, 204, 195, 32, 240});
    std::vector<char> src(text.begin(), text.end());
    src.push_back('\0');
    char *r = ToviMonolingualGlyph2ISCIIVB(src.data());
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(std::string(r), Bytes({179, 232, 179, 220, 32, 208}));
    EXPECT_EQ(std::string(src.data()), Bytes({81, 195, 204, 32, 240}));  // the caller's copy is normalised

    std::string bi = MonoToBilingual(Bytes({80, 192})) + "x";
    std::vector<char> b(bi.begin(), bi.end());
    b.push_back('\0');
    r = ToviBilingualGlyph2ISCIIVB(b.data());
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(std::string(r), Bytes({179, 120}));

    char empty[] = "";
    EXPECT_EQ(ToviMonolingualGlyph2ISCIIVB(empty), nullptr);
    EXPECT_EQ(ToviGetLastError(), -4);
    // Over 10000 bytes: refused.
    std::string big(10001, 'P');
    EXPECT_EQ(ToviMonolingualGlyph2ISCIIVB(&big[0]), nullptr);
    EXPECT_EQ(ToviGetLastError(), -7);  // refused with a code of its own
    std::string limit(10000, 'P');
    r = ToviMonolingualGlyph2ISCIIVB(&limit[0]);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(std::strlen(r), 10000u);
    // A bilingual string of dropped glyphs: null with -5.
    std::string dropped = MonoToBilingual(Bytes({192}));
    EXPECT_EQ(ToviBilingualGlyph2ISCIIVB(&dropped[0]), nullptr);
    EXPECT_EQ(ToviGetLastError(), -5);
}

}  // namespace
