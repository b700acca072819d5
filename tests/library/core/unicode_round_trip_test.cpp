// Glyph text through Unicode and back: every syllable the keyboard types, and the words of the
// Kannada spelling dictionary when it is installed.
#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <set>
#include <string>

#include "kannada-tovi.h"
#include "../support/fed_glyphs.h"
#include "../support/typed_keys.h"

namespace {

std::string WithoutJoiners(const std::string &glyphs) {
    std::string s;
    for (char c : glyphs)
        if (c != '\xF6' && c != '\xF7') s.push_back(c);
    return s;
}

std::string ToUnicode(const std::string &glyphs) {
    std::string out(16 * glyphs.size() + 16, '\0');
    int n = ToviMonolingualGlyph2Unicode(glyphs.c_str(), &out[0], static_cast<unsigned>(out.size()));
    out.resize(n > 0 ? n : 0);
    return out;
}

std::string ToGlyphs(const std::string &utf8) {
    std::string out(4 * utf8.size() + 16, '\0');
    int n = ToviUnicode2MonolingualGlyph(utf8.c_str(), &out[0], static_cast<unsigned>(out.size()));
    out.resize(n > 0 ? n : 0);
    return out;
}

class KeyboardSyllables : public ::testing::Test {
protected:
    void SetUp() override { ToviChangeFontType(1); }

    // Round-trips the typed glyphs of `keys`; records the sequences that do not come back.
    void Check(const std::string &keys) {
        std::string typed = FedGlyphs(keys);
        if (typed.empty()) return;
        checked++;
        std::string back = ToGlyphs(ToUnicode(typed));
        if (WithoutJoiners(back) != WithoutJoiners(typed)) failed.insert(keys);
        // The text that comes back is a fixed point, joiners and all.
        if (!back.empty() && ToGlyphs(ToUnicode(back)) != back) unstable.insert(keys);
    }

    int checked = 0;
    std::set<std::string> failed, unstable;
};

TEST_F(KeyboardSyllables, EveryConsonantWithEveryVowelSign) {
    for (const char *c = kConsonantKeys; *c; c++)
        for (const char *v : kVowelKeys) Check(std::string(1, *c) + v);
    for (const char *v : kVowelKeys) Check(v);
    EXPECT_GT(checked, 600);
    // The glyph of the repha alone has no consonant to go with: it comes back as RA + halant.
    EXPECT_EQ(failed, (std::set<std::string>{"F"}));
    EXPECT_TRUE(unstable.empty()) << *unstable.begin();
}

TEST_F(KeyboardSyllables, EveryTwoAndThreeMemberConjunctWithEveryVowelSign) {
    for (const char *c = kConsonantKeys; *c; c++)
        for (const char *d = kConsonantKeys; *d; d++)
            for (const char *v : kVowelKeys) {
                Check(std::string(1, *c) + "f" + *d + v);
                for (const char *e = kConsonantKeys; *e; e++) Check(std::string(1, *c) + "f" + *d + "f" + *e + v);
            }
    EXPECT_GT(checked, 700000);
    // Only k + SSA (+ another consonant) with the O or OO sign fails: the sign's pieces stand
    // on both sides of the subscripts, and glyph-to-ISCII keeps only E + UU of them (the
    // length mark of OO has no ISCII of its own there).
    std::regex known("kfx(f.)?[oO]|kfxO");
    for (const std::string &keys : failed) EXPECT_TRUE(std::regex_match(keys, known)) << keys;
    EXPECT_EQ(failed.size(), 69u);
    EXPECT_TRUE(unstable.empty()) << *unstable.begin();
}

TEST_F(KeyboardSyllables, ExtendedFormsAndWords) {
    // RRA, LLLA, the dead NA, nukta forms, the vocalic RR sign, subscript RRA and LLLA.
    for (const char *keys : {"rX", "LX", "nX", "jX", "PX", "RX", "kRX", "kfrX", "kfLX", "jXfk", "iX", "kX", "rXi"})
        Check(keys);
    // Whole words: syllables one after another with spaces and punctuation.
    for (const char *keys : {"kannaDa", "karnATaka", "rAShTra", "baMgAru", "vidyArthi", "aMtarjAla"}) Check(keys);
    EXPECT_TRUE(failed.empty()) << *failed.begin();
    EXPECT_TRUE(unstable.empty()) << *unstable.begin();
}

// The dictionary words (aspell-kn) through glyph text and back. Kannada shows a halant the
// same way whichever zero-width joiner follows it, and the glyph text has one halant glyph:
// those words come back with the joiner normalised, which the second count allows.
TEST(DictionaryWords, ComeBackFromGlyphText) {
    FILE *pipe = popen("aspell -d kn dump master 2>/dev/null", "r");
    ASSERT_NE(pipe, nullptr);
    std::string word;
    int total = 0, exact = 0, shown = 0;
    std::vector<std::string> samples;
    // ZWJ after a halant is the same as ZWNJ; a joiner after a halant matters only before a
    // consonant.
    auto normalise = [](std::string s) {
        s = std::regex_replace(s, std::regex("\xE2\x80\x8D"), "\xE2\x80\x8C");
        return std::regex_replace(s, std::regex("\xE0\xB3\x8D\xE2\x80\x8C(?!\xE0\xB2[\x95-\xB9]|\xE0\xB3\x9E)"),
                                  "\xE0\xB3\x8D");
    };
    int c;
    while ((c = std::fgetc(pipe)) != EOF) {
        if (c != '\n') {
            word.push_back(static_cast<char>(c));
            continue;
        }
        if (word.empty()) continue;
        total++;
        std::string back = ToUnicode(ToGlyphs(word));
        if (back == word) exact++;
        if (normalise(back) == normalise(word)) shown++;
        else if (samples.size() < 10) samples.push_back(word + " -> " + back);
        word.clear();
    }
    pclose(pipe);
    if (total == 0) GTEST_SKIP() << "the Kannada dictionary (aspell-kn) is not installed";
    std::printf("%d words: %d unchanged (%.2f%%), %d unchanged up to the joiner after a halant (%.2f%%)\n", total,
                exact, 100.0 * exact / total, shown, 100.0 * shown / total);
    EXPECT_GE(shown, total * 0.99);
    EXPECT_GE(exact, total * 0.965);
    for (const std::string &s : samples) std::printf("  %s\n", s.c_str());
}

}  // namespace
