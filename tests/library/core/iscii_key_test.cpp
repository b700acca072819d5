// The KSCLP key of ISCII text, byte by byte, below the glyph conversion.
#include <gtest/gtest.h>

#include <string>

#include "convert/ksclp.h"

namespace {

std::string Bytes(std::initializer_list<int> codes) {
    std::string s;
    for (int c : codes) s.push_back(static_cast<char>(c));
    return s;
}

std::string Key(const std::string &iscii, bool bilingual = false) {
    std::string key(kKeyPerIscii * iscii.size() + 1, '\0');
    size_t n = IsciiToKsclp(reinterpret_cast<const uint8_t *>(iscii.data()), iscii.size(), bilingual,
                            reinterpret_cast<uint8_t *>(&key[0]));
    key.resize(n);
    return key;
}

TEST(IsciiKey, ConsonantsAndVowelSigns) {
    EXPECT_EQ(Key(Bytes({179})), Bytes({201, 182}));
    EXPECT_EQ(Key(Bytes({179, 218})), Bytes({201, 183}));
    EXPECT_EQ(Key(Bytes({179, 219})), Bytes({201, 184}));
    EXPECT_EQ(Key(Bytes({179, 232})), Bytes({201}));
    EXPECT_EQ(Key(Bytes({179, 232, 179})), Bytes({201, 201, 182}));
    EXPECT_EQ(Key(Bytes({179, 162})), Bytes({201, 182, 162}));
    EXPECT_EQ(Key(Bytes({179, 233})), Bytes({201, 241}));  // a nukta keeps the consonant bare
    for (int vowel = 164; vowel <= 178; vowel++) EXPECT_EQ(Key(Bytes({vowel})), Bytes({vowel}));
}

TEST(IsciiKey, Repha) {
    EXPECT_EQ(Key(Bytes({179, 208})), Bytes({229, 201, 182}));
    EXPECT_EQ(Key(Bytes({179, 232, 180, 208})), Bytes({229, 201, 202, 182}));
    EXPECT_EQ(Key(Bytes({208})), Bytes({229}));
    EXPECT_EQ(Key(Bytes({179, 219, 208})), Bytes({229, 201, 184}));
    // Two rephas in a row stay with the same cluster.
    EXPECT_EQ(Key(Bytes({179, 208, 208})), Bytes({229, 229, 201, 182}));
    // After a digit the repha stays in its own word.
    EXPECT_EQ(Key(Bytes({49, 179, 208})), Bytes({49, 229, 201, 182}));
}

TEST(IsciiKey, CorrectedCodes) {
    EXPECT_EQ(Key(Bytes({217, 207, 179})), Bytes({230, 230, 182, 201, 182}));
    EXPECT_EQ(Key(Bytes({217, 210})), Bytes({238, 238}));  // written like RRA: the letter, then its position
    EXPECT_EQ(Key(Bytes({212})), Bytes({232, 182}));
    EXPECT_EQ(Key(Bytes({210})), Bytes({237, 182}));
    EXPECT_EQ(Key(Bytes({199})), Bytes({220}));
    EXPECT_EQ(Key(Bytes({234})), Bytes({242}));
    EXPECT_EQ(Key(Bytes({49, 32, 50})), Bytes({49, 32, 50}));
}

TEST(IsciiKey, BilingualLetters) {
    EXPECT_EQ(Key("Ab", true), Bytes({65, 68}));
    EXPECT_EQ(Key("aB", true), Bytes({66, 67}));
    EXPECT_EQ(Key("mN", true), Bytes({90, 97}));
    EXPECT_EQ(Key("Ab", false), "Ab");
}

}  // namespace
