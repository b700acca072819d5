// tovi type run as a program: keys through the hook path of a desktop, what it prints, its
// errors, and runs at the same moment that never change each other's typing.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "../support/tovi_run.h"
#include "kannada-tovi-desktop.h"
#include "kannada-tovi.h"

namespace {

struct Case {
    std::vector<std::string> args;
    std::string out;
};

// Runs `tovi type` with these arguments.
ToviResult Type(ToviRunner &tovi, std::vector<std::string> args) {
    args.insert(args.begin(), "type");
    return tovi.Run(args);
}

TEST(ToviType, PrintsWhatTheBoxHolds) {
    ToviRunner tovi;
    const Case cases[] = {
        // Shift composes the capital; {BS} takes back a glyph; keys that are not letters reach
        // the box as themselves and end the syllable.
        {{"--codes", "K"}, "82\n"},
        {{"--codes", "kfkfy{BS}"}, "80 192 204\n"},
        {{"--codes", "ka, 1{TAB}i{ENTER}k"}, "80 192 44 32 49 9 69 13 80 192\n"},
        {{"--codes", "{BS}"}, "\n"},
        {{"--codes", "--bilingual", "kfkfy"}, "145 208 220 255 244\n"},
        {{"--codes", "--key-engine", "ka kA"}, "80 193 32 80 192\n"},
        {{"--unicode", "kfkfy"}, "ಕ್ಕ್ಯ\n"},
        {{"--unicode", "--bilingual", "kfkfy"}, "ಕ್ಕ್ಯ\n"},
        {{"1+2 = 3?"}, "1+2 = 3?"},  // the box's bytes as they are
        {{"--", "--codes"}, "--Z\xC9\xC6z\xC9\xB8\xC0"},  // after "--", the keys
    };
    for (const Case &c : cases) {
        ToviResult r = Type(tovi, c.args);
        EXPECT_EQ(r.status, 0) << c.args.back() << ": " << r.err;
        EXPECT_EQ(r.out, c.out) << c.args.back();
        EXPECT_EQ(r.err, "");
    }
}

TEST(ToviType, BadArgumentsExitWith2AndSayWhy) {
    ToviRunner tovi;
    const Case cases[] = {
        {{"--codes"}, "missing KEYS"},
        {{"--fast", "k"}, "unknown option '--fast'"},
        {{"k", "i"}, "one KEYS argument"},
        {{"--codes", "--unicode", "k"}, "exclude each other"},
        {{"k\xC3\xA9"}, "no key (code 195)"},
        {{"k", "--desktop"}, "--desktop needs the NAME"},
        {{"--desktop", "office", "--key-engine", "k"}, "only on a desktop of its own"},
    };
    for (const Case &c : cases) {
        ToviResult r = Type(tovi, c.args);
        EXPECT_EQ(r.status, 2) << c.out;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind("tovi: type: ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find(c.out), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
}

// This process runs an engine on its desktop (TOVI_DESKTOP): a run that joins that desktop
// finds it, a run of its own does not, and neither changes it.
TEST(ToviType, TypesOnADesktopOfItsOwnUnlessOneIsNamed) {
    ASSERT_EQ(ToviStartKeyboardEngine(0, 1, 0), 1);
    ToviRunner tovi;
    ToviResult own = Type(tovi, {"--codes", "--key-engine", "ki"});
    EXPECT_EQ(own.status, 0) << own.err;
    EXPECT_EQ(own.out, "81\n");
    ToviResult joined = Type(tovi, {"--codes", "--desktop", std::getenv("TOVI_DESKTOP"), "ki"});
    EXPECT_EQ(joined.status, 1);
    EXPECT_NE(joined.err.find("already runs on desktop"), std::string::npos) << joined.err;
    EXPECT_EQ(ToviStopKeyboardEngine(), 1);
    // The other run's key-engine switch stayed on its own desktop.
    void *box = ToviDesktopCreateWindow("EDIT");
    ToviDesktopSetFocus(box);
    ASSERT_EQ(ToviStartKeyboardEngine(0, 1, 0), 1);
    ToviTurnOnScrollLock();
    ToviDesktopKeyEvent('K', 0);
    ToviDesktopKeyEvent('K', 1);
    ToviDesktopKeyEvent('A', 0);
    ToviDesktopKeyEvent('A', 1);
    ToviTurnOffScrollLock();
    ToviStopKeyboardEngine();
    std::string typed;
    ToviDesktopMessage m;
    while (ToviDesktopTakeMessage(box, &m))
        if (m.message == 0x0102) typed += std::to_string(m.wParam) + " ";
    EXPECT_EQ(typed, "80 192 ");
    ToviDesktopDestroyWindow(box);
}

// Two loops of runs at the same moment, one with the key-engine switch: each run types what
// it types alone.
TEST(ToviType, RunsAtTheSameMomentNeverChangeEachOther) {
    const int runs = 200;
    const std::vector<std::string> plain{"--codes", "ka kA"}, switched{"--codes", "--key-engine", "ka kA"};
    ToviRunner tovi;
    const std::string plainAlone = Type(tovi, plain).out, switchedAlone = Type(tovi, switched).out;
    ASSERT_EQ(plainAlone, "80 192 32 80 193\n");
    ASSERT_EQ(switchedAlone, "80 193 32 80 192\n");
    int plainWrong = 0, switchedWrong = 0;
    std::thread other([&] {
        for (int i = 0; i < runs; i++) switchedWrong += Type(tovi, switched).out != switchedAlone;
    });
    for (int i = 0; i < runs; i++) plainWrong += Type(tovi, plain).out != plainAlone;
    other.join();
    EXPECT_EQ(plainWrong, 0);
    EXPECT_EQ(switchedWrong, 0);
}

}  // namespace
