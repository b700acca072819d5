// The comparisons of KSCLP keys through the public API (the keys themselves are held to the
// plain conversions): the order of the whole keys, 999 for what has no key, and strings only
// read.
#include <gtest/gtest.h>
#include <sys/mman.h>

#include <cstring>
#include <string>
#include <vector>

#include "kannada-tovi.h"

namespace {

std::string Key(int (*convert)(char *, char *, unsigned), std::string glyphs) {
    std::vector<char> out(8 * glyphs.size() + 16);
    int n = convert(&glyphs[0], out.data(), static_cast<unsigned>(out.size()));
    return std::string(out.data(), n > 0 ? n : 0);
}

// -1, 0 or 1 as the keys of a and b compare; 999 when either is empty.
int Order(int (*convert)(char *, char *, unsigned), const std::string &a, const std::string &b) {
    std::string x = Key(convert, a), y = Key(convert, b);
    return x.empty() || y.empty() ? 999 : x < y ? -1 : x > y;
}

TEST(KsclpCompare, OrdersByTheWholeKeys) {
    // Prefixes, a repha, signs, two glyphs of one letter, letters of either case.
    std::string common;
    for (int i = 0; i < 10000; i++) common += "\x50\xC0\xF0";  // names of 30,000 glyphs
    const std::vector<std::string> strings = {"\x50\xC0", "\x50\xC1", "\x50\xC0\x41", "\x50\xEF", "\x50\xCC",
                                              "\x52", "\x53", "\x50\xC0\xF0", "Ab", "aB", "\x50\xC0 \xF0",
                                              common + "\x50\xC0", common + "\x50\xC1"};
    for (const std::string &a : strings)
        for (const std::string &b : strings) {
            int mono = Order(ToviMonolingualGlyph2KSCLP, a, b), bilingual = Order(ToviBilingualGlyph2KSCLP, a, b);
            EXPECT_EQ(ToviMonolingualGlyphCompare(a.c_str(), b.c_str()), mono);
            EXPECT_EQ(ToviMonolingualGlyphCompareVB(a.c_str(), b.c_str()), mono);
            EXPECT_EQ(ToviBilingualGlyphCompare(a.c_str(), b.c_str()), bilingual);
            EXPECT_EQ(ToviBilingualGlyphCompareVB(a.c_str(), b.c_str()), bilingual);
        }
    EXPECT_EQ(ToviMonolingualGlyphCompare("\x50\xC0\x41", "\x50\xC1"), -1);
    EXPECT_EQ(ToviBilingualGlyphCompare("Ab", "aB"), -1);  // each capital before its small letter
    // A missing, empty or keyless string: 999.
    EXPECT_EQ(ToviMonolingualGlyphCompare("\x50\xC0", nullptr), 999);
    EXPECT_EQ(ToviGetLastError(), -4);
    EXPECT_EQ(ToviBilingualGlyphCompare("", "\x50\xC0"), 999);
    EXPECT_EQ(ToviGetLastError(), -4);
    EXPECT_EQ(ToviMonolingualGlyphCompare("\xC0", "\x50\xC0"), 999);
}

TEST(KsclpCompare, StringsAreOnlyRead) {
    // Strings that normalisation would change, on a page that cannot be written.
    std::string mono = "\x51\xCC\xF6\xCD\xC3 \x50\xC0\xF0";
    std::string bi(mono.size() + 1, '\0');
    ToviMonolingual2BilingualGlyph(mono.c_str(), &bi[0], static_cast<unsigned>(bi.size()));
    bi = bi.c_str() + std::string("Ab");
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
