// The engine's start, retarget and stop on the virtual desktop: the single-instance mutex
// (within a process and across processes), the hook scope, the shared switches, the tray icon
// with its menu and dialogs, the font-change broadcast, and a mutex that cannot be made.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "engine/hook_state.h"
#include "base/shared_state.h"
#include "engine/tray.h"
#include "kannada-tovi-desktop.h"
#include "kannada-tovi.h"

namespace {

std::vector<ToviDesktopMessage> TakeAll(void *window) {
    std::vector<ToviDesktopMessage> out;
    ToviDesktopMessage m;
    while (ToviDesktopTakeMessage(window, &m)) out.push_back(m);
    return out;
}

std::vector<int> Characters(void *window) {
    std::vector<int> out;
    for (const ToviDesktopMessage &m : TakeAll(window))
        if (m.message == WM_CHAR) out.push_back(static_cast<int>(m.wParam));
    return out;
}

// A key pressed and released on this thread; 1 when the press was swallowed.
int Press(unsigned vk) {
    int swallowed = ToviDesktopKeyEvent(vk, 0);
    ToviDesktopKeyEvent(vk, 1);
    return swallowed;
}

// The same on a thread of its own.
int PressOnOtherThread(unsigned vk) {
    int swallowed = -1;
    std::thread other([&] { swallowed = Press(vk); });
    other.join();
    return swallowed;
}

// The result of a start made by another process of this desktop (it stops what it started).
int StartInOtherProcess(int engineType, int fontType, int tray) {
    fflush(nullptr);
    pid_t child = fork();
    if (child == 0) {
        int started = ToviStartKeyboardEngine(engineType, fontType, tray);
        int error = ToviGetLastError();
        if (started) ToviStopKeyboardEngine();
        _exit(started ? 10 : 20 - error);  // 10 started, 21 already running, 22 no hook
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Every case has the desktop's engine to itself: test processes of this program run one at
// a time (ctest may start them together), and each starts with the engine stopped.
class EngineLifecycle : public ::testing::Test {
protected:
    void SetUp() override {
        lock = open("/proc/self/exe", O_RDONLY | O_CLOEXEC);
        ASSERT_GE(lock, 0);
        ASSERT_EQ(flock(lock, LOCK_EX), 0);
        ASSERT_EQ(Shared->mutexHandle, 0);
        ASSERT_EQ(ToviDesktopTrayIconCount(), 0);
        box = ToviDesktopCreateWindow("Edit");
        ToviDesktopSetFocus(box);
        ToviDesktopSetToggle(VK_SCROLL, 1);
        ToviResetAllFlags();
    }
    void TearDown() override {
        if (Shared->mutexHandle) ToviStopKeyboardEngine();
        ToviDesktopSetToggle(VK_SCROLL, 0);
        ToviDesktopSetMenuChoice(0);
        ToviDesktopDestroyWindow(box);
        close(lock);
    }
    int lock = -1;
    void *box = nullptr;
};

TEST_F(EngineLifecycle, StartStoresTheSwitchesAndStopClearsThem) {
    ASSERT_EQ(ToviStartKeyboardEngine(0, 1, 0), 1);
    EXPECT_NE(Shared->mutexHandle, 0);
    EXPECT_NE(EngineHook, nullptr);
    EXPECT_EQ(Shared->fontType, 1);
    EXPECT_EQ(Shared->engineType, 0);
    EXPECT_EQ(ToviDesktopTrayIconCount(), 0);
    EXPECT_EQ(ToviGetCurrentFontType(), 1);

    // The hook types: "k" gives 80 192.
    EXPECT_EQ(Press('K'), 1);
    EXPECT_EQ(Characters(box), (std::vector<int>{80, 192}));

    ASSERT_EQ(ToviStopKeyboardEngine(), 1);
    EXPECT_EQ(Shared->mutexHandle, 0);
    EXPECT_EQ(EngineHook, nullptr);
    EXPECT_EQ(Shared->engineType, 0);
    EXPECT_EQ(Shared->fontType, 0);  // bilingual after a stop
    EXPECT_EQ(ToviGetCurrentFontType(), 0);
    // No hook any more: the key reaches the box as itself.
    EXPECT_EQ(Press('K'), 0);
    EXPECT_EQ(Characters(box), (std::vector<int>{'k'}));
}

TEST_F(EngineLifecycle, StopOrRetargetWithoutAStartFailsWithMinusTwo) {
    EXPECT_EQ(ToviStopKeyboardEngine(), 0);
    EXPECT_EQ(ToviGetLastError(), -2);
    EXPECT_EQ(ToviChangeEngineType(1), 0);
    EXPECT_EQ(ToviGetLastError(), -2);

    ASSERT_EQ(ToviStartKeyboardEngine(0, 1, 0), 1);
    ASSERT_EQ(ToviStopKeyboardEngineVB(), 1);
    EXPECT_EQ(ToviStopKeyboardEngineVB(), 0);
    EXPECT_EQ(ToviGetLastError(), -2);
}

TEST_F(EngineLifecycle, ASecondStartFailsAndTheRunningEngineKeepsWorking) {
    ASSERT_EQ(ToviStartKeyboardEngine(0, 1, 0), 1);
    int32_t mutex = Shared->mutexHandle;

    EXPECT_EQ(ToviStartKeyboardEngine(1, 0, 1), 0);
    EXPECT_EQ(ToviGetLastError(), -1);
    // Nothing of the failed start was stored.
    EXPECT_EQ(Shared->mutexHandle, mutex);
    EXPECT_EQ(Shared->fontType, 1);
    EXPECT_EQ(Shared->engineType, 0);
    EXPECT_EQ(Shared->trayIconWanted, 0);
    EXPECT_EQ(ToviDesktopTrayIconCount(), 0);

    EXPECT_EQ(Press('K'), 1);
    EXPECT_EQ(Characters(box), (std::vector<int>{80, 192}));
    EXPECT_EQ(ToviStopKeyboardEngine(), 1);

    // The failed start let go of its handle, so the name is free again.
    EXPECT_EQ(ToviStartKeyboardEngine(0, 1, 0), 1);
    EXPECT_EQ(ToviStopKeyboardEngine(), 1);
}

TEST_F(EngineLifecycle, AnotherProcessCanStartOnlyWhileNoEngineRuns) {
    ASSERT_EQ(ToviStartKeyboardEngine(0, 1, 0), 1);
    int32_t mutex = Shared->mutexHandle;
    EXPECT_EQ(StartInOtherProcess(1, 0, 0), 21);
    // The shared switches are the same copy in every process: the failed start left them.
    EXPECT_EQ(Shared->mutexHandle, mutex);
    EXPECT_EQ(Shared->fontType, 1);
    EXPECT_EQ(Shared->engineType, 0);


    ASSERT_EQ(ToviStopKeyboardEngine(), 1);
    EXPECT_EQ(StartInOtherProcess(1, 0, 0), 10);
}

TEST_F(EngineLifecycle, TheEngineTypeChoosesTheThreadsAndTheFontTypeIsStoredAsGiven) {
    // A start with type 0 hooks only the starting thread, any other type every thread; a
    // retarget hooks every thread only with type 1.
    ASSERT_EQ(ToviStartKeyboardEngine(0, 1, 0), 1);
    EXPECT_EQ(PressOnOtherThread('K'), 0);
    ASSERT_EQ(ToviStopKeyboardEngine(), 1);
    ASSERT_EQ(ToviStartKeyboardEngine(2, 1, 0), 1);
    EXPECT_EQ(PressOnOtherThread('K'), 1);
    for (int type : {2, 1, 0}) {
        ASSERT_EQ(ToviChangeEngineType(type), 1);
        EXPECT_EQ(Shared->engineType, type);
        EXPECT_EQ(PressOnOtherThread('K'), type == 1 ? 1 : 0);
        EXPECT_EQ(Press('K'), 1);
    }
    TakeAll(box);

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

    // A retarget whose hook fails leaves the engine stoppable (and retargetable).
    ToviDesktopFailNext("SetWindowsHookExA");
    EXPECT_EQ(ToviChangeEngineType(1), 0);
    EXPECT_EQ(ToviGetLastError(), -2);
    EXPECT_EQ(EngineHook, nullptr);
    EXPECT_EQ(Press('K'), 0);
    TakeAll(box);
    ASSERT_EQ(ToviChangeEngineType(0), 1);
    EXPECT_EQ(Press('K'), 1);
    TakeAll(box);

    ToviDesktopFailNext("SetWindowsHookExA");
    EXPECT_EQ(ToviChangeEngineType(1), 0);
    EXPECT_EQ(ToviStopKeyboardEngine(), 1);
    EXPECT_EQ(ToviStartKeyboardEngine(0, 1, 0), 1);
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

    // 256 has a zero low byte: no icon.
    ASSERT_EQ(ToviStartKeyboardEngineVB(0, 1, 256), 1);
    EXPECT_EQ(Shared->trayIconWanted, 0);
    EXPECT_EQ(ToviDesktopTrayIconCount(), 0);
}

TEST_F(EngineLifecycle, ClicksOnTheTrayIconOpenTheMenuUnlessADialogIsOpen) {
    // One tray window serves every start of the process.
    ASSERT_EQ(ToviStartKeyboardEngine(0, 1, 1), 1);
    ASSERT_EQ(ToviDesktopTrayIconCount(), 1);
    void *tray = ToviDesktopTrayIconWindow(0);
    ASSERT_EQ(ToviStopKeyboardEngine(), 1);
    ASSERT_EQ(ToviStartKeyboardEngine(0, 1, 1), 1);
    ASSERT_EQ(ToviDesktopTrayIconCount(), 1);
    EXPECT_EQ(ToviDesktopTrayIconWindow(0), tray);
    int menus = ToviDesktopLastMenuCount();

    EXPECT_EQ(ToviDesktopSendMessage(tray, WM_USER, 0, WM_RBUTTONDOWN), 0);
    EXPECT_EQ(ToviDesktopLastMenuCount(), menus + 1);
    EXPECT_EQ(ToviDesktopLastMenuDefault(), 32802);
    EXPECT_EQ(ToviDesktopSendMessage(tray, WM_USER, 0, WM_LBUTTONDOWN), 0);
    EXPECT_EQ(ToviDesktopLastMenuCount(), menus + 2);

    // Other mouse messages of the icon do nothing.
    ToviDesktopSendMessage(tray, WM_USER, 0, 0x0200 /* WM_MOUSEMOVE */);
    ToviDesktopSendMessage(tray, WM_USER, 0, 0x0205 /* WM_RBUTTONUP */);
    EXPECT_EQ(ToviDesktopLastMenuCount(), menus + 2);

    InfoDialogOpen = true;
    ToviDesktopSendMessage(tray, WM_USER, 0, WM_RBUTTONDOWN);
    ToviDesktopSendMessage(tray, WM_USER, 0, WM_LBUTTONDOWN);
    InfoDialogOpen = false;
    EXPECT_EQ(ToviDesktopLastMenuCount(), menus + 2);
}

TEST_F(EngineLifecycle, TheMenuCommandsRunTheirDialogs) {
    ASSERT_EQ(ToviStartKeyboardEngine(0, 1, 1), 1);
    void *tray = ToviDesktopTrayIconWindow(0);
    int dialogs = ToviDesktopDialogCount();

    // The user picks "Keyboard Layout" from the icon's menu.
    ToviDesktopSetMenuChoice(32802);
    ToviDesktopSendMessage(tray, WM_USER, 0, WM_RBUTTONDOWN);
    ASSERT_EQ(ToviDesktopDialogCount(), dialogs + 1);
    EXPECT_EQ(ToviDesktopDialogId(dialogs), 138);
    EXPECT_FALSE(InfoDialogOpen);

    ToviDesktopSendMessage(tray, WM_COMMAND, 32800, 0);
    ASSERT_EQ(ToviDesktopDialogCount(), dialogs + 2);
    EXPECT_EQ(ToviDesktopDialogId(dialogs + 1), 152);

    ToviDesktopSendMessage(tray, WM_COMMAND, 32801, 0);
    EXPECT_EQ(ToviDesktopDialogCount(), dialogs + 2);
    EXPECT_FALSE(InfoDialogOpen);
}

TEST(InfoDialogProc, AnswersInitialisationAndEndsOnAnyCommand) {
    EXPECT_EQ(InfoDialogProc(nullptr, WM_INITDIALOG, 0, 0), TRUE);
    EXPECT_EQ(InfoDialogProc(nullptr, WM_KEYDOWN, 0, 0), FALSE);
    // Run through the platform's modal loop: the dialog ends with 0 whatever the command.
    for (int command : {IDOK, IDCANCEL, 1234}) {
        ToviDesktopSetDialogCommand(command);
        EXPECT_EQ(DialogBoxParamA(LibraryModule, MAKEINTRESOURCEA(138), nullptr, InfoDialogProc, 0), 0);
    }
    ToviDesktopSetDialogCommand(IDOK);
}

TEST(UpdateFonts, TellsEveryTopLevelWindowThatTheFontsChanged) {
    void *first = ToviDesktopCreateWindow("First");
    void *second = ToviDesktopCreateWindow("Second");
    EXPECT_NE(UpdateFonts(), 0);
    for (void *w : {first, second}) {
        std::vector<ToviDesktopMessage> got = TakeAll(w);
        ASSERT_EQ(got.size(), 1u);
        EXPECT_EQ(got[0].message, static_cast<unsigned>(WM_FONTCHANGE));
        EXPECT_EQ(got[0].wParam, 0u);
        EXPECT_EQ(got[0].lParam, 0);
    }
    ToviDesktopDestroyWindow(first);
    ToviDesktopDestroyWindow(second);
}

// A mutex that cannot be made ends the process after the verification report (its text is
// verification_test's); here the end is trapped.
TEST_F(EngineLifecycle, AMutexThatCannotBeMadeIsReportedAndEndsTheProcess) {
    char pattern[] = "/tmp/kannada-tovi-lifecycle-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(pattern), 0);

    ToviDesktopTrapFatalExit(1);
    int exits = ToviDesktopFatalExitCount();
    int boxes = ToviDesktopMessageBoxCount();
    ToviDesktopFailNext("CreateMutexA");
    EXPECT_EQ(ToviStartKeyboardEngine(0, 1, 1), 0);
    EXPECT_EQ(ToviDesktopFatalExitCount(), exits + 1);
    ToviDesktopTrapFatalExit(0);
    EXPECT_EQ(Shared->mutexHandle, 0);
    EXPECT_EQ(ToviDesktopTrayIconCount(), 0);
    EXPECT_EQ(ToviDesktopMessageBoxCount(), boxes + 1);
    std::ifstream in("visQKM.log", std::ios::binary);
    std::stringstream log;
    log << in.rdbuf();
    EXPECT_NE(log.str().find("File: tovidrv, Line: 477"), std::string::npos);
    EXPECT_NE(log.str().find("Error: 5, Access is denied."), std::string::npos);

    std::remove("visQKM.log");
    ASSERT_EQ(chdir(previous), 0);
    rmdir(pattern);
    // Nothing was left behind: the engine starts.
    EXPECT_EQ(ToviStartKeyboardEngine(0, 1, 0), 1);
}

}  // namespace
