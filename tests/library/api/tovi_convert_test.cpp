// tovi convert, sortkey and sort, run as a program: output, line ends, what cannot be held,
// errors and statuses, long lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "../support/converted.h"
#include "../support/tovi_run.h"

namespace {

std::string Bytes(std::initializer_list<int> codes) {
    std::string s;
    for (int c : codes) s.push_back(static_cast<char>(c));
    return s;
}

using Words = std::vector<std::string>;

TEST(ToviConvert, KeepsLineEndsAndEmptyLines) {
    ToviRunner tovi;
    std::string text = "ಕನ್ನಡ\r\n\nರ್ಕ 12\nಬೆಂಗಳೂರು";
    ToviResult glyphs = tovi.Run({"convert", "--from", "unicode", "--to", "mono"}, text);
    ASSERT_EQ(glyphs.status, 0) << glyphs.err;
    EXPECT_EQ(glyphs.out.substr(0, 7), Bytes({80, 192, 163, 192, 223, 113, 192}));
    EXPECT_NE(glyphs.out.find("\r\n\n"), std::string::npos);
    EXPECT_NE(glyphs.out.back(), '\n');  // the last line had no end, and gets none
    EXPECT_EQ(tovi.Run({"convert", "--from", "mono", "--to", "unicode"}, glyphs.out).out, text);
    // Through ISCII and bilingual glyphs too, and from a file.
    WriteFile(tovi.dir + "/text", text);
    ToviResult iscii = tovi.Run({"convert", "--from", "unicode", "--to", "iscii", tovi.dir + "/text"});
    EXPECT_EQ(tovi.Run({"convert", "--from", "iscii", "--to", "unicode"}, iscii.out).out, text);
    ToviResult bilingual = tovi.Run({"convert", "--from", "unicode", "--to", "bilingual"}, text);
    EXPECT_EQ(tovi.Run({"convert", "--from", "bilingual", "--to", "mono"}, bilingual.out).out, glyphs.out);
}

// A line much longer than the pieces the tool converts comes out as the library converts it
// whole, in every direction; and it takes at most about three times its size in memory.
TEST(ToviConvert, LongLinesComeOutAsTheLibraryConvertsThemWhole) {
    const char *syllables[] = {"ಕ", "ಕ್ಕಿ", "ರ್ಕೋ", "ಜ಼", "ನ್", "ಱ", "ಕ್ಷ್ಮೀ", "ರ‍್ಕ", "ಕ್‌ಕ", "ಅಂ", "ಃ"};
    const char *between[] = {"", "", "", " ", ", ", "1", "-", "  ", "a", "B"};
    std::mt19937 random(7);
    std::string line;
    while (line.size() < 300000) {
        line += syllables[random() % 11];
        line += between[random() % 10];
    }
    ToviRunner tovi;
    auto whole = Converted;
    Export bilingualToMono = [](const char *s, char *d, unsigned int n) { return ToviBilingual2MonolingualGlyph(s, d, n); };
    std::string mono = whole(ToviUnicode2MonolingualGlyph, line);
    std::string bilingual = whole(ToviUnicode2BilingualGlyph, line);
    std::string iscii = whole(ToviUnicode2ISCII, line);
    struct Direction {
        const char *from, *to;
        std::string in, out;
    } directions[] = {
        {"unicode", "mono", line, mono},
        {"unicode", "bilingual", line, bilingual},
        {"unicode", "iscii", line, iscii},
        {"mono", "unicode", mono, whole(ToviMonolingualGlyph2Unicode, mono)},
        {"bilingual", "unicode", bilingual, whole(ToviBilingualGlyph2Unicode, bilingual)},
        {"iscii", "unicode", iscii, whole(ToviISCII2Unicode, iscii)},
        {"iscii", "mono", iscii, whole(ToviUnicode2MonolingualGlyph, whole(ToviISCII2Unicode, iscii))},
        {"bilingual", "mono", bilingual, whole(bilingualToMono, bilingual)},
    };
    for (const Direction &d : directions) {
        ToviResult r = tovi.Run({"convert", "-c", "--from", d.from, "--to", d.to}, d.in + "\n");
        EXPECT_EQ(r.status, 0) << d.from << " " << d.to << ": " << r.err;
        EXPECT_TRUE(r.out == d.out + "\n") << d.from << " to " << d.to;
    }
    std::string key = mono;
    std::string wholeKey(12 * key.size() + 16, '\0');
    wholeKey.resize(ToviMonolingualGlyph2KSCLP(&key[0], &wholeKey[0], static_cast<unsigned int>(wholeKey.size())));
    ToviResult keyed = tovi.Run({"convert", "--from", "mono", "--to", "ksclp"}, mono);
    EXPECT_TRUE(keyed.out == wholeKey) << keyed.out.size() << " " << wholeKey.size() << " " << keyed.err;
}

// A line takes at most about three times its size in memory: the most the tool held at once,
// beside the most it holds for a short line. (The text is written in parts, so this process
// stays small: a new process counts what it shared with this one.)
TEST(ToviConvert, ALongLineTakesAtMostThreeTimesItsSize) {
    ToviRunner tovi;
    std::string part;
    for (int i = 0; i < 10000; i++) part += "ಕ್ಷ್ಮೀ ರ್ಕೋ, ಜ಼ಱಕ್ಕಿ1";
    std::string glyphs(part.size(), '\0');
    glyphs.resize(ToviUnicode2MonolingualGlyph(part.c_str(), &glyphs[0], static_cast<unsigned int>(glyphs.size())));
    auto peak = [&](const std::string &from, const std::string &to, const std::string &text, int parts) {
        std::string path = tovi.dir + "/long";
        {
            std::ofstream file(path, std::ios::binary);
            for (int i = 0; i < parts; i++) file << text;
        }
        return 1024.0 * tovi.Run({"convert", "--from", from, "--to", to, path}).peakKilobytes;
    };
    double base = peak("unicode", "mono", "ಕ", 1);
    for (const char *to : {"mono", "iscii"}) {
        double used = peak("unicode", to, part, 10) - base;
        EXPECT_LT(used, 3.0 * 10 * part.size()) << "unicode to " << to << ": " << used / (10 * part.size());
    }
    double used = peak("mono", "unicode", glyphs, 20) - base;
    EXPECT_LT(used, 3.0 * 20 * glyphs.size()) << "mono to unicode: " << used / (20 * glyphs.size());
}

// A character the target cannot hold stops the conversion, named by line, column and code
// point; -c leaves such characters out and counts them. What the target holds is kept.
TEST(ToviConvert, NeverLosesTextSilently) {
    ToviRunner tovi;
    ToviResult iscii = tovi.Run({"convert", "--from", "unicode", "--to", "iscii"}, "abc XYZ ಕ 123\n");
    EXPECT_EQ(iscii.status, 0);
    EXPECT_EQ(iscii.out, "abc XYZ " + Bytes({179}) + " 123\n");
    ToviResult back = tovi.Run({"convert", "--from", "iscii", "--to", "unicode"}, iscii.out);
    EXPECT_EQ(back.out, "abc XYZ ಕ 123\n");

    const std::string text = "ಕ\nಕನ್ನಡ café ನ\xC3\xA9\n";
    ToviResult stopped = tovi.Run({"convert", "--from", "unicode", "--to", "iscii"}, text);
    EXPECT_EQ(stopped.status, 1);
    EXPECT_EQ(stopped.out, Bytes({179, 10}));
    EXPECT_EQ(stopped.err,
              "tovi: convert: line 2, column 10, U+00E9: iscii cannot hold this character (-c leaves out what cannot "
              "be held); the output stops before this line\n");
    ToviResult dropped = tovi.Run({"convert", "-c", "--from", "unicode", "--to", "iscii"}, text);
    EXPECT_EQ(dropped.status, 0);
    EXPECT_EQ(dropped.out, Bytes({179, 10, 179, 198, 232, 198, 191, 32, 99, 97, 102, 32, 198, 10}));
    EXPECT_EQ(dropped.err, "tovi: convert: left out 2 syllables or characters that iscii cannot hold\n");

    // Monolingual glyph text has no codes for the letters N to U, nor bilingual glyph text a
    // nukta glyph.
    ToviResult road = tovi.Run({"convert", "--from", "unicode", "--to", "mono"}, "NTR Road");
    EXPECT_EQ(road.status, 1);
    EXPECT_NE(road.err.find("line 1, column 1, U+004E"), std::string::npos) << road.err;
    ToviResult fromBilingual = tovi.Run({"convert", "--from", "bilingual", "--to", "mono"}, "ab NTR");
    EXPECT_NE(fromBilingual.err.find("line 1, column 4, code 78"), std::string::npos) << fromBilingual.err;
    ToviResult kept = tovi.Run({"convert", "-c", "--from", "bilingual", "--to", "mono"}, "ab NTR");
    EXPECT_EQ(kept.out, Bytes({128, 129, 32}));
    ToviResult nukta = tovi.Run({"convert", "--from", "unicode", "--to", "bilingual"}, "ಜ಼");
    EXPECT_NE(nukta.err.find("column 2, U+0CBC"), std::string::npos) << nukta.err;

    // Glyph codes that mean nothing give nothing: that is said too.
    ToviResult nothing = tovi.Run({"convert", "--from", "mono", "--to", "unicode"}, Bytes({192}) + "\n");
    EXPECT_EQ(nothing.status, 1);
    EXPECT_NE(nothing.err.find("line 1: nothing of it can be written as unicode"), std::string::npos) << nothing.err;
    EXPECT_EQ(tovi.Run({"convert", "-c", "--from", "mono", "--to", "unicode"}, Bytes({192}) + "\n").out, "\n");
}

TEST(ToviConvert, BadArgumentsExitWith2AndNameWhatIsMissing) {
    ToviRunner tovi;
    const std::pair<Words, std::string> cases[] = {
        {{"convert", "--from", "mono"}, "--to is needed"},
        {{"convert", "--to", "mono", "--from"}, "--from needs the name of an encoding"},
        {{"convert", "--from", "mono", "--to", "unicode", "--fast"}, "unknown option '--fast'"},
        {{"convert", "--from", "ksclp", "--to", "mono"}, "unknown source encoding 'ksclp'"},
        {{"convert", "--from", "mono", "--to", "braille"}, "unknown target encoding 'braille'"},
        {{"sortkey", "--unicode"}, "unknown option '--unicode'"},
        {{"sort", "a", "b"}, "more than one file"},
    };
    for (const auto &c : cases) {
        ToviResult r = tovi.Run(c.first);
        EXPECT_EQ(r.status, 2) << c.second;
        EXPECT_EQ(r.err.find("tovi: "), 0u) << r.err;
        EXPECT_NE(r.err.find(c.second), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
}

TEST(ToviConvert, FailuresNameTheProblemAndTheLine) {
    ToviRunner tovi;
    ToviResult missing = tovi.Run({"convert", "--from", "mono", "--to", "unicode", tovi.dir + "/nothing"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("cannot read"), std::string::npos);
    // Invalid UTF-8 on line 2: line 1 is written, and the message says where it stopped.
    ToviResult invalid = tovi.Run({"convert", "--from", "unicode", "--to", "mono"}, "ಕ\nಕ\xFF\nಕ\n");
    EXPECT_EQ(invalid.status, 1);
    EXPECT_EQ(invalid.out, Bytes({80, 192, 10}));
    EXPECT_NE(invalid.err.find("line 2: invalid UTF-8"), std::string::npos) << invalid.err;
    // A sort writes nothing at all then.
    ToviResult sorted = tovi.Run({"sort", "--unicode"}, "ಕ\n\xC3\n");
    EXPECT_EQ(sorted.status, 1);
    EXPECT_EQ(sorted.out, "");
    EXPECT_NE(sorted.err.find("line 2"), std::string::npos);
    ToviResult zero = tovi.Run({"sortkey"}, std::string("a\0b\n", 4));
    EXPECT_EQ(zero.status, 1);
    EXPECT_NE(zero.err.find("line 1"), std::string::npos);
}

TEST(ToviSort, KeysAreCapitalHexDigitsAndLinesComeInKannadaOrder) {
    ToviRunner tovi;
    // KA with a tab: 201 182 9.
    ToviResult keys = tovi.Run({"sortkey"}, Bytes({80, 192, 9}) + "\n\n" + Bytes({81}) + "\n");
    ASSERT_EQ(keys.status, 0) << keys.err;
    EXPECT_EQ(keys.out, "C9B69\n\nC9B8\n");
    EXPECT_EQ(tovi.Run({"sortkey", "--bilingual"}, "Ab\n").out, "4144\n");
    std::string ka = Bytes({80, 192}), kaa = Bytes({80, 193}), k = Bytes({80, 239}), kka = Bytes({80, 204});
    std::string ka2 = Bytes({80, 192, 246});  // the same key as KA (joiners do not count)
    ToviResult r = tovi.Run({"sort"}, kka + "\n" + ka + "\n" + kaa + "\n" + ka2 + "\n" + k);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, k + "\n" + ka + "\n" + ka2 + "\n" + kaa + "\n" + kka + "\n");
    EXPECT_EQ(tovi.Run({"sort", "--unicode"}, "ಕ್ಕ\nಕಾ\nಅ\nಕ\n").out, "ಅ\nಕ\nಕಾ\nಕ್ಕ\n");
    EXPECT_EQ(tovi.Run({"sort", "--bilingual"}, "b\nB\na\nA\n").out, "A\na\nB\nb\n");
}

}  // namespace
