// The glyph mapping exports, called through the public header on the shared library.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "kannada-tovi.h"

namespace {

std::string Bytes(std::initializer_list<int> codes) {
    std::string s;
    for (int c : codes) s.push_back(static_cast<char>(c));
    return s;
}

std::string ToBilingual(const std::string &mono) {
    char out[256] = {};
    unsigned n = ToviMonolingual2BilingualGlyph(mono.c_str(), out, sizeof out);
    return std::string(out, n);
}

std::string ToMonolingual(const std::string &bi) {
    char out[256] = {};
    int n = ToviBilingual2MonolingualGlyph(bi.c_str(), out, sizeof out);
    return std::string(out, n > 0 ? n : 0);
}

TEST(GlyphMapping, KannadaGlyphsAndLatinLettersTradePlacesOtherBytesStay) {
    EXPECT_EQ(ToBilingual("ABC"), Bytes({129, 130, 131}));
    EXPECT_EQ(ToMonolingual(Bytes({129, 130, 131})), "ABC");
    EXPECT_EQ(ToMonolingual("ABC"), Bytes({127, 154, 155}));
    EXPECT_EQ(ToBilingual(Bytes({127, 154, 155})), "ABC");
    EXPECT_EQ(ToBilingual("12 ,.;"), "12 ,.;");
    EXPECT_EQ(ToMonolingual("12 ,.;"), "12 ,.;");
    EXPECT_EQ(ToBilingual(Bytes({208})), Bytes({208}));  // 208 has no row
    // In place.
    char text[] = "ABC";
    EXPECT_EQ(ToviMonolingual2BilingualGlyph(text, text, sizeof text), 3u);
    EXPECT_EQ(std::string(text), Bytes({129, 130, 131}));
    EXPECT_EQ(ToviBilingual2MonolingualGlyph(text, text, sizeof text), 3);
    EXPECT_STREQ(text, "ABC");
}

TEST(GlyphMapping, MergedCodesComeBackFromTheirNeighbours) {
    // Both joiners become 255; back again the joiner is chosen anew from its neighbours.
    EXPECT_EQ(ToBilingual(Bytes({246, 247})), Bytes({255, 255}));
    EXPECT_EQ(ToMonolingual(ToBilingual(Bytes({204, 246, 228}))), Bytes({204, 246, 228}));
    EXPECT_EQ(ToMonolingual(ToBilingual(Bytes({204, 247, 229}))), Bytes({204, 246, 229}));
    EXPECT_EQ(ToMonolingual(ToBilingual(Bytes({228, 246, 204}))), Bytes({228, 247, 204}));
    // Both forms of subscript RA become 245; it is 231 after a subscript from the third byte on.
    EXPECT_EQ(ToBilingual(Bytes({230, 231})), Bytes({245, 245}));
    EXPECT_EQ(ToMonolingual(Bytes({245})), Bytes({230}));
    EXPECT_EQ(ToMonolingual(Bytes({145, 220, 245})), Bytes({80, 204, 231}));
    EXPECT_EQ(ToMonolingual(Bytes({220, 245})), Bytes({204, 230}));
    // 115 after the consonants that take the other form of the sign becomes 252.
    EXPECT_EQ(ToMonolingual(Bytes({175, 176})), Bytes({114, 252}));
    EXPECT_EQ(ToMonolingual(Bytes({174, 176})), Bytes({113, 115}));
}

TEST(GlyphMapping, JoinerWithoutAPartnerIsDroppedNotTruncated) {
    // KA, joiner, KA: no joiner goes between two base glyphs, so it is dropped and the
    // rest of the string survives.
    char out[16] = {};
    int n = ToviBilingual2MonolingualGlyph(Bytes({145, 255, 145, 166}).c_str(), out, sizeof out);
    EXPECT_EQ(n, 3);
    EXPECT_EQ(std::string(out), Bytes({80, 80, 105}));
}

TEST(GlyphMapping, SizeQueriesErrorsAndTwins) {
    EXPECT_EQ(ToviMonolingual2BilingualGlyph("ABCD", nullptr, 100), 5u);
    EXPECT_EQ(ToviBilingual2MonolingualGlyph("ABCD", nullptr, 100), 5);
    EXPECT_EQ(ToviMonolingual2BilingualGlyph("", nullptr, 100), 0u);
    EXPECT_EQ(ToviGetLastError(), -4);
    EXPECT_EQ(ToviBilingual2MonolingualGlyph(nullptr, nullptr, 100), 0);
    EXPECT_EQ(ToviGetLastError(), -4);
    char out[8];
    std::memset(out, 'x', sizeof out);
    EXPECT_EQ(ToviMonolingual2BilingualGlyph("ABCD", out, 4), 0u);
    EXPECT_EQ(ToviGetLastError(), -3);
    EXPECT_EQ(out[0], 'x');  // nothing written
    EXPECT_EQ(ToviBilingual2MonolingualGlyph("ABCD", out, 4), 0);
    EXPECT_EQ(ToviGetLastError(), -3);
    // Success does not clear the last error.
    EXPECT_EQ(ToviMonolingual2BilingualGlyph("ABCD", out, 5), 4u);
    EXPECT_EQ(ToviGetLastError(), -3);

    // The twins: a library-owned result, of any length.
    char *first = ToviMonolingual2BilingualGlyphVB("ABC");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(std::string(first), Bytes({129, 130, 131}));
    char *second = ToviBilingual2MonolingualGlyphVB("ABC");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(std::string(second), Bytes({127, 154, 155}));
    EXPECT_EQ(ToviMonolingual2BilingualGlyphVB(""), nullptr);
    EXPECT_EQ(ToviGetLastError(), -4);
    std::string longText(50000, 'A');
    char *big = ToviMonolingual2BilingualGlyphVB(longText.c_str());
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(std::string(big).size(), longText.size());
}

// A source of 2^31 bytes (one page of memory mapped again and again): its size query would
// be more than an int holds.
TEST(GlyphMapping, ACountPastIntMaxIsRefused) {
    const size_t chunk = 1 << 20, length = size_t{1} << 31;
    int fd = memfd_create("glyphs", 0);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, chunk), 0);
    char *text = static_cast<char *>(mmap(nullptr, length + chunk, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(text, MAP_FAILED);
    char *fill = static_cast<char *>(mmap(nullptr, chunk, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0));
    std::memset(fill, 'A', chunk);
    for (size_t at = 0; at < length; at += chunk)
        ASSERT_NE(mmap(text + at, chunk, PROT_READ, MAP_SHARED | MAP_FIXED | MAP_POPULATE, fd, 0), MAP_FAILED);
    ASSERT_NE(mmap(text + length, chunk, PROT_READ, MAP_PRIVATE | MAP_FIXED | MAP_ANONYMOUS, -1, 0), MAP_FAILED);
    EXPECT_EQ(ToviBilingual2MonolingualGlyph(text, nullptr, 0xFFFFFFFFu), 0);
    EXPECT_EQ(ToviGetLastError(), -3);
    munmap(text, length + chunk);
    munmap(fill, chunk);
    close(fd);
}

TEST(GlyphMapping, EveryMonolingualCodeSurvivesTheRoundTripAlone) {
    // Each code on its own, except the ones the bilingual encoding merges with another, and
    // 208, which has no row and so keeps a code that the bilingual encoding gives to 192.
    for (int c = 1; c < 256; c++) {
        if (c == 252 || c == 248 || c == 231 || c == 247 || c == 208) continue;
        std::string one(1, static_cast<char>(c));
        EXPECT_EQ(ToMonolingual(ToBilingual(one)), one) << "code " << c;
    }
}

}  // namespace

namespace {

TEST(GlyphMapping, TextPastTheCachesMapsAsShortTextDoes) {
    // Every code once in a block, mapped alone; then the block repeated past 8 MB into a
    // destination that starts off a 64-byte boundary, in place and not.
    std::string block;
    for (int c = 1; c < 256; c++) block.push_back(static_cast<char>(c));
    const std::string mapped = ToBilingual(block);
    ASSERT_EQ(mapped.size(), block.size());
    std::string text;
    while (text.size() < (9u << 20)) text += block;
    text += "\x50\xF0\x41";
    std::string expected;
    while (expected.size() < text.size() - 3) expected += mapped;
    expected += ToBilingual("\x50\xF0\x41");
    for (size_t offset : {0, 1, 37}) {
        std::string out(text.size() + 64 + offset, '\0');
        unsigned n = ToviMonolingual2BilingualGlyph(text.c_str(), &out[offset], static_cast<unsigned>(out.size() - offset));
        ASSERT_EQ(n, text.size());
        EXPECT_TRUE(out.compare(offset, n, expected) == 0) << "offset " << offset;
    }
    std::string inPlace = text;
    ToviMonolingual2BilingualGlyph(inPlace.c_str(), &inPlace[0], static_cast<unsigned>(inPlace.size() + 1));
    EXPECT_TRUE(inPlace == expected);
}

}  // namespace
