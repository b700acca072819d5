// The converters against the conversions written plainly (../support/plain_conversions.h),
// byte for byte: results, last errors, outputs and what they leave of their source, with
// destinations of every size around the output; on every syllable the keyboard types (each
// alone, and all together with and without spaces), on random text and on the Kannada spelling
// dictionary. The quick ways from Unicode are held to the plain way of the library itself.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "base/last_error.h"
#include "convert/unicode_held.h"
#include "kannada-tovi.h"
#include "../support/fed_glyphs.h"
#include "../support/plain_conversions.h"
#include "../support/typed_keys.h"

namespace {

using plain::Bytes;
using plain::Outcome;
using Export = int (*)(char *, char *, unsigned);

int IsciiToMono(char *s, char *d, unsigned n) { return ToviISCII2MonolingualGlyph(s, d, n); }
int MonoToUnicode(char *s, char *d, unsigned n) { return ToviMonolingualGlyph2Unicode(s, d, n); }
int BilingualToUnicode(char *s, char *d, unsigned n) { return ToviBilingualGlyph2Unicode(s, d, n); }
int IsciiToUnicode(char *s, char *d, unsigned n) { return ToviISCII2Unicode(s, d, n); }

// The library's export on a copy of `text` into a destination of `room` bytes (0: none, a size
// query), marked past its end: nothing may be written there.
Outcome Library(Export convert, const Bytes &text, size_t room) {
    std::vector<char> src(text.begin(), text.end()), dst(room + 1, '\x5A');
    src.push_back('\0');
    LibraryLastError = 12345;
    int result = convert(src.data(), room ? dst.data() : nullptr, room ? static_cast<unsigned>(room) : 0xFFFFFFFFu);
    EXPECT_EQ(dst[room], '\x5A') << "written past the destination";
    // A call that succeeds writes its output and a terminator.
    const char *end = static_cast<const char *>(std::memchr(dst.data(), 0, room));
    Bytes output = !room || result < 0 || LibraryLastError != 12345 ? ""
                   : end ? Bytes(dst.data(), static_cast<size_t>(end - dst.data()) + 1) : "unterminated";
    return {result, LibraryLastError, output, src.data()};
}

// What a direction is to the test: the library's export and the plain way.
struct Direction {
    const char *name;
    Export library;
    Outcome (*plain)(const Bytes &, size_t, bool);
    bool bilingual;
};

Outcome PlainIsciiToUnicode(const Bytes &s, size_t room, bool) { return plain::IsciiToUnicode(s, room); }

const Direction kFromGlyphs[] = {
    {"mono glyph -> ISCII", ToviMonolingualGlyph2ISCII, plain::GlyphToIscii, false},
    {"bilingual glyph -> ISCII", ToviBilingualGlyph2ISCII, plain::GlyphToIscii, true},
    {"mono glyph -> Unicode", MonoToUnicode, plain::GlyphToUnicode, false},
    {"bilingual glyph -> Unicode", BilingualToUnicode, plain::GlyphToUnicode, true},
    {"mono glyph -> KSCLP", ToviMonolingualGlyph2KSCLP, plain::Ksclp, false},
    {"bilingual glyph -> KSCLP", ToviBilingualGlyph2KSCLP, plain::Ksclp, true},
};
const Direction kFromIscii[] = {
    {"ISCII -> mono glyph", IsciiToMono, plain::IsciiToGlyph, false},
    {"ISCII -> bilingual glyph", ToviISCII2BilingualGlyph, plain::IsciiToGlyph, true},
    {"ISCII -> Unicode", IsciiToUnicode, PlainIsciiToUnicode, false},
};

std::string Show(const Outcome &o) {
    char text[96];
    std::snprintf(text, sizeof text, "result %d, error %d, output %zu bytes, source %zu bytes", o.result, o.error,
                  o.output.size(), o.source.size());
    return text;
}

bool Same(const Outcome &a, const Outcome &b) {
    return a.result == b.result && a.error == b.error && a.output == b.output && a.source == b.source;
}

// The direction on `text`: into room enough, a size query, and (`tight`) rooms around what
// the output needs.
void Compare(const Direction &d, const Bytes &text, bool tight) {
    if (text.empty()) return;
    size_t generous = 27 * text.size() + 64;
    Outcome expected = d.plain(text, generous, d.bilingual), ours = Library(d.library, text, generous);
    ASSERT_TRUE(Same(ours, expected)) << d.name << ": " << Show(ours) << " for " << Show(expected);
    if (!tight) return;
    std::vector<size_t> rooms = {0};
    if (expected.result > 0)
        for (int delta : {-1, 0, 1, 2}) rooms.push_back(static_cast<size_t>(std::max(1, expected.result + delta)));
    for (size_t room : rooms) {
        Outcome a = Library(d.library, text, room), b = d.plain(text, room, d.bilingual);
        ASSERT_TRUE(Same(a, b)) << d.name << ", room " << room << ": " << Show(a) << " for " << Show(b);
    }
}

template <size_t N>
void CompareAll(const Direction (&directions)[N], const Bytes &text, bool tight) {
    for (const Direction &d : directions) Compare(d, text, tight);
}

// Every syllable of one, two or three consonants with every vowel key, as the keyboard types
// it, and its ISCII: about 769,000 each.
const std::vector<Bytes> &TypedSyllables() {
    static const std::vector<Bytes> syllables = [] {
        std::vector<Bytes> all;
        ForEachKeySequence([&](const std::string &keys, int) {
            Bytes typed = FedGlyphs(keys);
            if (!typed.empty()) all.push_back(typed);
        });
        return all;
    }();
    return syllables;
}

// Texts of about 64 KB of the strings, one after another, with a space between them or none.
std::vector<Bytes> Texts(const std::vector<Bytes> &strings, bool spaces) {
    std::vector<Bytes> texts(1);
    for (const Bytes &s : strings) {
        if (texts.back().size() > 65536) texts.emplace_back();
        texts.back() += s;
        if (spaces) texts.back() += ' ';
    }
    return texts;
}

TEST(ConversionAgainstPlain, EveryTypedSyllableAlone) {
    const std::vector<Bytes> &syllables = TypedSyllables();
    ASSERT_GT(syllables.size(), 760000u);
    // Each through glyph to Unicode, where the most happens; every 97th through all.
    for (size_t i = 0; i < syllables.size() && !HasFailure(); i++) {
        if (i % 97) Compare(kFromGlyphs[2], syllables[i], false);
        else CompareAll(kFromGlyphs, syllables[i], true);
    }
}

// All of them one after another, with a space between them or none, from glyphs or from ISCII
// (`from`: the directions).
template <size_t N>
void TypedSyllablesInTexts(bool spaces, const Direction (&from)[N], size_t first = 0, size_t last = N) {
    for (const Bytes &text : Texts(TypedSyllables(), spaces)) {
        if (::testing::Test::HasFailure()) return;
        Bytes converted = text;
        if (+from == +kFromIscii) {
            Outcome iscii = plain::GlyphToIscii(text, 1 << 30, false);
            converted = iscii.output.substr(0, iscii.output.size() - 1);
        }
        for (size_t d = first; d < last; d++) Compare(from[d], converted, false);
    }
}

TEST(ConversionAgainstPlain, EveryTypedSyllableInGlyphTextWithSpaces) { TypedSyllablesInTexts(true, kFromGlyphs); }
TEST(ConversionAgainstPlain, EveryTypedSyllableInGlyphTextRunOn) { TypedSyllablesInTexts(false, kFromGlyphs); }
TEST(ConversionAgainstPlain, EveryTypedSyllableInIsciiToMonolingualAndUnicode) {
    TypedSyllablesInTexts(true, kFromIscii, 0, 1);
    TypedSyllablesInTexts(true, kFromIscii, 2, 3);
}
TEST(ConversionAgainstPlain, EveryTypedSyllableInIsciiToBilingual) { TypedSyllablesInTexts(true, kFromIscii, 1, 2); }
TEST(ConversionAgainstPlain, EveryTypedSyllableInIsciiRunOn) { TypedSyllablesInTexts(false, kFromIscii); }

// Codes drawn from `alphabet`.
Bytes Random(std::mt19937 &random, const std::vector<uint8_t> &alphabet, size_t length) {
    Bytes s(length, ' ');
    for (char &c : s) c = static_cast<char>(alphabet[random() % alphabet.size()]);
    return s;
}

std::vector<uint8_t> EveryCode() {
    std::vector<uint8_t> codes;
    for (int c = 1; c < 256; c++) codes.push_back(static_cast<uint8_t>(c));
    return codes;
}

TEST(ConversionAgainstPlain, RandomGlyphs) {
    std::mt19937 random(12345);
    // The glyphs the normalisation, the rows, the orders and the context rules turn on.
    std::vector<uint8_t> telling = {32,  44,  49,  65,  73,  80,  81,  84,  86,  97,  100, 103, 104, 105, 106, 113,
                                    114, 115, 122, 128, 145, 153, 162, 163, 166, 169, 170, 171, 176, 178, 182, 185,
                                    187, 189, 190, 191, 192, 193, 194, 195, 196, 198, 199, 200, 201, 202, 239, 240,
                                    241, 242, 243, 245, 246, 247, 248, 249, 250, 251, 252, 253, 254, 255};
    for (int g = 204; g <= 238; g += 3) telling.push_back(static_cast<uint8_t>(g));
    const std::vector<uint8_t> every = EveryCode();
    for (int round = 0; round < 20000 && !HasFailure(); round++)
        CompareAll(kFromGlyphs, Random(random, round % 2 ? every : telling, 1 + random() % 40), round % 7 == 0);
    // Long text, past the pieces the conversions take at a time; one piece that ends where a
    // bilingual subscript and RA follow.
    for (size_t length : {16383u, 16385u, 70000u}) {
        CompareAll(kFromGlyphs, Random(random, telling, length), true);
        CompareAll(kFromGlyphs, Random(random, every, length), true);
    }
    Bytes edge = Random(random, {80, 192, 32}, 16383) + ',' + plain::ToBilingual("\xCC\xE6\xCC\xE6");
    CompareAll(kFromGlyphs, edge, true);
}

TEST(ConversionAgainstPlain, RandomIscii) {
    std::mt19937 random(777);
    std::vector<uint8_t> telling = {32,  65,  97,  161, 164, 166, 167, 170, 179, 180, 186, 198, 199, 200, 207, 208,
                                    210, 217, 218, 219, 220, 222, 223, 224, 228, 232, 232, 232, 233, 233, 239, 241};
    const std::vector<uint8_t> every = EveryCode();
    for (int round = 0; round < 20000 && !HasFailure(); round++)
        CompareAll(kFromIscii, Random(random, round % 2 ? every : telling, 1 + random() % 24), round % 7 == 0);
    for (size_t length : {1000u, 40000u}) {
        CompareAll(kFromIscii, Random(random, every, length), true);
        CompareAll(kFromIscii, Random(random, telling, length), true);
    }
}

// The words of the Kannada spelling dictionary (aspell-kn) in UTF-8.
const std::vector<std::string> &DictionaryWords() {
    static const std::vector<std::string> words = [] {
        std::vector<std::string> all;
        if (FILE *pipe = popen("aspell -d kn dump master 2>/dev/null", "r")) {
            char line[1024];
            while (std::fgets(line, sizeof line, pipe)) {
                std::string w(line);
                while (!w.empty() && (w.back() == '\n' || w.back() == '\r')) w.pop_back();
                if (!w.empty()) all.push_back(w);
            }
            pclose(pipe);
        }
        return all;
    }();
    return words;
}

TEST(ConversionAgainstPlain, DictionaryFromUnicode) {
    const std::vector<std::string> &words = DictionaryWords();
    if (words.empty()) GTEST_SKIP() << "the Kannada dictionary (aspell-kn) is not installed";
    std::string text;
    for (const std::string &w : words) text += w + ' ';
    // The quick way and the plain way of the library.
    const HeldIn encodings[] = {HeldIn::kMonolingual, HeldIn::kBilingual, HeldIn::kIscii};
    for (HeldIn e : encodings) {
        std::string quick, plainly;
        ConvertHeld(reinterpret_cast<const uint8_t *>(text.data()), text.size(), e, quick);
        ConvertHeldPlainly(reinterpret_cast<const uint8_t *>(text.data()), text.size(), e, plainly);
        ASSERT_EQ(quick, plainly) << "encoding " << static_cast<int>(e);
    }
}

// The dictionary's words in an encoding, as the library gives them from Unicode.
const std::vector<Bytes> &DictionaryIn(HeldIn encoding) {
    static std::vector<Bytes> in[3];
    std::vector<Bytes> &words = in[static_cast<int>(encoding)];
    if (words.empty())
        for (const std::string &w : DictionaryWords()) {
            words.emplace_back();
            ConvertHeld(reinterpret_cast<const uint8_t *>(w.data()), w.size(), encoding, words.back());
        }
    return words;
}

// The words one by one (every seventh, every 53rd with tight rooms) and as texts.
template <size_t N>
void CompareDictionary(const Direction (&directions)[N], const std::vector<Bytes> &words) {
    for (size_t i = 0; i < words.size() && !::testing::Test::HasFailure(); i += 7) CompareAll(directions, words[i], i % 53 == 0);
    for (bool spaces : {true, false})
        for (const Bytes &t : Texts(words, spaces)) CompareAll(directions, t, false);
}

TEST(ConversionAgainstPlain, DictionaryFromGlyphs) {
    if (DictionaryWords().empty()) GTEST_SKIP() << "the Kannada dictionary (aspell-kn) is not installed";
    CompareDictionary(kFromGlyphs, DictionaryIn(HeldIn::kMonolingual));
}

TEST(ConversionAgainstPlain, DictionaryFromIscii) {
    if (DictionaryWords().empty()) GTEST_SKIP() << "the Kannada dictionary (aspell-kn) is not installed";
    CompareDictionary(kFromIscii, DictionaryIn(HeldIn::kIscii));
}

TEST(ConversionAgainstPlain, RandomUnicode) {
    std::mt19937 random(99);
    std::vector<uint32_t> cps = {' ', 'a', '1', 0x0964, 0x200C, 0x200D, 0x200C, 0x200D};
    for (uint32_t c = 0x0C80; c <= 0x0CFF; c++) cps.push_back(c);
    for (uint32_t c : {0x0CCD, 0x0CB0, 0x0C95, 0x0CA8, 0x0CB3, 0x0CC3, 0x0CC6, 0x0CD5})
        for (int k = 0; k < 6; k++) cps.push_back(c);
    for (int round = 0; round < 20000 && !HasFailure(); round++) {
        std::string text;
        for (int k = 1 + random() % 12; k > 0; k--) plain::Utf8(cps[random() % cps.size()], text);
        for (int e = 0; e < 3; e++) {
            std::string quick, plainly;
            ConvertHeld(reinterpret_cast<const uint8_t *>(text.data()), text.size(), HeldIn(e), quick);
            ConvertHeldPlainly(reinterpret_cast<const uint8_t *>(text.data()), text.size(), HeldIn(e), plainly);
            ASSERT_EQ(quick, plainly) << "encoding " << e << ": " << text;
        }
    }
}

}  // namespace
