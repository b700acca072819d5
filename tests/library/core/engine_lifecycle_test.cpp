// The engine's start, retarget and stop on the virtual desktop: the single-instance mutex
// (within a process and across processes), the hook scope, the shared switches, the tray icon
// with its menu and dialogs, the font-change broadcast, and a mutex that cannot be made.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "../support/text_box.h"
#include "base/shared_state.h"
#include "engine/hook_state.h"
#include "engine/tray.h"
#include "kannada-tovi.h"

namespace {

// Whether the engine swallowed a "k" pressed on this thread, or on a thread of its own.
bool Swallowed(bool otherThread = false) {
    int swallowed = -1;
    auto press = [&] {
        swallowed = ToviDesktopKeyEvent('K', 0);
        ToviDesktopKeyEvent('K', 1);
    };
    otherThread ? std::thread(press).join() : press();
    return swallowed == 1;
}

// The result of a start made by another process of this desktop (it stops what it started):
// 10 started, 21 already running.
int StartInOtherProcess() {
    fflush(nullptr);
    pid_t child = fork();
    if (child == 0) {
        int started = ToviStartKeyboardEngine(1, 0, 0);
        int error = ToviGetLastError();
        if (started) ToviStopKeyboardEngine();
        _exit(started ? 10 : 20 - error);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Every case starts with the engine stopped and Scroll Lock on.
class EngineLifecycle : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(Shared->mutexHandle, 0);
        ASSERT_EQ(ToviDesktopTrayIconCount(), 0);
        ToviDesktopSetToggle(VK_SCROLL, 1);
        ToviResetAllFlags();
    }
    void TearDown() override {
        if (Shared->mutexHandle) ToviStopKeyboardEngine();
        ToviDesktopSetToggle(VK_SCROLL, 0);
        ToviDesktopSetMenuChoice(0);
    }
    TextBox box;
};

TEST_F(EngineLifecycle, StartStoresTheSwitchesAndStopClearsThem) {
    // Stop or retarget without a start: -2.
    EXPECT_EQ(ToviStopKeyboardEngine(), 0);
    EXPECT_EQ(ToviGetLastError(), -2);
    EXPECT_EQ(ToviChangeEngineType(1), 0);
    EXPECT_EQ(ToviGetLastError(), -2);

    ASSERT_EQ(ToviStartKeyboardEngine(0, 1, 0), 1);
    EXPECT_NE(Shared->mutexHandle, 0);
    EXPECT_NE(EngineHook, nullptr);
    EXPECT_EQ(Shared->fontType, 1);
    EXPECT_EQ(ToviDesktopTrayIconCount(), 0);
    EXPECT_EQ(ToviGetCurrentFontType(), 1);
    EXPECT_TRUE(Swallowed());  // and its glyphs typed

    ASSERT_EQ(ToviStopKeyboardEngineVB(), 1);
    EXPECT_EQ(Shared->mutexHandle, 0);
    EXPECT_EQ(EngineHook, nullptr);
    EXPECT_EQ(Shared->fontType, 0);  // bilingual after a stop
    EXPECT_EQ(ToviGetCurrentFontType(), 0);
    EXPECT_FALSE(Swallowed());  // no hook any more: the key reaches the box as itself
    EXPECT_EQ(box.Codes(), (std::vector<int>{80, 192, 'k'}));
    EXPECT_EQ(ToviStopKeyboardEngineVB(), 0);
    EXPECT_EQ(ToviGetLastError(), -2);
}

TEST_F(EngineLifecycle, ASecondStartFailsHereOrElsewhereAndTheRunningEngineKeepsWorking) {
    ASSERT_EQ(ToviStartKeyboardEngine(0, 1, 0), 1);
    const SharedEngineState running = *Shared;
    EXPECT_EQ(ToviStartKeyboardEngine(1, 0, 1), 0);
    EXPECT_EQ(ToviGetLastError(), -1);
    EXPECT_EQ(StartInOtherProcess(), 21);
    // Nothing of the failed starts was stored (the switches are one copy for every process).
    EXPECT_EQ(std::memcmp(Shared, &running, sizeof running), 0);
    EXPECT_EQ(ToviDesktopTrayIconCount(), 0);
    EXPECT_TRUE(Swallowed());
    ASSERT_EQ(ToviStopKeyboardEngine(), 1);
    // The failed starts let go of their handles, so the name is free again.
    EXPECT_EQ(StartInOtherProcess(), 10);
}

TEST_F(EngineLifecycle, TheEngineTypeChoosesTheThreadsAndTheFontTypeIsStoredAsGiven) {
    // A start with type 0 hooks only the starting thread, any other type every thread; a
    // retarget hooks every thread only with type 1.
    ASSERT_EQ(ToviStartKeyboardEngine(0, 1, 0), 1);
    EXPECT_FALSE(Swallowed(true));
    ASSERT_EQ(ToviStopKeyboardEngine(), 1);
    ASSERT_EQ(ToviStartKeyboardEngine(2, 1, 0), 1);
    EXPECT_TRUE(Swallowed(true));
    for (int type : {2, 1, 0}) {
        ASSERT_EQ(ToviChangeEngineType(type), 1);
        EXPECT_EQ(Shared->engineType, type);
        EXPECT_EQ(Swallowed(true), type == 1);
        EXPECT_TRUE(Swallowed());
    }
    EXPECT_EQ(ToviChangeFontType(-7), 1);
    EXPECT_EQ(Shared->fontType, -7);
    EXPECT_EQ(ToviGetCurrentFontType(), 1);
    EXPECT_EQ(ToviChangeFontType(0), 1);
    EXPECT_EQ(ToviGetCurrentFontType(), 0);
}

TEST_F(EngineLifecycle, AHookThatCannotBeInstalledLeavesNoEngineBehind) {
    ToviDesktopFailNext("SetWindowsHookExA");
    EXPECT_EQ(ToviStartKeyboardEngine(0, 1, 1), 0);
    EXPECT_EQ(ToviGetLastError(), -2);
    EXPECT_EQ(Shared->mutexHandle, 0);
    EXPECT_EQ(Shared->trayIconWanted, 0);
    EXPECT_EQ(ToviDesktopTrayIconCount(), 0);
    // The mutex was given back: the next start works.
    ASSERT_EQ(ToviStartKeyboardEngine(0, 1, 0), 1);
    // A retarget whose hook fails leaves the engine stoppable and retargetable.
    ToviDesktopFailNext("SetWindowsHookExA");
    EXPECT_EQ(ToviChangeEngineType(1), 0);
    EXPECT_EQ(ToviGetLastError(), -2);
    EXPECT_EQ(EngineHook, nullptr);
    EXPECT_FALSE(Swallowed());
    ASSERT_EQ(ToviChangeEngineType(0), 1);
    EXPECT_TRUE(Swallowed());
    ToviDesktopFailNext("SetWindowsHookExA");
    EXPECT_EQ(ToviChangeEngineType(1), 0);
    EXPECT_EQ(ToviStopKeyboardEngine(), 1);
}

TEST_F(EngineLifecycle, TheVisualBasicTwinTakesTheLowByteOfTheTrayFlag) {
    ASSERT_EQ(ToviStartKeyboardEngineVB(0, 1, -1), 1);
    EXPECT_EQ(Shared->trayIconWanted, 255);
    ASSERT_EQ(ToviDesktopTrayIconCount(), 1);
    EXPECT_STREQ(ToviDesktopTrayIconTip(0), "Tovi 3.0");
    EXPECT_EQ(ToviDesktopTrayIconId(0), 1025u);
    ASSERT_EQ(ToviStopKeyboardEngineVB(), 1);
    EXPECT_EQ(ToviDesktopTrayIconCount(), 0);
    EXPECT_EQ(Shared->trayIconWanted, 0);
    ASSERT_EQ(ToviStartKeyboardEngineVB(0, 1, 256), 1);  // a zero low byte: no icon
    EXPECT_EQ(Shared->trayIconWanted, 0);
    EXPECT_EQ(ToviDesktopTrayIconCount(), 0);
}

TEST_F(EngineLifecycle, ClicksOnTheTrayIconOpenTheMenuAndItsCommandsTheirDialogs) {
    // One tray window serves every start of the process.
    ASSERT_EQ(ToviStartKeyboardEngine(0, 1, 1), 1);
    void *tray = ToviDesktopTrayIconWindow(0);
    ASSERT_EQ(ToviStopKeyboardEngine(), 1);
    ASSERT_EQ(ToviStartKeyboardEngine(0, 1, 1), 1);
    ASSERT_EQ(ToviDesktopTrayIconCount(), 1);
    EXPECT_EQ(ToviDesktopTrayIconWindow(0), tray);

    // Either button opens the menu; other mouse messages and clicks while a dialog is open do
    // nothing.
    const int menus = ToviDesktopLastMenuCount();
    for (int mouse : {WM_RBUTTONDOWN, WM_LBUTTONDOWN, 0x0200 /* move */, 0x0205 /* right up */})
        EXPECT_EQ(ToviDesktopSendMessage(tray, WM_USER, 0, mouse), 0);
    EXPECT_EQ(ToviDesktopLastMenuCount(), menus + 2);
    EXPECT_EQ(ToviDesktopLastMenuDefault(), 32802);
    InfoDialogOpen = true;
    ToviDesktopSendMessage(tray, WM_USER, 0, WM_RBUTTONDOWN);
    InfoDialogOpen = false;
    EXPECT_EQ(ToviDesktopLastMenuCount(), menus + 2);

    // "Keyboard Layout" picked from the menu, then "About" and a command of no dialog.
    const int dialogs = ToviDesktopDialogCount();
    ToviDesktopSetMenuChoice(32802);
    ToviDesktopSendMessage(tray, WM_USER, 0, WM_RBUTTONDOWN);
    ToviDesktopSendMessage(tray, WM_COMMAND, 32800, 0);
    ToviDesktopSendMessage(tray, WM_COMMAND, 32801, 0);
    ASSERT_EQ(ToviDesktopDialogCount(), dialogs + 2);
    EXPECT_EQ(ToviDesktopDialogId(dialogs), 138);
    EXPECT_EQ(ToviDesktopDialogId(dialogs + 1), 152);
    EXPECT_FALSE(InfoDialogOpen);
}

TEST(UpdateFonts, TellsEveryTopLevelWindowThatTheFontsChanged) {
    void *windows[] = {ToviDesktopCreateWindow("First"), ToviDesktopCreateWindow("Second")};
    EXPECT_NE(UpdateFonts(), 0);
    for (void *w : windows) {
        std::vector<ToviDesktopMessage> got = TakeMessages(w);
        ASSERT_EQ(got.size(), 1u);
        EXPECT_EQ(got[0].message, static_cast<unsigned>(WM_FONTCHANGE));
        ToviDesktopDestroyWindow(w);
    }
}

// A mutex that cannot be made ends the process after the verification report (its text is
// verification_test's); here the end is trapped.
TEST_F(EngineLifecycle, AMutexThatCannotBeMadeIsReportedAndEndsTheProcess) {
    char folder[] = "/tmp/kannada-tovi-lifecycle-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(folder), 0);
    ToviDesktopTrapFatalExit(1);
    const int exits = ToviDesktopFatalExitCount(), boxes = ToviDesktopMessageBoxCount();
    ToviDesktopFailNext("CreateMutexA");
    EXPECT_EQ(ToviStartKeyboardEngine(0, 1, 1), 0);
    EXPECT_EQ(ToviDesktopFatalExitCount(), exits + 1);
    ToviDesktopTrapFatalExit(0);
    EXPECT_EQ(Shared->mutexHandle, 0);
    EXPECT_EQ(ToviDesktopTrayIconCount(), 0);
    EXPECT_EQ(ToviDesktopMessageBoxCount(), boxes + 1);
    std::stringstream log;
    log << std::ifstream("visQKM.log").rdbuf();
    EXPECT_NE(log.str().find("File: tovidrv, Line: 477"), std::string::npos);
    EXPECT_NE(log.str().find("Error: 5, Access is denied."), std::string::npos);
    std::remove("visQKM.log");
    ASSERT_EQ(chdir(previous), 0);
    rmdir(folder);
    EXPECT_EQ(ToviStartKeyboardEngine(0, 1, 0), 1);  // nothing was left behind
}

}  // namespace
