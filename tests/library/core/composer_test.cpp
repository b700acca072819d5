// The composer on a fresh ComposerState: every sequence of the composer's edge cases, the state
// it leaves, the bounds of the key buffer and of Backspace, and FeedKey.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/composer.h"
#include "engine/keyboard_hook.h"
#include "engine/layout_data.h"
#include "engine/shared_state.h"
#include "kannada-tovi.h"
#include "../support/edge_cases.h"
#include "../support/text_box.h"

namespace {



class ComposerTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = *Shared;
        Shared->fontType = 1;
        Shared->keyEngineSwitch = 0;
        Shared->shiftFixPending = 0;
        ResetKeyboardOutput();
        s_ = NewComposerState();
    }
    void TearDown() override {
        if (Shared->keyEngineSwitch) {  // the key engine has no inverse: load the tables again
            ResetLayoutData();
            Shared->keyEngineSwitch = 0;
            LoadLayoutData();
        }
        *Shared = saved_;
    }

    // Types keys as the hook does for letters ("\b" is Backspace) into the focused box.
    Codes Type(const std::string &keys) {
        for (char k : keys) {
            if (k == '\b')
                HandleBackspaceKey(s_);
            else
                HandleLetterKey(s_, k);
        }
        return box_.Codes();
    }

    std::vector<int> KeyBuf() const { return std::vector<int>(s_.keyBuf, s_.keyBuf + s_.keyCount); }

    SharedEngineState saved_;
    TextBox box_;
    ComposerState s_;
};

TEST_F(ComposerTest, EdgeCasesGiveTheirCodes) {
    for (const EdgeCase &c : kEdgeCases) {
        SCOPED_TRACE(std::string("keys \"") + c.keys + "\"");
        s_ = NewComposerState();
        TextBox box;  // a fresh, focused box
        for (const char *k = c.keys; *k; k++) {
            if (*k == '\b')
                HandleBackspaceKey(s_);
            else if (*k == ' ') {  // Space reaches the box as itself; the hook resets the syllable
                PostMessageA(static_cast<HWND>(box.window()), WM_CHAR, ' ', 1);
                s_.keyCount = 0;
                s_.state = kStateBoundary;
            } else {
                HandleLetterKey(s_, *k);
            }
        }
        EXPECT_EQ(box.Codes(), c.codes);
        if (c.state) {
            EXPECT_EQ(s_.state, c.state);
        }
    }
}

TEST_F(ComposerTest, ConjunctBookkeeping) {
    EXPECT_EQ(Type("kfk"), (Codes{80, 192, 204}));
    EXPECT_EQ(s_.conjCount, 1);
    EXPECT_EQ(s_.conjGlyphs[1], 204);
    EXPECT_EQ(s_.halantBase, 'k');
    EXPECT_EQ(Type("fy"), (Codes{80, 192, 204, 246, 229}));
    EXPECT_EQ(KeyBuf(), (std::vector<int>{'k', 'f', 'k', 'f', 246, 'y'}));
    EXPECT_EQ(s_.postedCount, 5);
    EXPECT_EQ(s_.conjCount, 2);
    // Backspace erases the five glyphs and replays k, f, k.
    Type("\b");
    EXPECT_EQ(box_.Codes(), (Codes{80, 192, 204}));
    EXPECT_EQ(KeyBuf(), (std::vector<int>{'k', 'f', 'k'}));
    EXPECT_EQ(s_.postedCount, 3);
    // Further Backspaces take the syllable back key by key, then reach the box as they are.
    // (the consonant goes with the halant before it)
    EXPECT_EQ(Type("\b"), (Codes{80, 192}));
    EXPECT_EQ(Type("\b"), (Codes{}));
    EXPECT_EQ(s_.keyCount, 0);
}

TEST_F(ComposerTest, BackspaceWithNoSyllableIsAnOrdinaryBackspace) {
    HandleBackspaceKey(s_);
    std::vector<ToviDesktopMessage> m = TakeMessages(box_.window());
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0].message, static_cast<unsigned>(WM_KEYDOWN));
    EXPECT_EQ(m[1].message, static_cast<unsigned>(WM_CHAR));
    for (const ToviDesktopMessage &x : m) {
        EXPECT_EQ(x.wParam, 8u);
        EXPECT_EQ(static_cast<uint32_t>(x.lParam), 0xC00E0001u);
    }
}

TEST_F(ComposerTest, BackspaceNeverPostsANegativeOrRunawayCount) {
    // "X" after a consonant opens a syllable of its own whose output erases the one before:
    // its posted count falls below zero, and Backspace then posts nothing.
    Type("rX");
    ASSERT_LT(s_.postedCount, 0);
    TakeMessages(box_.window());
    HandleBackspaceKey(s_);
    for (const ToviDesktopMessage &m : TakeMessages(box_.window())) EXPECT_NE(m.wParam, 8u);

    // A count far past any syllable is cut.
    s_ = NewComposerState();
    Type("k");
    TakeMessages(box_.window());
    s_.postedCount = 1 << 30;
    HandleBackspaceKey(s_);
    int backspaces = 0;
    for (const ToviDesktopMessage &m : TakeMessages(box_.window()))
        backspaces += m.message == WM_CHAR && m.wParam == 8;
    EXPECT_EQ(backspaces, kMaxSyllableBackspaces);
}

TEST_F(ComposerTest, KeyBufferIsBoundedAndALongSyllableStartsAgain) {
    // consonant, halant, consonant ... keeps one syllable growing.
    std::string keys;
    for (int i = 0; i < 60; i++) keys += "kf";
    int longest = 0;
    for (char k : keys) {
        HandleLetterKey(s_, k);
        ASSERT_LE(s_.keyCount, kKeyBufCapacity);
        ASSERT_GE(s_.keyCount, 1);
        longest = std::max(longest, static_cast<int>(s_.keyCount));
    }
    EXPECT_GT(longest, kKeyBufCapacity - 3);
    // The output stays consistent: Backspace still works on the current syllable.
    box_.Codes();
    int before = s_.keyCount;
    HandleBackspaceKey(s_);
    EXPECT_LT(s_.keyCount, before);
}

TEST_F(ComposerTest, KeyEngineMakesSmallALong) {
    ToviSetKeyEngine();
    EXPECT_EQ(Shared->keyEngineSwitch, 1);
    EXPECT_EQ(Type("ka"), (Codes{80, 193}));
    s_ = NewComposerState();
    TextBox box;
    HandleLetterKey(s_, 'k');
    HandleLetterKey(s_, 'A');
    EXPECT_EQ(box.Codes(), (Codes{80, 192}));
}

TEST_F(ComposerTest, BilingualOutputAndItsJoiner) {
    Shared->fontType = 0;
    LibraryLastError = 0;
    // 80 192 204 in the bilingual encoding, the joiner 255, then 229's code.
    EXPECT_EQ(Type("kfkfy"), (Codes{145, 208, 220, 255, 244}));
    // An empty emission in the bilingual font type leaves -4.
    EXPECT_EQ(LibraryLastError, -4);
}

TEST_F(ComposerTest, EmptyTablesTypeNothing) {
    LayoutTables saved = Layout;
    std::memset(&Layout, 0, sizeof Layout);
    EXPECT_EQ(Type("kfkiaX"), (Codes{243}));  // only "X" has output without tables
    Layout = saved;
}

TEST_F(ComposerTest, FeedKeyCapturesInsteadOfTyping) {
    Composer = NewComposerState();
    EXPECT_EQ(FeedKey(' '), nullptr);
    EXPECT_EQ(Composer.captureMode, 0);
    ToviResetAllFlags();
    const char *k = FeedKey('k');
    ASSERT_NE(k, nullptr);
    EXPECT_STREQ(k, "\x50\xC0");
    EXPECT_EQ(Composer.captureMode, 0);
    // A following vowel sign: the Backspaces are captured too.
    EXPECT_STREQ(FeedKey('i'), "\x08\x08\x51");
    // Nothing typed: null ("a" after a consonant adds nothing).
    ToviResetAllFlags();
    FeedKey('k');
    EXPECT_EQ(FeedKey('a'), nullptr);
    EXPECT_TRUE(TakeMessages(box_.window()).empty());

    // The bilingual font type converts, and lets the Latin codes through as letters.
    Shared->fontType = 0;
    ToviResetAllFlags();
    EXPECT_STREQ(FeedKey('k'), "\x91\xD0");
    EXPECT_STREQ(FeedKey(127), "A");
    Composer = NewComposerState();
}

TEST_F(ComposerTest, FeedKeyOnAFreshComposer) {
    ComposerState mine = NewComposerState();
    EXPECT_STREQ(FeedKey(mine, 'k'), "\x50\xC0");
    EXPECT_STREQ(FeedKey(mine, 'f'), "\x08\xEF");
    EXPECT_STREQ(FeedKey(mine, 'k'), "\x08\xC0\xCC");
    // Step 7.4 of the state machine, which only FeedKey reaches ("X" never continues a
    // syllable at the hook): the chain's RA becomes 249.
    mine = NewComposerState();
    FeedKey(mine, 'k'), FeedKey(mine, 'f'), FeedKey(mine, 'r');
    EXPECT_STREQ(FeedKey(mine, 'X'), "\x08\xF9");
    EXPECT_EQ(mine.state, kStateConjunct);

    // The capture buffer is bounded however much is emitted into it.
    mine = NewComposerState();
    mine.captureMode = 1;
    for (int i = 0; i < 50; i++) {
        for (int b = 1; b <= kOutBufBytes; b++) mine.outBuf[b] = 80;
        EmitOutput(mine);
    }
    EXPECT_EQ(mine.captureLength, kCaptureSize - 1);
    EXPECT_EQ(mine.capture[kCaptureSize - 1], 0);
}

TEST_F(ComposerTest, ResetAllFlagsEndsTheSyllable) {
    Composer = NewComposerState();
    Composer.conjCount = 2;
    Composer.conjGlyphs[1] = 204;
    ToviResetAllFlags();
    EXPECT_EQ(Composer.conjCount, 0);
    EXPECT_EQ(Composer.conjGlyphs[1], 0);
    EXPECT_EQ(Composer.state, kStateBoundary);
    EXPECT_EQ(Composer.recentKeys[0], ' ');
    ToviResetAllFlagsVB();
    EXPECT_EQ(Composer.recentKeys[1], ' ');
    Composer = NewComposerState();
}

TEST_F(ComposerTest, VowelKeysAndFontType) {
    const std::string vowels = "AEFHIMOUVYaefioRu";
    for (int k = 0; k < 256; k++)
        EXPECT_EQ(IsVowelKey(k), vowels.find(static_cast<char>(k)) != std::string::npos && k != 0) << k;
    Shared->fontType = 7;
    EXPECT_EQ(ToviGetCurrentFontType(), 1);
    Shared->fontType = 0;
    EXPECT_EQ(ToviGetCurrentFontType(), 0);
}

}  // namespace
