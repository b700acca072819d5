// ISCII to glyph strings through the public API: the keystrokes of every enumerated key
// sequence typed as typing types them, in both encodings; the codes that stand for
// themselves, ASCII letters, results and errors, and the twins.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "kannada-tovi-composer.h"
#include "../support/typed_keys.h"

namespace {

std::string Bytes(std::initializer_list<int> codes) {
    std::string s;
    for (int c : codes) s.push_back(static_cast<char>(c));
    return s;
}

std::string ToMono(const std::string &iscii) {
    char out[512] = {};
    int n = ToviISCII2MonolingualGlyph(iscii.c_str(), out, sizeof out);
    return std::string(out, n > 0 ? n : 0);
}

std::string ToBilingual(std::string &iscii) {
    char out[512] = {};
    int n = ToviISCII2BilingualGlyph(&iscii[0], out, sizeof out);
    return std::string(out, n > 0 ? n : 0);
}

// What a composer of kannada-tovi-composer.h types for the keys (the hook's codes).
std::string Typed(ToviComposer *c, const std::string &keys) {
    ToviComposerReset(c);
    std::string text;
    ToviComposerResult r;
    for (char k : keys)
        if (ToviComposerFeed(c, k, &r)) {
            text.resize(text.size() > static_cast<size_t>(r.erase) ? text.size() - r.erase : 0);
            text.append(r.insert, static_cast<size_t>(r.insertLength));
        }
    return text;
}

// Every enumerated key sequence whose typed glyphs come back from their ISCII: the bilingual
// conversion gives what typing gives in that encoding, joiners and all.
TEST(IsciiToGlyph, BothEncodingsGiveWhatTypingGives) {
    ToviComposer *mono = ToviComposerNew(TOVI_COMPOSER_MONOLINGUAL, 0);
    ToviComposer *bilingual = ToviComposerNew(TOVI_COMPOSER_BILINGUAL, 0);
    int compared = 0;
    char iscii[256], back[256];
    ForEachKeySequence([&](const std::string &keys, int) {
        std::string typed = Typed(mono, keys);
        if (typed.empty()) return;
        if (ToviMonolingualGlyph2ISCII(&typed[0], iscii, sizeof iscii) <= 1) return;
        if (ToviISCII2MonolingualGlyph(iscii, back, sizeof back) <= 0 || Typed(mono, keys) != back) return;
        compared++;
        int n = ToviISCII2BilingualGlyph(iscii, back, sizeof back);
        ASSERT_EQ(std::string(back, n > 0 ? n : 0), Typed(bilingual, keys)) << keys;
    });
    EXPECT_GT(compared, 700000);
    ToviComposerFree(mono);
    ToviComposerFree(bilingual);
    // The joiners of typing, also where the monolingual encoding has none (k f k f r).
    std::string kkra = Bytes({179, 232, 179, 232, 207});
    EXPECT_EQ(ToMono(kkra), Bytes({80, 192, 204, 231}));
    EXPECT_EQ(ToBilingual(kkra), Bytes({145, 208, 220, 255, 245}));
}

TEST(IsciiToGlyph, CodesThatStandForThemselvesAndLetters) {
    EXPECT_EQ(ToMono(Bytes({'1', 242, 243, 199, 234})), Bytes({'1', '1', '2', 242, '.'}));  // ISCII digits are ASCII
    EXPECT_EQ(ToMono(Bytes({164, 179})), Bytes({67, 80, 192}));  // a vowel starts afresh
    EXPECT_EQ(ToMono(Bytes({179, 217, 178})), Bytes({80, 192}));  // codes without a keystroke go
    EXPECT_EQ(ToMono("A"), "");  // no letters in the monolingual export
    // A letter ends the syllable (the AA after it is the vowel, no sign of KA); the bilingual
    // source takes the letters' monolingual codes.
    std::string mixed = Bytes({179, 65, 218});
    EXPECT_EQ(ToBilingual(mixed), Bytes({145, 208, 'A', 132}));
    EXPECT_EQ(mixed, Bytes({179, 127, 218}));
}

TEST(IsciiToGlyph, ResultsAndErrors) {
    EXPECT_EQ(ToviISCII2MonolingualGlyph(Bytes({179, 232, 179, 232, 180}).c_str(), nullptr, 1), 5);
    char out[4];
    std::memset(out, 'x', sizeof out);
    EXPECT_EQ(ToviISCII2MonolingualGlyph(Bytes({179, 179}).c_str(), out, 4), 0);  // needs 5
    EXPECT_EQ(ToviGetLastError(), -3);
    EXPECT_EQ(std::string(out, 4), "xxxx");
    EXPECT_EQ(ToviISCII2MonolingualGlyph("", out, 4), 0);
    EXPECT_EQ(ToviGetLastError(), -4);
    EXPECT_EQ(ToviISCII2MonolingualGlyph("1", out, 0), 0);
    EXPECT_EQ(ToviGetLastError(), -3);

    std::string ka = Bytes({179, 232, 179, 219});
    char *r = ToviISCII2MonolingualGlyphVB(&ka[0]);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(std::string(r), Bytes({81, 204}));
    std::string letters = "Ab";
    r = ToviISCII2BilingualGlyphVB(&letters[0]);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(std::string(r), "Ab");
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
