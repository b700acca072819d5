// The composer on a state of its own: the edge cases and the state they leave, its options,
// the bounds of Backspace and of the key buffer, and FeedKey. Its actions are applied to a
// text as a host would.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "compose/composer.h"
#include "compose/layout_data.h"
#include "../support/edge_cases.h"

namespace {

// Applies a key's actions to `text`: erasures take characters before the end (none when
// there are none), then the codes are appended.
void Apply(const ComposerActions &a, Codes &text) {
    for (int i = 0; i < a.erase && !text.empty(); i++) text.pop_back();
    text.insert(text.end(), a.insert, a.insert + a.insertLength);
}

class ComposerTest : public ::testing::Test {
protected:
    // Types keys as typing does ("\b" is Backspace, a space ends the syllable and is typed).
    Codes Type(const std::string &keys) {
        for (char k : keys) {
            if (k == '\b') {
                if (!HandleBackspaceKey(s_)) {
                    if (!text_.empty()) text_.pop_back();
                    continue;
                }
            } else if (k == ' ') {
                EndSyllable(s_, ' ', true);
                text_.push_back(' ');
                continue;
            } else {
                HandleLetterKey(s_, k);
            }
            Apply(s_.actions, text_);
        }
        return text_;
    }

    ComposerState s_ = NewComposerState();
    Codes text_;
};

TEST_F(ComposerTest, EdgeCasesGiveTheirCodesAndState) {
    for (const EdgeCase &c : kEdgeCases) {
        SCOPED_TRACE(std::string("keys \"") + c.keys + "\"");
        s_ = NewComposerState();
        text_.clear();
        EXPECT_EQ(Type(c.keys), c.codes);
        if (c.state) EXPECT_EQ(s_.state, c.state);
    }
}

TEST_F(ComposerTest, BackspaceTakesBackTheSyllableKeyByKey) {
    EXPECT_EQ(Type("kfkfy"), (Codes{80, 192, 204, 246, 229}));
    // Erases the five glyphs and types k, f, k again.
    EXPECT_EQ(Type("\b"), (Codes{80, 192, 204}));
    EXPECT_EQ(s_.actions.erase, 5);
    EXPECT_EQ(Type("\b"), (Codes{80, 192}));  // the consonant goes with the halant before it
    EXPECT_EQ(Type("\b"), (Codes{}));
    // No syllable left: the key is not used, the host erases by itself.
    EXPECT_FALSE(HandleBackspaceKey(s_));
    EXPECT_EQ(s_.actions.erase + s_.actions.insertLength, 0);
}

TEST_F(ComposerTest, BackspaceNeverErasesANegativeOrRunawayCount) {
    // "X" after a consonant opens a syllable of its own whose output erases the one before:
    // its posted count falls below zero, and Backspace then erases nothing.
    Type("rX");
    ASSERT_LT(s_.postedCount, 0);
    ASSERT_TRUE(HandleBackspaceKey(s_));
    EXPECT_EQ(s_.actions.erase, 0);

    // A count far past any syllable is cut.
    s_ = NewComposerState();
    Type("k");
    s_.postedCount = 1 << 30;
    ASSERT_TRUE(HandleBackspaceKey(s_));
    EXPECT_EQ(s_.actions.erase, kMaxSyllableBackspaces);
}

TEST_F(ComposerTest, KeyBufferIsBoundedAndALongSyllableStartsAgain) {
    int longest = 0;
    for (int i = 0; i < 120; i++) {
        HandleLetterKey(s_, i % 2 ? 'f' : 'k');
        ASSERT_LE(s_.keyCount, kKeyBufCapacity);
        ASSERT_GE(s_.keyCount, 1);
        longest = std::max(longest, static_cast<int>(s_.keyCount));
    }
    EXPECT_GT(longest, kKeyBufCapacity - 3);
    int before = s_.keyCount;
    HandleBackspaceKey(s_);
    EXPECT_LT(s_.keyCount, before);
}

TEST_F(ComposerTest, Options) {
    s_.options.keyEngine = 1;
    EXPECT_EQ(Type("ka kA"), (Codes{80, 193, ' ', 80, 192}));
    // Bilingual: 80 192 204 in that encoding, the joiner 255, then 229's code.
    s_ = NewComposerState();
    s_.options.bilingual = 1;
    text_.clear();
    EXPECT_EQ(Type("kfkfy"), (Codes{145, 208, 220, 255, 244}));
    // Without typing's joiners: the glyphs alone, and an erasure takes one character.
    s_ = NewComposerState();
    s_.options.joiners = 0;
    text_.clear();
    EXPECT_EQ(Type("kfkfkfki"), (Codes{81, 204, 204, 204}));
}

TEST_F(ComposerTest, EmptyTablesTypeNothing) {
    LayoutTables saved = Layout;
    std::memset(&Layout, 0, sizeof Layout);
    IndexLayoutTables();
    EXPECT_EQ(Type("kfkiaX"), (Codes{243}));  // only "X" has output without tables
    Layout = saved;
    IndexLayoutTables();
}

TEST_F(ComposerTest, FeedKeyRunsTheStateMachineAlone) {
    auto feed = [&](unsigned char code) {
        const ComposerActions *a = FeedKey(s_, code);
        return a ? std::make_pair(a->erase, Codes(a->insert, a->insert + a->insertLength))
                 : std::make_pair(-1, Codes{});
    };
    EXPECT_EQ(feed(' ').first, -1);
    EXPECT_EQ(feed('k'), std::make_pair(0, Codes{80, 192}));
    EXPECT_EQ(feed('i'), std::make_pair(2, Codes{81}));
    EXPECT_EQ(feed('k'), std::make_pair(0, Codes{80, 192}));
    EXPECT_EQ(feed('a').first, -1);  // "a" after a consonant adds nothing
    // The state machine's step that only FeedKey reaches ("X" never continues a syllable in
    // typing): the chain's RA becomes 249.
    s_ = NewComposerState();
    feed('k'), feed('f'), feed('r');
    EXPECT_EQ(feed('X'), std::make_pair(1, Codes{249}));
    EXPECT_EQ(s_.state, kStateConjunct);
    // Bilingual output lets the Latin-letter codes through as letters.
    s_ = NewComposerState();
    s_.options.bilingual = 1;
    EXPECT_EQ(feed(127), std::make_pair(0, Codes{'A'}));
}

}  // namespace
