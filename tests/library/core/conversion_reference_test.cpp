// The glyph conversions against the plain algorithm they started as (../support/
// conversion_reference.h), byte for byte: the glyph-to-Unicode and glyph-to-ISCII exports
// with their results, last errors, outputs and what they leave of their source, and the
// steps inside (normalisation, longest match in all four readings of Latin-letter codes,
// ISCII to UTF-8), on every syllable the keyboard types, on random glyph strings and on the
// words of the Kannada spelling dictionary, one by one and as long texts.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "base/conversion_data.h"
#include "convert/iscii.h"
#include "convert/unicode.h"
#include "kannada-tovi.h"
#include "../support/conversion_reference.h"
#include "../support/fed_glyphs.h"
#include "../support/typed_keys.h"

namespace {

const LatinCodes kAllLatinCodes[] = {LatinCodes::kDropped, LatinCodes::kLetters, LatinCodes::kUnambiguous,
                                     LatinCodes::kBridge};

// The first difference of two byte strings, for a failure message.
std::string Difference(const std::string &a, const std::string &b) {
    size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i]) i++;
    char text[96];
    std::snprintf(text, sizeof text, "lengths %zu and %zu, first difference at %zu", a.size(), b.size(), i);
    return text;
}

// A call of an export: its result, the last error, the output up to and with its terminator
// (or the untouched destination), and the source afterwards.
struct Outcome {
    int result;
    int error;
    std::string output;
    std::string source;
    bool operator==(const Outcome &o) const {
        return result == o.result && error == o.error && output == o.output && source == o.source;
    }
};

std::string Describe(const Outcome &a, const Outcome &b) {
    char text[128];
    std::snprintf(text, sizeof text, "results %d and %d, errors %d and %d, outputs: ", a.result, b.result, a.error,
                  b.error);
    return text + Difference(a.output, b.output) + ", sources: " + Difference(a.source, b.source);
}

// Runs `convert` on a copy of `glyphs` into a destination of `room` bytes (none when 0) that
// starts filled with a marker; the output kept is the first `keep` bytes of it.
template <typename Converter>
Outcome Convert(Converter convert, const std::string &glyphs, size_t room, size_t keep) {
    std::vector<char> src(glyphs.begin(), glyphs.end());
    src.push_back('\0');
    std::vector<char> dst(room + 1, '\x5A');
    LibraryLastError = 12345;
    int result = convert(src.data(), room ? dst.data() : nullptr, static_cast<unsigned>(room ? room : 0xFFFFFFFFu));
    Outcome o{result, LibraryLastError, std::string(dst.data(), std::min(keep, room)), src.data()};
    return o;
}

// The destination sizes tried: generous, none (a size query), and around what the result needs.
std::vector<size_t> Rooms(size_t generous, int need) {
    std::vector<size_t> rooms = {generous, 0};
    if (need > 0)
        for (int d : {-1, 0, 1, 2})
            if (need + d > 0) rooms.push_back(static_cast<size_t>(need + d));
    return rooms;
}

class ConversionAgainstReference : public ::testing::Test {
protected:
    void SetUp() override { ToviChangeFontType(1); }

    // Everything compared on one glyph string; `thorough` also tries tight destinations.
    void Compare(const std::string &glyphs, bool thorough) {
        if (glyphs.empty() || HasFailure()) return;
        compared++;
        CompareSteps(glyphs);
        for (bool bilingual : {false, true}) {
            CompareUnicode(glyphs, bilingual, thorough);
            CompareIscii(glyphs, bilingual, thorough);
        }
    }

    void CompareSteps(const std::string &glyphs) {
        // Normalisation, in place and from a separate source.
        std::string ours = glyphs + '\x7F', theirs = glyphs + '\x7F';
        size_t m = NormaliseGlyphs(reinterpret_cast<uint8_t *>(&ours[0]), glyphs.size());
        size_t r = reference::NormaliseGlyphs(reinterpret_cast<uint8_t *>(&theirs[0]), glyphs.size());
        ASSERT_EQ(m, r);
        ASSERT_EQ(ours, theirs) << Difference(ours, theirs);
        std::string copied(glyphs.size() + 1, '\x7F');
        ASSERT_EQ(NormaliseGlyphs(reinterpret_cast<const uint8_t *>(glyphs.data()), glyphs.size(),
                                  reinterpret_cast<uint8_t *>(&copied[0])),
                  m);
        ASSERT_EQ(copied.substr(0, m + 1), theirs.substr(0, m + 1));
        // The longest match and the ISCII order, and ISCII to UTF-8.
        const uint8_t *normalised = reinterpret_cast<const uint8_t *>(theirs.data());
        for (LatinCodes latin : kAllLatinCodes) {
            std::string a(kIsciiPerGlyph * m + 1, '\0'), b(kIsciiPerGlyph * m + 1, '\0');
            size_t k = NormalisedGlyphsToIscii(normalised, m, latin, reinterpret_cast<uint8_t *>(&a[0]));
            size_t l = reference::NormalisedGlyphsToIscii(normalised, m, latin, reinterpret_cast<uint8_t *>(&b[0]));
            ASSERT_EQ(k, l);
            ASSERT_EQ(a.substr(0, k + 1), b.substr(0, l + 1)) << Difference(a.substr(0, k), b.substr(0, l));
            ASSERT_EQ(CountIsciiOfGlyphs(normalised, m, latin), k);
            CompareIsciiToUnicode(a.substr(0, k));
        }
    }

    void CompareIsciiToUnicode(const std::string &iscii) {
        std::string a(kUnicodePerIscii * iscii.size() + 1, '\0'), b = a;
        const uint8_t *s = reinterpret_cast<const uint8_t *>(iscii.data());
        size_t n = IsciiToUnicode(s, iscii.size(), reinterpret_cast<uint8_t *>(&a[0]));
        size_t r = reference::IsciiToUnicode(s, iscii.size(), reinterpret_cast<uint8_t *>(&b[0]));
        ASSERT_EQ(a.substr(0, n), b.substr(0, r)) << Difference(a.substr(0, n), b.substr(0, r));
    }

    void CompareUnicode(const std::string &glyphs, bool bilingual, bool thorough) {
        auto ours = [bilingual](char *s, char *d, unsigned size) {
            return bilingual ? ToviBilingualGlyph2Unicode(s, d, size) : ToviMonolingualGlyph2Unicode(s, d, size);
        };
        auto theirs = [bilingual](char *s, char *d, unsigned size) {
            return reference::GlyphToUnicodeExport(s, d, size, bilingual);
        };
        // The whole destination is compared, also what a conversion that does not fit leaves
        // there.
        size_t generous = kUnicodePerIscii * kIsciiPerGlyph * glyphs.size() + 1;
        Outcome first = Convert(ours, glyphs, generous, generous);
        Outcome expected = Convert(theirs, glyphs, generous, generous);
        size_t keep = first.result > 0 ? static_cast<size_t>(first.result) + 1 : 0;
        first.output.resize(std::min(keep, first.output.size()));
        expected.output.resize(std::min(keep, expected.output.size()));
        ASSERT_TRUE(first == expected) << Describe(first, expected);
        if (!thorough) return;
        for (size_t room : Rooms(generous, first.result)) {
            Outcome a = Convert(ours, glyphs, room, std::min(keep, room));
            Outcome b = Convert(theirs, glyphs, room, std::min(keep, room));
            ASSERT_TRUE(a == b) << "room " << room << ": " << Describe(a, b);
        }
    }

    void CompareIscii(const std::string &glyphs, bool bilingual, bool thorough) {
        auto ours = [bilingual](char *s, char *d, unsigned size) {
            return bilingual ? ToviBilingualGlyph2ISCII(s, d, size) : ToviMonolingualGlyph2ISCII(s, d, size);
        };
        auto theirs = [bilingual](char *s, char *d, unsigned size) {
            return reference::GlyphToIsciiExport(s, d, size, bilingual);
        };
        size_t generous = kIsciiPerGlyph * glyphs.size() + 1;
        Outcome first = Convert(ours, glyphs, generous, generous);
        Outcome expected = Convert(theirs, glyphs, generous, generous);
        size_t length = first.output.find('\0');
        size_t keep = length == std::string::npos ? first.output.size() : length + 1;
        first.output.resize(keep);
        expected.output.resize(std::min(keep, expected.output.size()));
        ASSERT_TRUE(first == expected) << Describe(first, expected);
        // The step of the KSCLP keys.
        for (int pass = 0; pass < 2; pass++) {
            std::string a = glyphs, b = glyphs;
            std::unique_ptr<uint8_t[]> x, y;
            size_t k = 0, l = 0;
            LibraryLastError = 0;
            bool ok = GlyphStringToIscii(&a[0], bilingual, x, k);
            int error = LibraryLastError;
            LibraryLastError = 0;
            ASSERT_EQ(ok, reference::GlyphStringToIscii(&b[0], bilingual, y, l));
            ASSERT_EQ(error, LibraryLastError);
            ASSERT_EQ(a, b);
            ASSERT_EQ(k, l);
            ASSERT_EQ(std::string(reinterpret_cast<char *>(x.get()), k), std::string(reinterpret_cast<char *>(y.get()), l));
        }
        if (!thorough) return;
        for (size_t room : Rooms(generous, first.result)) {
            Outcome a = Convert(ours, glyphs, room, keep);
            Outcome b = Convert(theirs, glyphs, room, keep);
            ASSERT_TRUE(a == b) << "room " << room << ": " << Describe(a, b);
        }
    }

    int compared = 0;
};

// Every syllable of one, two or three consonants (joined by the halant key) with every vowel
// key, as the keyboard types it: about 769,000.
std::vector<std::string> TypedSyllables() {
    std::vector<std::string> syllables;
    ForEachKeySequence([&](const std::string &keys, int) {
        std::string typed = FedGlyphs(keys);
        if (!typed.empty()) syllables.push_back(typed);
    });
    return syllables;
}

TEST_F(ConversionAgainstReference, EveryTypedSyllable) {
    std::vector<std::string> syllables = TypedSyllables();
    ASSERT_GT(syllables.size(), 760000u);
    for (size_t i = 0; i < syllables.size() && !HasFailure(); i++) Compare(syllables[i], i % 101 == 0);
    EXPECT_EQ(compared, static_cast<int>(syllables.size()));
}

TEST_F(ConversionAgainstReference, TypedSyllablesAsLongTexts) {
    std::vector<std::string> syllables = TypedSyllables();
    std::mt19937 random(20240611);
    // Syllables one after another with nothing between them (one word, as long as the text),
    // with spaces, and with punctuation and digits now and then: short and long texts, past
    // the size of the pieces the bridge converts at a time.
    for (size_t length : {60u, 200u, 1500u, 5000u, 17000u, 40000u}) {
        for (int separators = 0; separators < 3; separators++) {
            std::string text;
            while (text.size() < length) {
                text += syllables[random() % syllables.size()];
                if (separators == 1) text += ' ';
                if (separators == 2 && random() % 3 == 0) text += " ,.-1("[random() % 6];
            }
            Compare(text, true);
        }
    }
    EXPECT_EQ(compared, 18);
}

// Glyph codes drawn from `alphabet`.
std::string RandomGlyphs(std::mt19937 &random, const std::vector<uint8_t> &alphabet, size_t length) {
    std::string s(length, ' ');
    for (char &c : s) c = static_cast<char>(alphabet[random() % alphabet.size()]);
    return s;
}

std::vector<uint8_t> EveryCode() {
    std::vector<uint8_t> codes;
    for (int g = 1; g < 256; g++) codes.push_back(static_cast<uint8_t>(g));
    return codes;
}

// The glyphs that the normalisation, the table rows, the ordering and the bridge's context
// rules turn on, often, with a few others.
std::vector<uint8_t> TellingCodes() {
    std::vector<uint8_t> codes = {32,  44,  49,  65,  73,  80,  81,  84,  86,  97,  100, 103, 104, 105, 106,
                                  113, 114, 115, 122, 128, 145, 153, 162, 163, 164, 165, 166, 168, 169, 170,
                                  171, 172, 176, 178, 182, 185, 187, 189, 190, 191, 192, 193, 194, 195, 196,
                                  198, 199, 200, 201, 202, 239, 240, 241, 242, 243, 246, 247, 248, 249, 250,
                                  251, 252};
    for (int g = 204; g <= 238; g += 3) codes.push_back(static_cast<uint8_t>(g));
    return codes;
}

TEST_F(ConversionAgainstReference, RandomGlyphStrings) {
    std::mt19937 random(12345);
    const std::vector<uint8_t> every = EveryCode(), telling = TellingCodes();
    for (int round = 0; round < 40000 && !HasFailure(); round++)
        Compare(RandomGlyphs(random, round % 2 ? every : telling, 1 + random() % 40), round % 7 == 0);
    for (int round = 0; round < 300 && !HasFailure(); round++)
        Compare(RandomGlyphs(random, round % 3 ? telling : every, 40 + random() % 3000), round % 5 == 0);
    // Long strings: with and without places to cut them into pieces, and dense with changes
    // of the normalisation.
    const std::vector<uint8_t> noCuts = {65, 80, 103, 105, 170, 192, 195, 196, 198, 201, 204, 205, 210, 239, 248};
    const std::vector<uint8_t> reordering = {80, 195, 204, 205, 230, 200, 202, 239, 248, 251, 246};
    for (size_t length : {16383u, 16385u, 33000u, 70000u}) {
        Compare(RandomGlyphs(random, telling, length), true);
        Compare(RandomGlyphs(random, every, length), true);
        Compare(RandomGlyphs(random, noCuts, length), true);
        Compare(RandomGlyphs(random, reordering, length), true);
    }
}

TEST_F(ConversionAgainstReference, IsciiToUnicodeOnRandomCodes) {
    std::mt19937 random(777);
    std::vector<uint8_t> every = EveryCode();
    std::vector<uint8_t> telling = {32,  179, 180, 186, 198, 199, 200, 207, 208, 210, 217, 218, 219, 220,
                                    222, 223, 224, 228, 232, 232, 232, 233, 233, 239, 166, 167, 170, 161};
    for (int round = 0; round < 200000 && !HasFailure(); round++) {
        std::string iscii = RandomGlyphs(random, round % 2 ? every : telling, random() % 24);
        CompareIsciiToUnicode(iscii);
    }
    for (size_t length : {1000u, 100000u}) {
        CompareIsciiToUnicode(RandomGlyphs(random, every, length));
        CompareIsciiToUnicode(RandomGlyphs(random, telling, length));
    }
}

// The words of the Kannada spelling dictionary (aspell-kn), typed as glyphs.
std::vector<std::string> DictionaryGlyphWords() {
    std::vector<std::string> words;
    FILE *pipe = popen("aspell -d kn dump master 2>/dev/null", "r");
    if (!pipe) return words;
    char line[1024], glyphs[4096];
    while (std::fgets(line, sizeof line, pipe)) {
        std::string w(line);
        while (!w.empty() && (w.back() == '\n' || w.back() == '\r')) w.pop_back();
        int n = w.empty() ? 0 : ToviUnicode2MonolingualGlyph(w.c_str(), glyphs, sizeof glyphs);
        if (n > 0) words.emplace_back(glyphs, n);
    }
    pclose(pipe);
    return words;
}

TEST_F(ConversionAgainstReference, DictionaryWords) {
    std::vector<std::string> words = DictionaryGlyphWords();
    if (words.empty()) GTEST_SKIP() << "the Kannada dictionary (aspell-kn) is not installed";
    for (size_t i = 0; i < words.size() && !HasFailure(); i++) Compare(words[i], i % 53 == 0);
    // The whole dictionary as one text, with spaces and without.
    std::string spaced, joined;
    for (const std::string &w : words) {
        spaced += w + ' ';
        if (joined.size() < 200000) joined += w;
    }
    Compare(spaced, true);
    Compare(joined, true);
}

}  // namespace
