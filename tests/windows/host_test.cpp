// tovi-host: starts the engine from its command line, keeps it running while it dispatches
// messages, refuses to run beside another engine, and stops the engine when its thread
// receives WM_QUIT.
#include <windows.h>

#include <string>

#include "check.h"
#include "engine_lock.h"
#include "pump.h"

namespace {

const char kEngineMutex[] = "Kannada Tovi 2.0";

struct Host {
    PROCESS_INFORMATION process = {};
    bool started = false;
};

Host Launch(const std::string &arguments) {
    Host host;
    std::string command = "tovi-host.exe " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    host.started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                  &startup, &host.process) != 0;
    return host;
}

// The exit code, or STILL_ACTIVE when it did not end in time.
DWORD WaitForExit(Host &host, DWORD milliseconds) {
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(host.process.hProcess, milliseconds) == WAIT_OBJECT_0)
        GetExitCodeProcess(host.process.hProcess, &code);
    return code;
}

void Close(Host &host) {
    if (!host.started) return;
    if (WaitForSingleObject(host.process.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(host.process.hProcess, 99);
    CloseHandle(host.process.hThread);
    CloseHandle(host.process.hProcess);
}

bool EngineRunning() {
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, kEngineMutex);
    if (!mutex) return false;
    CloseHandle(mutex);
    return true;
}

// Waits until the host has started its engine (or ended).
bool WaitForEngine(Host &host) {
    for (int i = 0; i < 400; i++) {
        if (EngineRunning()) return true;
        if (WaitForSingleObject(host.process.hProcess, 25) == WAIT_OBJECT_0) return false;
    }
    return false;
}

// Posts WM_QUIT to the host's thread; its queue exists once the engine runs.
bool Quit(Host &host) {
    for (int i = 0; i < 200; i++) {
        if (PostThreadMessageA(host.process.dwThreadId, WM_QUIT, 0, 0)) return true;
        Sleep(25);
    }
    return false;
}

void Press(BYTE vk) {
    keybd_event(vk, static_cast<BYTE>(MapVirtualKeyA(vk, 0)), 0, 0);
    keybd_event(vk, static_cast<BYTE>(MapVirtualKeyA(vk, 0)), KEYEVENTF_KEYUP, 0);
    PumpUntilQuiet(50);
}

// Types the keys (capital letters: their keys) with Scroll Lock on into an EDIT control of
// this program and returns what it holds.
std::wstring TypedInOwnWindow(const char *keys) {
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 60, nullptr,
                                nullptr, nullptr, nullptr);
    SetForegroundWindow(edit);
    SetFocus(edit);
    const bool scrollWasOn = (GetKeyState(VK_SCROLL) & 1) != 0;
    if (!scrollWasOn) Press(VK_SCROLL);
    for (const char *k = keys; *k; k++) Press(static_cast<BYTE>(*k));
    if (!scrollWasOn) Press(VK_SCROLL);
    wchar_t text[64] = {};
    GetWindowTextW(edit, text, 64);
    DestroyWindow(edit);
    return text;
}

}  // namespace

int main() {
    CHECK(TakeEngineTurn());
    CHECK(!EngineRunning());

    // Bad command lines: status 2, nothing started.
    for (const char *bad : {"one", "1 1 1 1", "1 x"}) {
        Host host = Launch(bad);
        CHECK(host.started);
        CHECK(WaitForExit(host, 30000) == 2);
        Close(host);
    }
    CHECK(!EngineRunning());

    // A host with the engine for every thread and a tray window.
    Host first = Launch("1 1 1");
    CHECK(first.started);
    CHECK(WaitForEngine(first));
    HWND tray = nullptr;
    for (int i = 0; i < 200 && !tray; i++, Sleep(25)) tray = FindWindowA("Tovi Tray Class", nullptr);
    DWORD trayProcess = 0;
    CHECK(tray && GetWindowThreadProcessId(tray, &trayProcess) == first.process.dwThreadId);

    // A second host is refused while the first runs.
    Host second = Launch("0 1 0");
    CHECK(second.started);
    CHECK(WaitForExit(second, 30000) == 1);
    Close(second);
    CHECK(EngineRunning());

    // WM_QUIT ends the first host, which stops its engine on the way out.
    CHECK(Quit(first));
    CHECK(WaitForExit(first, 30000) == 0);
    Close(first);
    CHECK(!EngineRunning());

    // The engine can be started again afterwards, without a tray window this time.
    Host third = Launch("0 0 0");
    CHECK(third.started);
    CHECK(WaitForEngine(third));
    CHECK(Quit(third));
    CHECK(WaitForExit(third, 30000) == 0);
    Close(third);
    CHECK(!EngineRunning());

    // --unicode: the Unicode engine for every thread types Kannada into this program's own
    // Unicode EDIT control.
    Host unicode = Launch("--unicode 1 0");
    CHECK(unicode.started);
    CHECK(WaitForEngine(unicode));
    CHECK(TypedInOwnWindow("KI") == L"\x0C95\x0CBF");  // ಕಿ
    CHECK(Quit(unicode));
    CHECK(WaitForExit(unicode, 30000) == 0);
    Close(unicode);
    CHECK(!EngineRunning());
    Host tooMany = Launch("--unicode 1 0 1");
    CHECK(WaitForExit(tooMany, 30000) == 2);
    Close(tooMany);

    return CheckSummary();
}
