// KSCLP keys and comparisons through the public API.
#include <gtest/gtest.h>
#include <sys/mman.h>

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

std::string MonoKey(std::string glyphs) {
    char out[512] = {};
    int n = ToviMonolingualGlyph2KSCLP(&glyphs[0], out, sizeof out);
    EXPECT_EQ(n, static_cast<int>(std::strlen(out)));
    return std::string(out, n > 0 ? n : 0);
}

std::string ToBilingual(const std::string &mono) {
    std::string out(mono.size() + 1, '\0');
    ToviMonolingual2BilingualGlyph(mono.c_str(), &out[0], static_cast<unsigned>(out.size()));
    out.resize(mono.size());
    return out;
}

std::string BilingualKey(std::string glyphs) {
    char out[512] = {};
    int n = ToviBilingualGlyph2KSCLP(&glyphs[0], out, sizeof out);
    return std::string(out, n > 0 ? n : 0);
}

int Compare(std::string a, std::string b) { return ToviMonolingualGlyphCompare(&a[0], &b[0]); }

TEST(KsclpKey, KeysOfGlyphs) {
    const struct {
        std::string glyphs, key;
    } cases[] = {
        // A consonant takes the inherent vowel unless a sign, halant or nukta follows.
        {Bytes({80, 192}), Bytes({201, 182})},
        {Bytes({80, 193}), Bytes({201, 183})},
        {Bytes({81}), Bytes({201, 184})},
        {Bytes({80, 239}), Bytes({201})},
        {Bytes({80, 204}), Bytes({201, 201, 182})},
        {Bytes({80, 192, 65}), Bytes({201, 182, 162})},
        {Bytes({100, 251}), Bytes({208, 241})},
        // The repha goes in front of its cluster (two of them alike), within its own syllable
        // and never across a space into the word before.
        {Bytes({80, 192, 240}), Bytes({229, 201, 182})},
        {Bytes({80, 205, 240}), Bytes({229, 201, 202, 182})},
        {Bytes({80, 192, 240, 240}), Bytes({229, 229, 201, 182})},
        {Bytes({240}), Bytes({229})},
        {Bytes({80, 192, 80, 192, 240}), Bytes({201, 182, 229, 201, 182})},
        {Bytes({80, 192, 32, 80, 192, 240}), Bytes({201, 182, 32, 229, 201, 182})},
        {Bytes({80, 192, 32, 240}), Bytes({201, 182, 32, 229})},
        // Codes with corrections: RRA, VA, LLA, the dead NA; ASCII and vowels keep theirs.
        {Bytes({190, 80, 192}), Bytes({230, 230, 182, 201, 182})},
        {Bytes({170}), Bytes({232, 182})},
        {Bytes({188}), Bytes({237, 182})},
        {Bytes({242}), Bytes({220})},
        {"1 2", "1 2"},
        {Bytes({67}), Bytes({164})},
        {Bytes({127, 140, 161}), ""},  // Latin-letter codes give an empty key
    };
    for (const auto &c : cases) EXPECT_EQ(MonoKey(c.glyphs), c.key);
}

TEST(KsclpKey, BilingualLettersSortWithEachCapitalBeforeItsSmallLetter) {
    EXPECT_EQ(BilingualKey("Ab"), Bytes({65, 68}));
    EXPECT_EQ(BilingualKey("aB"), Bytes({66, 67}));
    EXPECT_EQ(BilingualKey("Nz"), Bytes({97, 122}));
    std::string ab = "Ab", aB = "aB";
    EXPECT_EQ(ToviBilingualGlyphCompare(&ab[0], &aB[0]), -1);
    // Letters after Kannada text that made the key longer than its ISCII form.
    EXPECT_EQ(BilingualKey(ToBilingual(Bytes({80, 192, 240})) + "Z"), Bytes({229, 201, 182, 121}));
}

TEST(KsclpKey, SizesCutsAndTwins) {
    std::string ka = Bytes({80, 192, 240});
    EXPECT_EQ(ToviMonolingualGlyph2KSCLP(&ka[0], nullptr, 100), 3);
    // The key is cut at dstSize - 1 bytes and never written past dstSize.
    char out[4];
    std::memset(out, 'x', sizeof out);
    EXPECT_EQ(ToviMonolingualGlyph2KSCLP(&ka[0], out, 3), 2);
    EXPECT_EQ(std::string(out), Bytes({229, 201}));
    EXPECT_EQ(out[3], 'x');
    EXPECT_EQ(ToviMonolingualGlyph2KSCLP(&ka[0], out, 0), 0);
    EXPECT_EQ(ToviGetLastError(), -3);
    char empty[] = "";
    EXPECT_EQ(ToviMonolingualGlyph2KSCLP(empty, out, 4), 0);
    EXPECT_EQ(ToviGetLastError(), -4);

    char *key = ToviMonolingualGlyph2KSCLPVB(&ka[0]);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(std::string(key), Bytes({229, 201, 182}));
    std::string bi = ToBilingual(Bytes({81})) + "a";
    key = ToviBilingualGlyph2KSCLPVB(&bi[0]);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(std::string(key), Bytes({201, 184, 66}));
    std::string dropped = Bytes({192});
    EXPECT_EQ(ToviMonolingualGlyph2KSCLPVB(&dropped[0]), nullptr);  // an empty key
    EXPECT_EQ(ToviBilingualGlyph2KSCLPVB(empty), nullptr);
    EXPECT_EQ(ToviGetLastError(), -4);
    std::string big(10001, 'P');
    EXPECT_EQ(ToviMonolingualGlyph2KSCLPVB(&big[0]), nullptr);
    EXPECT_EQ(ToviGetLastError(), -7);  // refused with a code of its own
}

TEST(KsclpCompare, OrdersByTheWholeKeysOr999) {
    std::string ka = Bytes({80, 192}), kaa = Bytes({80, 193}), kam = Bytes({80, 192, 65});
    std::string k = Bytes({80, 239}), kka = Bytes({80, 204});
    EXPECT_EQ(Compare(k, ka), -1);
    EXPECT_EQ(Compare(ka, kam), -1);
    EXPECT_EQ(Compare(kam, kaa), -1);
    EXPECT_EQ(Compare(kaa, kka), -1);
    EXPECT_EQ(Compare(kka, ka), 1);
    EXPECT_EQ(Compare(ka, ka), 0);
    EXPECT_EQ(Compare(Bytes({82}), Bytes({83})), 0);  // two glyphs of one letter
    // Two names of 30000 glyphs that differ only in their last syllable.
    std::string common;
    for (int i = 0; i < 10000; i++) common += Bytes({80, 192, 240});
    EXPECT_EQ(Compare(common + ka, common + kaa), -1);
    EXPECT_EQ(ToviMonolingualGlyphCompareVB((common + kaa).c_str(), (common + ka).c_str()), 1);
    // A missing, empty or keyless string: 999.
    EXPECT_EQ(ToviMonolingualGlyphCompare(ka.c_str(), nullptr), 999);
    EXPECT_EQ(ToviGetLastError(), -4);
    EXPECT_EQ(ToviBilingualGlyphCompare("", ka.c_str()), 999);
    EXPECT_EQ(ToviGetLastError(), -4);
    EXPECT_EQ(Compare(Bytes({192}), ka), 999);
}

TEST(KsclpCompare, StringsAreOnlyRead) {
    // Strings that normalisation would change, on a page that cannot be written.
    std::string mono = Bytes({81, 204, 246, 205, 195, 32, 80, 192, 240});
    std::string bi = ToBilingual(Bytes({81, 204, 246, 205, 195})) + "Ab";
    void *page = mmap(nullptr, 4096, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(page, MAP_FAILED);
    char *a = static_cast<char *>(page), *b = a + 1024;
    std::memcpy(a, mono.c_str(), mono.size() + 1);
    std::memcpy(b, bi.c_str(), bi.size() + 1);
    ASSERT_EQ(mprotect(page, 4096, PROT_READ), 0);
    EXPECT_EQ(ToviMonolingualGlyphCompare(a, a), 0);
    EXPECT_EQ(ToviMonolingualGlyphCompareVB(a, "\x50\xC0"), 1);
    EXPECT_EQ(ToviBilingualGlyphCompare(b, b), 0);
    EXPECT_EQ(ToviBilingualGlyphCompareVB("Ab", b), -1);
    EXPECT_EQ(std::string(a), mono);
    munmap(page, 4096);
}

}  // namespace
