// The composer of kannada-tovi-composer.h: for every key sequence of the keyboard enumeration
// it types what the hook types, and its UTF-8 is the bridge's conversion of that; Backspace,
// reset, options and the pre-edit; composers in eight threads.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <string>
#include <thread>
#include <vector>

#include "kannada-tovi-composer.h"
#include "kannada-tovi-desktop.h"
#include "../support/keys.h"
#include "../support/typed_keys.h"

namespace {

// The text before the caret of a host that applies a composer's results.
struct Host {
    std::string text;
    bool utf8 = false;

    void Apply(const ToviComposerResult &r) {
        for (int i = 0; i < r.erase && !text.empty(); i++) {
            if (utf8)
                while (text.size() > 1 && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80) text.pop_back();
            text.pop_back();
        }
        text.append(r.insert, static_cast<size_t>(r.insertLength));
    }
};

std::string Compose(ToviComposer *c, const std::string &keys, bool utf8) {
    ToviComposerReset(c);
    Host host{"", utf8};
    ToviComposerResult r;
    for (char k : keys) {
        if (ToviComposerFeed(c, k == '\b' ? 8 : k, &r)) host.Apply(r);
        else if (k == '\b' && !host.text.empty()) host.text.pop_back();
    }
    return host.text;
}

std::string ToUnicode(const std::string &glyphs) {
    std::string out(32 * glyphs.size() + 1, '\0');
    int n = ToviMonolingualGlyph2Unicode(glyphs.c_str(), &out[0], static_cast<unsigned>(out.size()));
    out.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return out;
}

// The hook of this thread typing into a box of the virtual desktop. The test processes of
// this program take turns with the desktop's engine.
class HookAndComposer : public ::testing::Test {
protected:
    void SetUp() override {
        lock_ = open("/proc/self/exe", O_RDONLY | O_CLOEXEC);
        ASSERT_EQ(flock(lock_, LOCK_EX), 0);
        ASSERT_EQ(ToviStartKeyboardEngine(0, 1, 0), 1);
        box_ = ToviDesktopCreateWindow("EDIT");
        ToviDesktopSetFocus(box_);
        ToviTurnOnScrollLock();
        Typed("");
    }
    void TearDown() override {
        ToviTurnOffScrollLock();
        ToviStopKeyboardEngine();
        ToviDesktopDestroyWindow(box_);
        close(lock_);
    }

    // What the hook procedure types for the keys (each key's press, with Shift held for a
    // capital); a space afterwards ends the syllable.
    std::string Typed(const std::string &keys) {
        for (char k : keys) {
            bool capital = k >= 'A' && k <= 'Z';
            if (capital) ToviDesktopKeyEvent(0x10, 0);
            ToviKBDProc(0, static_cast<unsigned>(capital ? k : k - 32), 1);
            if (capital) ToviDesktopKeyEvent(0x10, 1);
        }
        std::string text;
        ToviDesktopMessage m;
        while (ToviDesktopTakeMessage(box_, &m)) {
            if (m.message != 0x0102) continue;  // WM_CHAR
            if (m.wParam != 8) text.push_back(static_cast<char>(m.wParam));
            else if (!text.empty()) text.pop_back();
        }
        ToviKBDProc(0, 0x20, 1);
        return text;
    }

    void *box_ = nullptr;
    int lock_ = -1;
};

TEST_F(HookAndComposer, TypeTheSameForEveryEnumeratedSequence) {
    ToviComposer *glyphs = ToviComposerNew(TOVI_COMPOSER_MONOLINGUAL, 0);
    ToviComposer *utf8 = ToviComposerNew(TOVI_COMPOSER_UTF8, 0);
    int sequences = 0;
    ForEachKeySequence([&](const std::string &keys, int) {
        sequences++;
        std::string typed = Typed(keys);
        ASSERT_EQ(Compose(glyphs, keys, false), typed) << keys;
        ASSERT_EQ(Compose(utf8, keys, true), ToUnicode(typed)) << keys;
    });
    EXPECT_GT(sequences, 760000);
    ToviComposerFree(glyphs);
    ToviComposerFree(utf8);
}

TEST_F(HookAndComposer, TypeTheSameBilingualCodes) {
    ToviChangeFontType(0);
    ToviComposer *glyphs = ToviComposerNew(TOVI_COMPOSER_BILINGUAL, 0);
    ForEachKeySequence([&](const std::string &keys, int) { ASSERT_EQ(Compose(glyphs, keys, false), Typed(keys)) << keys; });
    ToviComposerFree(glyphs);
}

// Feeds keys to one composer ("\b" is Backspace) and keeps the host's text and the last result.
struct Session {
    explicit Session(int output, int flags = 0) : c(ToviComposerNew(output, flags)), host{"", output == TOVI_COMPOSER_UTF8} {}
    ~Session() { ToviComposerFree(c); }
    Session &Keys(const std::string &keys) {
        for (char k : keys) {
            used = ToviComposerFeed(c, k == '\b' ? 8 : k, &r);
            if (used) host.Apply(r);
            else if (k == '\b' && !host.text.empty()) host.text.pop_back();  // a glyph host
            else if (k != '\b') host.text.push_back(k);
            committed += std::string(r.commit, r.commitLength);
        }
        return *this;
    }
    std::string Preedit() const { return std::string(r.preedit, r.preeditLength); }
    ToviComposer *c;
    Host host;
    ToviComposerResult r{};
    int used = 0;
    std::string committed;
};

TEST(Composer, KeysBackspaceAndTheEndOfASyllable) {
    Session s(TOVI_COMPOSER_UTF8);
    EXPECT_EQ(s.Keys("ki").host.text, "ಕಿ");
    EXPECT_EQ(s.Preedit(), "ಕಿ");
    EXPECT_EQ(s.Keys("\b").host.text, "ಕ");  // the syllable typed again without its last key
    EXPECT_EQ(s.r.erase, 1);
    EXPECT_EQ(s.Keys("\b").host.text, "");
    EXPECT_EQ(s.Keys("\b").used, 0);  // nothing left: the host's own Backspace
    // Any other key ends the syllable and is the host's: "i" is the vowel again.
    EXPECT_EQ(s.Keys("k i").host.text, "ಕ ಇ");
    EXPECT_EQ(s.used, 1);
    ToviComposerReset(s.c);
    EXPECT_EQ(s.Keys("i").host.text, "ಕ ಇಇ");
    // Without a syllable, UTF-8 output takes back the pre-edit's last glyph itself.
    Session x(TOVI_COMPOSER_UTF8);
    EXPECT_EQ(x.Keys("kX\b").host.text, "ಕ");
    EXPECT_EQ(x.Keys("\b").used, 1);
    EXPECT_EQ(x.host.text, ToUnicode("\x50"));
}

TEST(Composer, OptionsAndOutputs) {
    EXPECT_EQ(ToviComposerNew(3, 0), nullptr);
    Session glyphs(TOVI_COMPOSER_MONOLINGUAL, TOVI_COMPOSER_KEY_ENGINE);
    EXPECT_EQ(glyphs.Keys("ka").host.text, "\x50\xC1");  // the key engine: "a" is long
    EXPECT_EQ(ToviComposerSetOptions(glyphs.c, 7, 0), 0);
    EXPECT_EQ(ToviComposerSetOptions(glyphs.c, TOVI_COMPOSER_BILINGUAL, 0), 1);
    glyphs.host.text.clear();
    EXPECT_EQ(glyphs.Keys("kfkfy").host.text, "\x91\xD0\xDC\xFF\xF4");
    EXPECT_EQ(glyphs.Preedit(), glyphs.host.text);
    EXPECT_EQ(ToviComposerSetOptions(nullptr, 0, 0), 0);
    EXPECT_EQ(ToviComposerFeed(nullptr, 'k', nullptr), 0);
}

TEST(Composer, ALongWordIsCommittedWhereNoKeyReachesIt) {
    for (int output : {TOVI_COMPOSER_MONOLINGUAL, TOVI_COMPOSER_UTF8}) {
        Session s(output);
        std::string keys;
        for (int i = 0; i < 12; i++) keys += "kannaDadalli";
        s.Keys(keys);
        std::string glyphs = Session(TOVI_COMPOSER_MONOLINGUAL).Keys(keys).host.text;
        EXPECT_EQ(s.host.text, output == TOVI_COMPOSER_UTF8 ? ToUnicode(glyphs) : glyphs);
        EXPECT_FALSE(s.committed.empty());
        EXPECT_EQ(s.committed + s.Preedit(), s.host.text);
        EXPECT_LT(s.r.preeditLength, static_cast<int>(s.host.text.size()) / 2);
    }
}

}  // namespace
