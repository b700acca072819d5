// Text between Unicode and the encodings, both ways: every syllable a writer forms, and the
// words of the Kannada spelling dictionary when it is installed. (Every syllable the keyboard
// types comes back too: composer_api_test.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <string>

#include "../support/converted.h"

namespace {

// Every syllable a writer of Kannada forms: each consonant (RRA and LLLA too) with and
// without the nukta, with each vowel sign, the virama or none, and with the anusvara, the
// visarga or neither; each two-member conjunct (a nukta on either member or both) with each
// vowel sign, the virama or none; each of those after a repha; each vowel with its modifiers.
std::vector<std::string> WrittenSyllables() {
    auto utf8 = [](std::initializer_list<unsigned> cps) {
        std::string s;
        for (unsigned cp : cps)
            if (cp) s += {static_cast<char>(0xE0 | cp >> 12), static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
                          static_cast<char>(0x80 | (cp & 0x3F))};
        return s;
    };
    std::vector<unsigned> consonants;
    for (unsigned c = 0x0C95; c <= 0x0CB9; c++)
        if (c != 0x0CA9 && c != 0x0CB4) consonants.push_back(c);
    consonants.push_back(0x0CDE);
    const unsigned signs[] = {0,      0x0CCD, 0x0CBE, 0x0CBF, 0x0CC0, 0x0CC1, 0x0CC2, 0x0CC3, 0x0CC4,
                              0x0CC6, 0x0CC7, 0x0CC8, 0x0CCA, 0x0CCB, 0x0CCC, 0x0CE2, 0x0CE3};
    std::vector<std::string> syllables;
    for (const std::string &repha : {std::string(), utf8({0x0CB0, 0x0CCD})})
        for (unsigned c : consonants)
            for (unsigned nukta : {0u, 0x0CBCu}) {
                for (unsigned sign : signs)
                    for (unsigned modifier : {0u, 0x0C82u, 0x0C83u})
                        if (!(sign == 0x0CCD && modifier)) syllables.push_back(repha + utf8({c, nukta, sign, modifier}));
                for (unsigned d : consonants)
                    for (unsigned nukta2 : {0u, 0x0CBCu})
                        for (unsigned sign : signs)
                            syllables.push_back(repha + utf8({c, nukta, 0x0CCD, d, nukta2, sign}));
            }
    for (unsigned v : {0x0C85, 0x0C86, 0x0C87, 0x0C88, 0x0C89, 0x0C8A, 0x0C8B, 0x0C8C, 0x0C8E, 0x0C8F, 0x0C90,
                       0x0C92, 0x0C93, 0x0C94, 0x0CE0, 0x0CE1})
        for (unsigned modifier : {0u, 0x0C82u, 0x0C83u}) syllables.push_back(utf8({v, modifier}));
    return syllables;
}

std::string WithoutJoinersAfterVirama(std::string utf8) {
    for (size_t at = 0; (at = utf8.find("\xE0\xB3\x8D\xE2\x80", at)) != std::string::npos;) {
        at += 3;
        if (utf8[at + 2] == '\x8C' || utf8[at + 2] == '\x8D') utf8.erase(at, 3);
    }
    return utf8;
}

// Each syllable, alone between spaces, goes from Unicode to each encoding and back. It comes
// back as it was, up to a joiner after a virama, or the encoding cannot hold it: then
// ToviUnicodeUnheld names a character of it, and the conversion leaves it out whole. Nothing
// comes back as another text or with a Latin letter. ISCII to glyphs types what Unicode to
// glyphs gives.
TEST(WrittenSyllables, ComeBackOrAreNamedAndLeftOutWhole) {
    const std::vector<std::string> syllables = WrittenSyllables();
    ASSERT_EQ(syllables.size(), 183360u);
    std::string text;
    std::vector<int> starts;  // byte offsets of the syllables in the text
    for (const std::string &s : syllables) {
        starts.push_back(static_cast<int>(text.size()));
        text += s + " ";
    }
    struct Way {
        int encoding;
        Export there, back;
    } ways[] = {{TOVI_MONOLINGUAL_GLYPHS, ToviUnicode2MonolingualGlyph, ToviMonolingualGlyph2Unicode},
                {TOVI_BILINGUAL_GLYPHS, ToviUnicode2BilingualGlyph, ToviBilingualGlyph2Unicode},
                {TOVI_ISCII, ToviUnicode2ISCII, ToviISCII2Unicode}};
    std::map<int, std::vector<bool>> held;
    std::map<int, std::vector<std::string>> there;
    for (const Way &way : ways) {
        std::string converted = Converted(way.there, text);
        std::vector<std::string> out = Pieces(converted), back = Pieces(Converted(way.back, converted));
        ASSERT_EQ(out.size(), syllables.size() + 1);
        ASSERT_EQ(back.size(), syllables.size() + 1);
        std::vector<int> offsets(syllables.size() + 1);
        int n = ToviUnicodeUnheld(text.c_str(), way.encoding, offsets.data(), nullptr, static_cast<int>(offsets.size()));
        ASSERT_GE(n, 0);
        ASSERT_LE(n, static_cast<int>(syllables.size()));
        std::vector<bool> named(syllables.size());
        for (int k = 0; k < n; k++) {
            size_t i = static_cast<size_t>(std::upper_bound(starts.begin(), starts.end(), offsets[k]) - starts.begin() - 1);
            EXPECT_FALSE(named[i]) << syllables[i];  // one character a syllable
            named[i] = true;
        }
        for (size_t i = 0; i < syllables.size(); i++) {
            if (named[i]) {
                EXPECT_EQ(out[i] + back[i], "") << way.encoding << ": " << syllables[i];
            } else {
                EXPECT_EQ(WithoutJoinersAfterVirama(back[i]), syllables[i]) << way.encoding;
            }
            if (HasFailure()) return;
        }
        held[way.encoding] = std::vector<bool>(named.size());
        for (size_t i = 0; i < named.size(); i++) held[way.encoding][i] = !named[i];
        there[way.encoding] = std::move(out);
    }
    std::vector<std::string> typed = Pieces(Converted(ToviISCII2MonolingualGlyph, Converted(ToviUnicode2ISCII, text)));
    for (size_t i = 0; i < syllables.size(); i++)
        if (held[TOVI_MONOLINGUAL_GLYPHS][i]) {
            ASSERT_EQ(typed[i], there[TOVI_MONOLINGUAL_GLYPHS][i]) << syllables[i];
        }

    // What the glyph fonts cannot show. The monolingual one shows every syllable but those
    // with a nukta, the vocalic L or LL sign, RRA or LLLA, and NGA or NYA with the AA sign
    // (their AA sign is typed only with the key-engine switch); of those it shows 38,935.
    auto count = [&](int encoding) { return std::count(held[encoding].begin(), held[encoding].end(), false); };
    size_t special = 0;
    for (size_t i = 0; i < syllables.size(); i++) {
        const std::string &s = syllables[i];
        auto has = [&s](const char *c) { return s.find(c) != std::string::npos; };
        size_t first = s.compare(0, 6, "\xE0\xB2\xB0\xE0\xB3\x8D") == 0 && s.size() > 9 ? 6 : 0;  // after a repha
        bool ngaOrNya = s.compare(first, 3, "\xE0\xB2\x99") == 0 || s.compare(first, 3, "\xE0\xB2\x9E") == 0;
        bool rare = has("\xE0\xB2\xBC") || has("\xE0\xB3\xA2") || has("\xE0\xB3\xA3") || has("\xE0\xB2\xB1") ||
                    has("\xE0\xB3\x9E") || (ngaOrNya && has("\xE0\xB2\xBE"));
        if (!rare) {
            EXPECT_TRUE(held[TOVI_MONOLINGUAL_GLYPHS][i]) << s;
        }
        special += rare && held[TOVI_MONOLINGUAL_GLYPHS][i];
    }
    std::printf("%zu syllables; not held: %ld monolingual, %ld bilingual, %ld ISCII\n", syllables.size(),
                count(TOVI_MONOLINGUAL_GLYPHS), count(TOVI_BILINGUAL_GLYPHS), count(TOVI_ISCII));
    EXPECT_EQ(special, 38935u);
    EXPECT_EQ(count(TOVI_MONOLINGUAL_GLYPHS), 106923);
    EXPECT_EQ(count(TOVI_BILINGUAL_GLYPHS), 149316);
    EXPECT_EQ(count(TOVI_ISCII), 0);
}

// The dictionary words (aspell-kn) through glyph text and back. Glyph text has no zero-width
// joiners (Kannada shows a halant the same way with either): words come back without them,
// which the second count allows. A word that does not come back so is one of which
// ToviUnicodeUnheld names a character.
TEST(DictionaryWords, ComeBackFromGlyphText) {
    FILE *pipe = popen("aspell -d kn dump master 2>/dev/null", "r");
    ASSERT_NE(pipe, nullptr);
    std::string text;
    for (int c; (c = std::fgetc(pipe)) != EOF;) text.push_back(static_cast<char>(c == '\n' ? ' ' : c));
    pclose(pipe);
    std::vector<std::string> words = Pieces(text);
    if (words.size() < 2) GTEST_SKIP() << "the Kannada dictionary (aspell-kn) is not installed";
    std::vector<std::string> back = Pieces(Converted(ToviMonolingualGlyph2Unicode, Converted(ToviUnicode2MonolingualGlyph, text)));
    ASSERT_EQ(back.size(), words.size());
    std::vector<int> offsets(words.size());
    int n = ToviUnicodeUnheld(text.c_str(), TOVI_MONOLINGUAL_GLYPHS, offsets.data(), nullptr, static_cast<int>(offsets.size()));
    std::set<size_t> named;
    for (size_t i = 0, at = 0, k = 0; i < words.size(); at += words[i++].size() + 1)
        for (; k < static_cast<size_t>(n) && static_cast<size_t>(offsets[k]) < at + words[i].size() + 1; k++) named.insert(i);
    // Glyph text keeps no zero-width joiner: Kannada shows the halant the same with either.
    auto withoutJoiners = [](std::string s) {
        for (size_t at = 0; (at = s.find("\xE2\x80", at)) != std::string::npos;)
            if (s[at + 2] == '\x8C' || s[at + 2] == '\x8D') s.erase(at, 3);
            else at++;
        return s;
    };
    size_t total = words.size() - 1, exact = 0, shown = 0;
    for (size_t i = 0; i < total; i++) {
        exact += back[i] == words[i];
        bool same = back[i] == words[i] || withoutJoiners(back[i]) == withoutJoiners(words[i]);
        shown += same;
        EXPECT_EQ(same, !named.count(i)) << words[i] << " -> " << back[i];
    }
    std::printf("%zu words: %zu unchanged (%.2f%%), %zu unchanged up to the joiners (%.2f%%)\n", total,
                exact, 100.0 * exact / total, shown, 100.0 * shown / total);
    EXPECT_GE(shown, total * 0.99);
    EXPECT_GE(exact, total * 0.965);
}

}  // namespace
