// The engine typing Unicode on the virtual desktop: what a box holds after each sequence of
// keys is what `tovi type --unicode` prints for them (the glyph engine's text through the
// bridge); a Backspace with nothing composed erases the box's own character; a new focus
// window starts a new syllable; the engine is one with the glyph engine and the stop exports
// stop it.
#include <gtest/gtest.h>

#include <string>

#include "../support/keys.h"
#include "../support/mixed_sequences.h"
#include "../support/text_box.h"
#include "../support/tovi_run.h"
#include "kannada-tovi-desktop.h"
#include "kannada-tovi.h"

namespace {

// The box's UTF-16 units (Kannada and ASCII: no surrogates) as UTF-8.
std::string Utf8(const std::vector<int> &units) {
    std::string s;
    for (int u : units) {
        if (u < 0x80) {
            s += static_cast<char>(u);
        } else {
            s += static_cast<char>(0xE0 | u >> 12);  // U+0800 and up
            s += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            s += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return s;
}

std::string Typed(const std::string &keys) {
    TextBox box;
    TypeKeys(keys);
    std::string text = Utf8(box.Codes());
    ToviResetAllFlags();
    return text;
}

class UnicodeEngine : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(ToviStartUnicodeKeyboardEngine(0, 0), 1);
        ToviTurnOnScrollLock();
    }
    void TearDown() override {
        ToviTurnOffScrollLock();
        ToviStopKeyboardEngine();
    }
};

TEST_F(UnicodeEngine, TypesWhatToviTypePrints) {
    ToviRunner tovi;
    for (std::string keys : kMixedSequences) {
        ToviResult expected = tovi.Run({"type", "--unicode", ToviKeys(keys)});
        ASSERT_EQ(expected.status, 0) << expected.err;
        EXPECT_EQ(Typed(keys) + "\n", expected.out) << ToviKeys(keys);
    }
    EXPECT_EQ(Typed("ki"), "ಕಿ");
}

TEST_F(UnicodeEngine, BackspaceOutsideTheSyllableAndTheSwitches) {
    // Composed text is taken back glyph by glyph; with nothing composed the box erases its own.
    EXPECT_EQ(Typed("ki \b\b"), "ಕ");
    EXPECT_EQ(Typed("kfkfy \b\b\b"), Typed("kfk"));
    // A new focus window starts a new syllable.
    {
        TextBox first;
        TypeKeys("k");
        TextBox second;
        TypeKeys("i");
        EXPECT_EQ(Utf8(first.Codes()) + Utf8(second.Codes()), "ಕಇ");
    }
    // Scroll Lock off: the keys are the box's.
    ToviTurnOffScrollLock();
    EXPECT_EQ(Typed("ki"), "ki");
    ToviTurnOnScrollLock();
    // One engine: neither start runs beside the other; stopped, the keys pass.
    EXPECT_EQ(ToviStartKeyboardEngine(0, 1, 0), 0);
    EXPECT_EQ(ToviGetLastError(), -1);
    EXPECT_EQ(ToviStartUnicodeKeyboardEngineVB(0, 0), 0);
    EXPECT_EQ(ToviStopKeyboardEngineVB(), 1);
    EXPECT_EQ(Typed("ki"), "ki");
    // The glyph engine started afterwards types glyph codes again.
    ASSERT_EQ(ToviStartKeyboardEngine(0, 1, 0), 1);
    TextBox box;
    TypeKeys("ki");
    EXPECT_EQ(box.Codes(), std::vector<int>{81});
    ToviStopKeyboardEngine();
    ASSERT_EQ(ToviStartUnicodeKeyboardEngine(0, 0), 1);
}

}  // namespace
