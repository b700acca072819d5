// The glyph mapping exports through the public header: letters and glyphs trade places, in
// place too; size queries, and one past what an int holds; every code back from the round trip.
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

TEST(GlyphMapping, SizeQueries) {
    EXPECT_EQ(ToviMonolingual2BilingualGlyph("ABCD", nullptr, 100), 5u);
    EXPECT_EQ(ToviBilingual2MonolingualGlyph("ABCD", nullptr, 100), 5);
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
