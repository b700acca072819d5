// Glyph strings to ISCII through the public API: normalisation, the longest match, ISCII
// order, what each export leaves of its source, results and errors, and the twins.
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

// The result of an export on a copy of `glyphs`, its ISCII and what the source became.
struct Converted {
    int result;
    std::string iscii;
    std::string source;
};

Converted Convert(int (*convert)(char *, char *, unsigned), const std::string &glyphs) {
    std::vector<char> src(glyphs.begin(), glyphs.end());
    src.push_back('\0');
    char out[512] = {};
    int r = convert(src.data(), out, sizeof out);
    return {r, out, src.data()};
}

Converted Mono(const std::string &glyphs) { return Convert(ToviMonolingualGlyph2ISCII, glyphs); }
Converted Bilingual(const std::string &glyphs) { return Convert(ToviBilingualGlyph2ISCII, glyphs); }

std::string MonoToBilingual(const std::string &mono) {
    std::string out(mono.size() + 1, '\0');
    ToviMonolingual2BilingualGlyph(mono.c_str(), &out[0], static_cast<unsigned>(out.size()));
    out.resize(mono.size());
    return out;
}

TEST(GlyphToIscii, GlyphsAndTheirIscii) {
    const struct {
        std::string glyphs, iscii, normalised;
    } cases[] = {
        {Bytes({81}), Bytes({179, 219}), ""},
        {Bytes({81, 195}), Bytes({179, 220}), ""},  // the length mark makes the sign long
        {Bytes({80, 192}), Bytes({179}), ""},
        {Bytes({80, 204}), Bytes({179, 232, 179}), ""},
        // The sign goes behind the subscripts, in front of them in the source; the vocalic-r
        // piece in front of two; the halant glyph behind a subscript; the nukta before a sign.
        {Bytes({81, 204, 195}), Bytes({179, 232, 179, 220}), Bytes({81, 195, 204})},
        {Bytes({80, 204, 205, 248}), Bytes({179, 232, 179, 232, 180, 223}), Bytes({80, 248, 204, 205})},
        {Bytes({80, 239, 204}), Bytes({179, 232, 179, 232, 232}), Bytes({80, 204, 239})},
        {Bytes({100, 251, 195}), Bytes({186, 233}), Bytes({100, 195, 251})},
        // The longest row wins; without its last glyph shorter rows take over.
        {Bytes({103, 192, 104, 196}), Bytes({187}), ""},
        {Bytes({103, 201, 104, 196, 195}), Bytes({187, 225}), ""},
        {Bytes({103, 192, 104}), Bytes({207}), ""},
        {Bytes({201, 198, 195}), Bytes({229}), ""},
        // Glyphs of their own: the repha, RRA, the dead NA; ASCII passes; joiners go.
        {Bytes({240}), Bytes({208}), ""},
        {Bytes({190}), Bytes({217, 207}), ""},
        {Bytes({249}), Bytes({232, 217, 207}), ""},
        {Bytes({242}), Bytes({199}), ""},
        {"12 ,.", "12 ,.", ""},
        {Bytes({204, 246, 205, 247, 206}), Bytes({232, 179, 232, 180, 232, 181}), Bytes({204, 205, 206})},
    };
    for (const auto &c : cases) {
        Converted m = Mono(c.glyphs);
        EXPECT_EQ(m.iscii, c.iscii);
        EXPECT_EQ(m.result, static_cast<int>(c.iscii.size()) + 1);  // the terminator counts
        EXPECT_EQ(m.source, c.normalised.empty() ? c.glyphs : c.normalised);
    }
}

TEST(GlyphToIscii, LettersAndGlyphsThatGiveNothing) {
    // The connecting piece alone and Latin-letter codes give nothing: the monolingual export
    // still succeeds (1: the terminator), the bilingual one fails with -5.
    EXPECT_EQ(Mono(Bytes({192})).result, 1);
    EXPECT_EQ(Mono(Bytes({127, 128, 161})).result, 1);
    EXPECT_EQ(Bilingual(MonoToBilingual(Bytes({192}))).result, 0);
    EXPECT_EQ(ToviGetLastError(), -5);
    // Bilingual letters are ASCII; the source is normalised and bilingual again.
    Converted c = Bilingual(MonoToBilingual(Bytes({81, 204, 195})) + "Ab");
    EXPECT_EQ(c.iscii, Bytes({179, 232, 179, 220, 65, 98}));
    EXPECT_EQ(c.result, 6);
    EXPECT_EQ(c.source, MonoToBilingual(Bytes({81, 195, 204})) + "Ab");
}

TEST(GlyphToIscii, SizesErrorsAndTwins) {
    char src[] = "\x51\xCC\xC3";  // 81 204 195: four ISCII bytes
    EXPECT_EQ(ToviMonolingualGlyph2ISCII(src, nullptr, 1), 5);
    // A destination one byte short fails with -3 and is not touched at all.
    char out[8];
    std::memset(out, 'x', sizeof out);
    EXPECT_EQ(ToviMonolingualGlyph2ISCII(src, out, 4), 0);
    EXPECT_EQ(ToviGetLastError(), -3);
    EXPECT_EQ(std::string(out, 8), std::string(8, 'x'));
    EXPECT_EQ(ToviBilingualGlyph2ISCII(src, nullptr, 0), 0);
    EXPECT_EQ(ToviGetLastError(), -3);
    char empty[] = "";
    EXPECT_EQ(ToviMonolingualGlyph2ISCII(empty, out, sizeof out), 0);
    EXPECT_EQ(ToviGetLastError(), -4);

    std::string text = Bytes({81, 204, 195, 32, 240});
    char *r = ToviMonolingualGlyph2ISCIIVB(&text[0]);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(std::string(r), Bytes({179, 232, 179, 220, 32, 208}));
    EXPECT_EQ(text, Bytes({81, 195, 204, 32, 240}));  // the caller's copy is normalised
    std::string bi = MonoToBilingual(Bytes({80, 192})) + "x";
    r = ToviBilingualGlyph2ISCIIVB(&bi[0]);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(std::string(r), Bytes({179, 120}));
    EXPECT_EQ(ToviMonolingualGlyph2ISCIIVB(empty), nullptr);
    EXPECT_EQ(ToviGetLastError(), -4);
    std::string limit(10000, 'P'), big(10001, 'P');
    r = ToviMonolingualGlyph2ISCIIVB(&limit[0]);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(std::strlen(r), 10000u);
    EXPECT_EQ(ToviMonolingualGlyph2ISCIIVB(&big[0]), nullptr);
    EXPECT_EQ(ToviGetLastError(), -7);  // refused with a code of its own
    std::string dropped = MonoToBilingual(Bytes({192}));
    EXPECT_EQ(ToviBilingualGlyph2ISCIIVB(&dropped[0]), nullptr);
    EXPECT_EQ(ToviGetLastError(), -5);
}

}  // namespace
