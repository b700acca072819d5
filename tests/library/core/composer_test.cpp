// The composer on a state of its own: the bounds of Backspace and of the key buffer, no key
// erasing what was there before, and FeedKey. Its actions are applied to a text as a
// host would. (Its codes for key sequences are held to the hook's elsewhere.)
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "compose/composer.h"
#include "compose/layout_data.h"

namespace {

using Codes = std::vector<int>;

class ComposerTest : public ::testing::Test {
protected:
    // Types letter keys as typing does, applying each key's actions to the text: erasures
    // take characters before the end (none when there are none), then the codes go after.
    Codes Type(const std::string &keys) {
        for (char k : keys) {
            HandleLetterKey(s_, k);
            for (int i = 0; i < s_.actions.erase && !text_.empty(); i++) text_.pop_back();
            text_.insert(text_.end(), s_.actions.insert, s_.actions.insert + s_.actions.insertLength);
        }
        return text_;
    }

    ComposerState s_ = NewComposerState();
    Codes text_;
};

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

// Text that was there before the composer started stays, whatever keys follow: no key,
// matched or not, erases more than the composer typed.
TEST_F(ComposerTest, NoKeyErasesTextTypedBeforeIt) {
    text_ = {'S', 'i', 'r'};
    EXPECT_EQ(Type("jXfXa"), (Codes{'S', 'i', 'r', 101, 243, 239}));  // "X" and "a" match nothing there
    const std::string letters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    // Sequences that reach every state, then any two keys.
    for (const char *prefix : {"", "k", "kf", "kfk", "kfkf", "kfrf", "NfBf", "kR", "RX", "rX", "PX", "jX", "jXf", "jXfk"})
        for (char a : letters)
            for (char b : letters)
                for (int options : {0, 1}) {
                    s_ = NewComposerState();
                    s_.options.bilingual = s_.options.keyEngine = options;
                    int typed = 0;
                    for (char k : std::string(prefix) + a + b) {
                        HandleLetterKey(s_, k);
                        typed -= s_.actions.erase;
                        ASSERT_GE(typed, 0) << prefix << a << b;
                        typed += s_.actions.insertLength;
                    }
                }
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
    // Without typing's joiners: the glyphs alone, and an erasure takes one character.
    s_ = NewComposerState();
    s_.options.joiners = 0;
    text_.clear();
    EXPECT_EQ(Type("kfkfkfki"), (Codes{81, 204, 204, 204}));
}

}  // namespace
