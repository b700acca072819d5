// The hook path: key events of the virtual desktop run through ToviKBDProc, installed for this
// thread as the engine's start installs it, into a focused text box.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../support/edge_cases.h"
#include "../support/keys.h"
#include "../support/text_box.h"
#include "base/last_error.h"
#include "base/shared_state.h"
#include "engine/hook_state.h"
#include "engine/keyboard_hook.h"
#include "kannada-tovi.h"

namespace {

// A hook that only records the key events it sees, then passes them on.
std::vector<std::pair<WPARAM, LPARAM>> seenEvents;
LRESULT RecordingHook(int code, WPARAM vk, LPARAM data) {
    seenEvents.emplace_back(vk, data);
    return CallNextHookEx(nullptr, code, vk, data);
}

class KeyboardHookTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = *Shared;
        Shared->fontType = 1;
        Shared->engineType = 0;
        Shared->keyEngineSwitch = 0;
        Shared->shiftFixPending = 0;
        Fresh();
        EngineHook = SetWindowsHookExA(WH_KEYBOARD, ToviKBDProc, LibraryModule, GetCurrentThreadId());
        ASSERT_NE(EngineHook, nullptr);
        ToviTurnOnScrollLock();
        ASSERT_EQ(GetKeyState(VK_SCROLL) & 1, 1);
    }
    void TearDown() override {
        UnhookWindowsHookEx(EngineHook);
        EngineHook = nullptr;
        ToviTurnOffScrollLock();
        ToviDesktopSetToggle(VK_CAPITAL, 0);
        *Shared = saved_;
    }
    static void Fresh() {
        Composer = NewComposerState();
        ResetKeyboardOutput();
    }

    SharedEngineState saved_;
};

TEST_F(KeyboardHookTest, EdgeCasesGiveTheirCodesThroughTheHook) {
    for (const EdgeCase &c : kEdgeCases) {
        SCOPED_TRACE(std::string("keys \"") + c.keys + "\"");
        Fresh();
        TextBox box;
        TypeKeys(c.keys);
        EXPECT_EQ(box.Codes(), c.codes);
    }
}

TEST_F(KeyboardHookTest, ScrollLockIsTheKannadaSwitch) {
    TextBox box;
    ToviTurnOffScrollLock();
    TypeKeys("k");  // an ordinary key
    ToviTurnOnScrollLock();
    TypeKeys("k");  // swallowed, and its glyphs posted
    EXPECT_EQ(box.Codes(), (Codes{'k', 80, 192}));
}

TEST_F(KeyboardHookTest, ScrollLockSwitchesPressTheKeyOnlyWhenNeeded) {
    HHOOK recorder = SetWindowsHookExA(WH_KEYBOARD, RecordingHook, nullptr, GetCurrentThreadId());
    seenEvents.clear();
    EXPECT_EQ(ToviTurnOnScrollLock(), 1);  // already on
    EXPECT_EQ(ToviTurnOnScrollLockVB(), 1);
    EXPECT_TRUE(seenEvents.empty());
    EXPECT_EQ(ToviTurnOffScrollLockVB(), 1);
    ASSERT_EQ(seenEvents.size(), 2u);
    for (size_t i = 0; i < 2; i++) {
        uint32_t data = static_cast<uint32_t>(seenEvents[i].second);
        EXPECT_EQ(seenEvents[i].first, static_cast<WPARAM>(VK_SCROLL));
        EXPECT_EQ((data >> 16) & 0xFF, 0x45u);  // scan code
        EXPECT_TRUE(data & (1u << 24));         // extended key
        EXPECT_EQ((data >> 31) & 1, i);         // down, then up
    }
    EXPECT_EQ(GetKeyState(VK_SCROLL) & 1, 0);
    seenEvents.clear();
    EXPECT_EQ(ToviTurnOffScrollLock(), 1);
    EXPECT_TRUE(seenEvents.empty());
    EXPECT_EQ(ToviTurnOnScrollLock(), 1);
    EXPECT_EQ(seenEvents.size(), 2u);
    EXPECT_EQ(GetKeyState(VK_SCROLL) & 1, 1);
    UnhookWindowsHookEx(recorder);
}

TEST_F(KeyboardHookTest, ShiftAndCapsLockChooseTheLetter) {
    struct {
        bool caps;
        const char *keys;
        Codes codes;
    } cases[] = {
        {false, "K", {82}},      // Shift+k composes "K"
        {true, "K", {80, 192}},  // with Caps Lock on, Shift+k composes "k"
        {true, "k", {82}},       // Caps Lock alone gives the capital
    };
    for (const auto &c : cases) {
        Fresh();
        ToviDesktopSetToggle(VK_CAPITAL, c.caps);
        TextBox box;
        TypeKeys(c.keys);
        EXPECT_EQ(box.Codes(), c.codes) << c.keys << " caps " << c.caps;
    }
}

TEST_F(KeyboardHookTest, KeysThatPassAndKeysThatReset) {
    TextBox box;
    // Control+c passes to the application untouched.
    ToviDesktopKeyEvent(VK_CONTROL, 0);
    ToviDesktopKeyEvent('C', 0);
    ToviDesktopKeyEvent('C', 1);
    ToviDesktopKeyEvent(VK_CONTROL, 1);
    std::vector<ToviDesktopMessage> m = TakeMessages(box.window());
    bool sawCtrlC = false;
    for (const ToviDesktopMessage &x : m) sawCtrlC |= x.message == WM_CHAR && x.wParam == 3;
    EXPECT_TRUE(sawCtrlC);

    // Alt: bit 29 passes the key as it is; nothing is composed.
    ToviDesktopKeyEvent(VK_MENU, 0);
    PressKey('K');
    ToviDesktopKeyEvent(VK_MENU, 1);
    EXPECT_EQ(box.Codes(), (Codes{'k'}));

    // Space, digits and Enter reach the box and end the syllable; F keys pass.
    TypeKeys("k i");
    PressKey('1');
    TypeKeys("i\rk");
    PressKey(VK_F1);
    TypeKeys("i");
    EXPECT_EQ(box.Codes(), (Codes{'k', 80, 192, 32, 69, 49, 69, '\r', 81}));
    // Enter cleared the key buffer and pushed itself; a key up was swallowed, not passed.
    EXPECT_EQ(ToviDesktopKeyEvent('K', 1), 1);
}

TEST_F(KeyboardHookTest, BackspaceUnderShiftIsRepaired) {
    TextBox box;
    TypeKeys("kfk");
    EXPECT_EQ(box.Codes(), (Codes{80, 192, 204}));
    ToviDesktopKeyEvent(VK_SHIFT, 0);
    ASSERT_LT(GetKeyState(VK_SHIFT), 0);
    // Backspace erases the syllable and types it again without its last consonant and the
    // halant before it.
    ToviDesktopKeyEvent(VK_BACK, 0);
    EXPECT_EQ(box.Codes(), (Codes{80, 192}));
    // The posted Backspaces do not arrive as Shift+Backspace: Shift reads up until the next
    // key event.
    EXPECT_GE(GetKeyState(VK_SHIFT), 0);
    EXPECT_EQ(Shared->shiftFixPending, 1);
    // The next key event (here the Backspace's own key up), with Shift still held, puts Shift
    // back, so a following "y" composes "Y".
    ToviDesktopKeyEvent(VK_BACK, 1);
    EXPECT_EQ(Shared->shiftFixPending, 0);
    EXPECT_LT(GetKeyState(VK_SHIFT), 0);
    PressKey('Y');
    ToviDesktopKeyEvent(VK_SHIFT, 1);
    EXPECT_GE(GetKeyState(VK_SHIFT), 0);
    EXPECT_EQ(box.Codes(), (Codes{80, 201, 202}));

    // Released before the next key event, Shift is not put back.
    Fresh();
    TypeKeys("ki");
    ToviDesktopKeyEvent(VK_SHIFT, 0);
    ToviDesktopKeyEvent(VK_BACK, 0);
    EXPECT_EQ(Shared->shiftFixPending, 1);
    ToviDesktopKeyEvent(VK_SHIFT, 1);  // passes; the repair is dropped
    EXPECT_EQ(Shared->shiftFixPending, 0);
    EXPECT_GE(GetKeyState(VK_SHIFT), 0);
    ToviDesktopKeyEvent(VK_BACK, 1);
}

TEST_F(KeyboardHookTest, BackspaceWithNoSyllableReachesTheBoxAsOne) {
    TextBox box;
    EXPECT_EQ(ToviDesktopKeyEvent(VK_BACK, 0), 1);  // swallowed, and one Backspace posted
    EXPECT_EQ(ToviDesktopKeyEvent(VK_BACK, 1), 1);
    std::vector<ToviDesktopMessage> m = TakeMessages(box.window());
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0].message, static_cast<unsigned>(WM_KEYDOWN));
    EXPECT_EQ(m[1].message, static_cast<unsigned>(WM_CHAR));
    EXPECT_EQ(m[1].wParam, 8u);
    EXPECT_EQ(static_cast<uint32_t>(m[1].lParam), 0xC00E0001u);
}

TEST_F(KeyboardHookTest, TheSharedSwitchesHoldFromTheNextKey) {
    TextBox box;
    Shared->fontType = 0;
    LibraryLastError = 0;
    // 80 192 204 in the bilingual encoding, the joiner 255, then 229's code.
    TypeKeys("kfkfy ");
    // An output step with nothing to type leaves -4, as the conversion it runs does.
    EXPECT_EQ(LibraryLastError, -4);
    Shared->fontType = 1;
    ToviSetKeyEngine();
    TypeKeys("ka kA");
    EXPECT_EQ(box.Codes(), (Codes{145, 208, 220, 255, 244, 32, 80, 193, 32, 80, 192}));
}

TEST_F(KeyboardHookTest, ANewFocusWindowStartsANewSyllable) {
    TextBox first;
    TypeKeys("k");
    TextBox second;  // takes the focus
    TypeKeys("i");
    EXPECT_EQ(first.Codes(), (Codes{80, 192}));
    EXPECT_EQ(second.Codes(), (Codes{69}));
}

TEST_F(KeyboardHookTest, SendCharactersSkipsTheFirstByte) {
    TextBox box;
    EXPECT_EQ(ToviSendCharacters("x\x08" "A"), 1);
    std::vector<ToviDesktopMessage> m = TakeMessages(box.window());
    ASSERT_EQ(m.size(), 3u);
    EXPECT_EQ(m[0].message, static_cast<unsigned>(WM_KEYDOWN));
    EXPECT_EQ(m[0].wParam, 8u);
    EXPECT_EQ(m[1].message, static_cast<unsigned>(WM_CHAR));
    EXPECT_EQ(m[1].wParam, 8u);
    EXPECT_EQ(m[2].message, static_cast<unsigned>(WM_CHAR));
    EXPECT_EQ(m[2].wParam, 65u);
    EXPECT_EQ(m[2].lParam, 1);
    EXPECT_EQ(ToviSendCharacters(""), 1);
    EXPECT_EQ(ToviSendCharacters(nullptr), 1);
    EXPECT_TRUE(TakeMessages(box.window()).empty());
}

}  // namespace
