// ISCII to glyph once the key engine is switched ("a" the long-a key after a consonant): the
// AA sign still comes out. A program of its own, since the switch cannot be undone.
#include <gtest/gtest.h>

#include <string>

#include "kannada-tovi.h"

namespace {

std::string ToMono(const std::string &iscii) {
    char out[64] = {};
    int n = ToviISCII2MonolingualGlyph(iscii.c_str(), out, sizeof out);
    return std::string(out, n > 0 ? n : 0);
}

TEST(IsciiWithTheKeyEngine, TheLongASignAndVowelStay) {
    const std::string kaa = "\xB3\xDA";        // KA + AA sign
    const std::string kka = "\xB3\xE8\xB3\xDA";  // KKA + AA sign
    const std::string aa = "\xA5";              // the vowel AA
    std::string before[] = {ToMono(kaa), ToMono(kka), ToMono(aa)};
    EXPECT_EQ(before[0], "\x50\xC1");
    ToviSetKeyEngine();
    EXPECT_EQ(ToMono(kaa), before[0]);
    EXPECT_EQ(ToMono(kka), before[1]);
    EXPECT_EQ(ToMono(aa), before[2]);
    char key[16];
    std::string glyphs = "\x50\xC1";
    ASSERT_GT(ToviMonolingualGlyph2KSCLP(&glyphs[0], key, sizeof key), 0);
    EXPECT_EQ(ToviUnicode2MonolingualGlyph("ಕಾ", key, sizeof key), 2);
    EXPECT_EQ(std::string(key), before[0]);
}

}  // namespace
