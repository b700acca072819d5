// What every converter export does with its arguments, and the twins: a twin gives what its
// plain export gives, leaves its source as the export does, and refuses an empty source (-4)
// and one of more than 10,000 bytes where it has that limit (-7).
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "kannada-tovi.h"

namespace {

using Export = int (*)(char *, char *, unsigned);

// An export as an Export, whatever its source's constness and its result's type.
template <auto F>
int Call(char *src, char *dst, unsigned size) {
    return static_cast<int>(F(src, dst, size));
}

const struct Plain {
    const char *name;
    Export convert;
    bool cuts;  // a key too long for the destination is cut, not refused
} kExports[] = {
    {"mono -> bilingual", Call<ToviMonolingual2BilingualGlyph>, false},
    {"bilingual -> mono", Call<ToviBilingual2MonolingualGlyph>, false},
    {"mono -> ISCII", ToviMonolingualGlyph2ISCII, false},
    {"bilingual -> ISCII", ToviBilingualGlyph2ISCII, false},
    {"ISCII -> mono", Call<ToviISCII2MonolingualGlyph>, false},
    {"ISCII -> bilingual", ToviISCII2BilingualGlyph, false},
    {"mono -> KSCLP", ToviMonolingualGlyph2KSCLP, true},
    {"bilingual -> KSCLP", ToviBilingualGlyph2KSCLP, true},
    {"mono -> Unicode", Call<ToviMonolingualGlyph2Unicode>, false},
    {"bilingual -> Unicode", Call<ToviBilingualGlyph2Unicode>, false},
    {"ISCII -> Unicode", Call<ToviISCII2Unicode>, false},
    {"Unicode -> mono", Call<ToviUnicode2MonolingualGlyph>, false},
    {"Unicode -> bilingual", Call<ToviUnicode2BilingualGlyph>, false},
    {"Unicode -> ISCII", Call<ToviUnicode2ISCII>, false},
};

TEST(ConverterCalls, EmptySourcesAndDestinationsTooSmall) {
    const std::string text = "\x50\xC0\xCC\xF0 \xB3\xE8\xB3\xDB \xE0\xB2\x95\xE0\xB2\xBF";
    for (const Plain &e : kExports) {
        char empty[] = "", out[64];
        EXPECT_EQ(e.convert(empty, out, sizeof out), 0) << e.name;
        EXPECT_EQ(ToviGetLastError(), -4) << e.name;
        EXPECT_EQ(e.convert(nullptr, out, sizeof out), 0) << e.name;
        EXPECT_EQ(ToviGetLastError(), -4) << e.name;
        std::string src = text;
        EXPECT_EQ(e.convert(&src[0], out, 0), 0) << e.name;
        EXPECT_EQ(ToviGetLastError(), -3) << e.name;
        // One byte short: refused with nothing written, or (a key) cut.
        src = text;
        int need = e.convert(&src[0], nullptr, UINT_MAX);
        ASSERT_GT(need, 1) << e.name;
        std::memset(out, 'x', sizeof out);
        src = text;
        int r = e.convert(&src[0], out, static_cast<unsigned>(need - 1));
        if (e.cuts) {
            EXPECT_EQ(r, static_cast<int>(std::strlen(out))) << e.name;
            continue;
        }
        EXPECT_EQ(r, 0) << e.name;
        EXPECT_EQ(ToviGetLastError(), -3) << e.name;
        EXPECT_EQ(std::string(out, sizeof out), std::string(sizeof out, 'x')) << e.name;
        // Success does not clear the last error.
        src = text;
        EXPECT_GT(e.convert(&src[0], out, sizeof out), 0) << e.name;
        EXPECT_EQ(ToviGetLastError(), -3) << e.name;
    }
}

const struct Twin {
    const char *name;
    char *(*twin)(char *);
    Export convert;
    bool limited;  // sources of more than 10,000 bytes are refused
} kTwins[] = {
    {"mono -> bilingual", [](char *s) { return ToviMonolingual2BilingualGlyphVB(s); }, kExports[0].convert, false},
    {"bilingual -> mono", [](char *s) { return ToviBilingual2MonolingualGlyphVB(s); }, kExports[1].convert, false},
    {"mono -> ISCII", ToviMonolingualGlyph2ISCIIVB, ToviMonolingualGlyph2ISCII, true},
    {"bilingual -> ISCII", ToviBilingualGlyph2ISCIIVB, ToviBilingualGlyph2ISCII, true},
    {"ISCII -> mono", ToviISCII2MonolingualGlyphVB, kExports[4].convert, true},
    {"ISCII -> bilingual", ToviISCII2BilingualGlyphVB, ToviISCII2BilingualGlyph, true},
    {"mono -> KSCLP", ToviMonolingualGlyph2KSCLPVB, ToviMonolingualGlyph2KSCLP, true},
    {"bilingual -> KSCLP", ToviBilingualGlyph2KSCLPVB, ToviBilingualGlyph2KSCLP, true},
};

// What the plain export gives for `text` and leaves of it ("(null)" where it gives nothing).
std::string Plainly(Export convert, const std::string &text, std::string &source) {
    source = text;
    std::vector<char> out(8 * text.size() + 16);
    int n = convert(&source[0], out.data(), static_cast<unsigned>(out.size()));
    source = source.c_str();
    return n > 0 ? std::string(out.data()) : "(null)";
}

TEST(ConverterCalls, TwinsGiveWhatTheirExportsGive) {
    // Signs to normalise, letters, a repha, ISCII; a source that gives nothing; the longest.
    std::vector<std::string> texts = {"\x51\xCC\xC3\xF6\xCD Ab \x50\xC0\xF0", "\xB3\xE8\xB3\xE8\xCF 1\xDB",
                                      "\xC0", std::string(10000, 'P'), std::string(5000, '\xB3')};
    for (const Twin &t : kTwins)
        for (const std::string &text : texts) {
            std::string plainSource, source = text;
            std::string expected = Plainly(t.convert, text, plainSource);
            char *r = t.twin(&source[0]);
            EXPECT_EQ(r ? std::string(r) : "(null)", expected) << t.name;
            EXPECT_EQ(source.c_str(), plainSource) << t.name;
        }
    for (const Twin &t : kTwins) {
        char empty[] = "";
        EXPECT_EQ(t.twin(empty), nullptr) << t.name;
        EXPECT_EQ(ToviGetLastError(), -4) << t.name;
        std::string big(t.limited ? 10001 : 50000, 'P');
        char *r = t.twin(&big[0]);
        if (t.limited) {
            EXPECT_EQ(r, nullptr) << t.name;
            EXPECT_EQ(ToviGetLastError(), -7) << t.name;
        } else {
            ASSERT_NE(r, nullptr) << t.name;
            EXPECT_EQ(std::strlen(r), big.size()) << t.name;
        }
    }
}

}  // namespace
