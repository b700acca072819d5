// tovi convert, sortkey and sort, run as a program: output, line ends, errors and statuses.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "kannada-tovi.h"

namespace {

struct Result {
    int status;
    std::string out, err;
};

std::string ReadFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const std::string &path, const std::string &text) {
    std::ofstream(path, std::ios::binary) << text;
}

class Tovi : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tovi-cli-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }

    // Runs tovi with `args` (a shell word list) and `input` on standard input.
    Result Run(const std::string &args, const std::string &input = "") {
        WriteFile(dir + "/in", input);
        std::string command = std::string("'") + TOVI + "' " + args + " < '" + dir + "/in' > '" + dir + "/out' 2> '" +
                              dir + "/err'";
        int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(dir + "/out"), ReadFile(dir + "/err")};
    }

    std::string dir;
};

std::string Bytes(std::initializer_list<int> codes) {
    std::string s;
    for (int c : codes) s.push_back(static_cast<char>(c));
    return s;
}

TEST_F(Tovi, ConvertKeepsLineEndsAndEmptyLines) {
    std::string text = "ಕನ್ನಡ\r\n\nರ್ಕ 12\nಬೆಂಗಳೂರು";
    Result glyphs = Run("convert --from unicode --to mono", text);
    ASSERT_EQ(glyphs.status, 0) << glyphs.err;
    EXPECT_EQ(glyphs.out.substr(0, 7), Bytes({80, 192, 163, 192, 223, 113, 192}));
    EXPECT_NE(glyphs.out.find("\r\n\n"), std::string::npos);
    EXPECT_NE(glyphs.out.back(), '\n');  // the last line had no end, and gets none
    Result back = Run("convert --from mono --to unicode", glyphs.out);
    ASSERT_EQ(back.status, 0) << back.err;
    EXPECT_EQ(back.out, text);
    // Through ISCII and bilingual glyphs too.
    Result iscii = Run("convert --from unicode --to iscii", text);
    EXPECT_EQ(Run("convert --from iscii --to unicode", iscii.out).out, text);
    Result bilingual = Run("convert --from unicode --to bilingual", text);
    EXPECT_EQ(Run("convert --from bilingual --to mono", bilingual.out).out, glyphs.out);
}

TEST_F(Tovi, ConvertAgreesWithTheLibrary) {
    std::string glyphs = Bytes({81, 204, 195, 32, 80, 192, 240});
    char iscii[64];
    std::string copy = glyphs;
    ToviMonolingualGlyph2ISCII(&copy[0], iscii, sizeof iscii);
    EXPECT_EQ(Run("convert --from mono --to iscii", glyphs + "\n").out, std::string(iscii) + "\n");
    copy = glyphs;
    char key[64];
    ToviMonolingualGlyph2KSCLP(&copy[0], key, sizeof key);
    EXPECT_EQ(Run("convert --from mono --to ksclp", glyphs).out, key);
}

TEST_F(Tovi, ConvertTakesLinesOfAnyLength) {
    std::string line;
    for (int i = 0; i < 20000; i++) line += "ಕ್ಕಿ ";
    Result glyphs = Run("convert --from unicode --to mono", line + "\n");
    ASSERT_EQ(glyphs.status, 0) << glyphs.err;
    EXPECT_EQ(Run("convert --from mono --to unicode", glyphs.out).out, line + "\n");
}

TEST_F(Tovi, ConvertReadsAFile) {
    WriteFile(dir + "/words", "ಕ\n");
    Result r = Run("convert --from unicode --to mono '" + dir + "/words'");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, Bytes({80, 192, 10}));
}

TEST_F(Tovi, SortKeyWritesCapitalHexDigitsWithoutLeadingZeros) {
    // KA with a tab: 201 182 9.
    Result r = Run("sortkey", Bytes({80, 192, 9}) + "\n\n" + Bytes({81}) + "\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "C9B69\n\nC9B8\n");
    Result bilingual = Run("sortkey --bilingual", "Ab\n");
    EXPECT_EQ(bilingual.out, "4144\n");
}

TEST_F(Tovi, SortPutsLinesInKannadaOrderAndKeepsEqualKeysInTheirOrder) {
    std::string ka = Bytes({80, 192}), kaa = Bytes({80, 193}), k = Bytes({80, 239}), kka = Bytes({80, 204});
    std::string ka2 = Bytes({80, 192, 246});  // the same key as KA (joiners do not count)
    Result r = Run("sort", kka + "\n" + ka + "\n" + kaa + "\n" + ka2 + "\n" + k);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, k + "\n" + ka + "\n" + ka2 + "\n" + kaa + "\n" + kka + "\n");
    Result unicode = Run("sort --unicode", "ಕ್ಕ\nಕಾ\nಅ\nಕ\n");
    EXPECT_EQ(unicode.out, "ಅ\nಕ\nಕಾ\nಕ್ಕ\n");
    Result bilingual = Run("sort --bilingual", "b\nB\na\nA\n");
    EXPECT_EQ(bilingual.out, "A\na\nB\nb\n");
}

TEST_F(Tovi, BadArgumentsExitWith2) {
    for (const char *args : {"convert --from mono", "convert --from mono --to unicode --fast", "sortkey --unicode",
                             "sort a b"}) {
        Result r = Run(args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(r.err.find("tovi: "), 0u) << args;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << args;
    }
}

TEST_F(Tovi, UnknownFormatsExitWith1) {
    for (const char *args : {"convert --from klingon --to mono", "convert --from ksclp --to mono",
                             "convert --from mono --to braille"}) {
        Result r = Run(args);
        EXPECT_EQ(r.status, 1) << args;
        EXPECT_NE(r.err.find("unknown"), std::string::npos) << args;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << args;
    }
}

TEST_F(Tovi, FailuresNameTheProblemAndTheLine) {
    Result missing = Run("convert --from mono --to unicode '" + dir + "/nothing'");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("cannot read"), std::string::npos);
    // Invalid UTF-8 on line 2: line 1 is written, and the message says where it stopped.
    Result invalid = Run("convert --from unicode --to mono", "ಕ\nಕ\xFF\nಕ\n");
    EXPECT_EQ(invalid.status, 1);
    EXPECT_EQ(invalid.out, Bytes({80, 192, 10}));
    EXPECT_NE(invalid.err.find("line 2: invalid UTF-8"), std::string::npos) << invalid.err;
    // A sort writes nothing at all then.
    Result sorted = Run("sort --unicode", "ಕ\n\xC3\n");
    EXPECT_EQ(sorted.status, 1);
    EXPECT_EQ(sorted.out, "");
    EXPECT_NE(sorted.err.find("line 2"), std::string::npos);
    Result zero = Run("sortkey", std::string("a\0b\n", 4));
    EXPECT_EQ(zero.status, 1);
    EXPECT_NE(zero.err.find("line 1"), std::string::npos);
}

}  // namespace
