// tovi-host: starts the engine from its command line, keeps it running while it dispatches
// messages, refuses to run beside another engine, and stops the engine when its thread
// receives WM_QUIT.
#include "wine_test.h"

namespace {

struct Host {
    PROCESS_INFORMATION process = {};
    bool started = false;

    explicit Host(std::string arguments) {
        std::string command = "tovi-host.exe " + arguments;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                 &process) != 0;
        CHECK(started);
    }
    ~Host() {
        if (!started) return;
        if (WaitForSingleObject(process.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 99);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }

    // The exit code, or STILL_ACTIVE when it did not end in time.
    DWORD Exit() {
        DWORD code = STILL_ACTIVE;
        if (started && WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0)
            GetExitCodeProcess(process.hProcess, &code);
        return code;
    }

    // Posts WM_QUIT to the host's thread (its queue exists once the engine runs) and waits.
    DWORD Quit() {
        for (int i = 0; i < 200 && !PostThreadMessageA(process.dwThreadId, WM_QUIT, 0, 0); i++) Sleep(25);
        return Exit();
    }
};

bool EngineRunning() {
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, "Kannada Tovi 2.0");
    if (mutex) CloseHandle(mutex);
    return mutex != nullptr;
}

// Waits until the host has started its engine (or ended).
bool WaitForEngine(Host &host) {
    for (int i = 0; i < 400; i++) {
        if (EngineRunning()) return true;
        if (WaitForSingleObject(host.process.hProcess, 25) == WAIT_OBJECT_0) return false;
    }
    return false;
}

}  // namespace

int main() {
    CHECK(TakeEngineTurn());
    CHECK(!EngineRunning());
    for (const char *bad : {"one", "1 1 1 1", "1 x", "--unicode 1 0 1"}) CHECK(Host(bad).Exit() == 2);
    CHECK(!EngineRunning());

    {
        // A host with the engine for every thread and a tray window of its thread; a second
        // host is refused while it runs; WM_QUIT ends it, and it stops its engine.
        Host first("1 1 1");
        CHECK(WaitForEngine(first));
        HWND tray = nullptr;
        for (int i = 0; i < 200 && !tray; i++, Sleep(25)) tray = FindWindowA("Tovi Tray Class", nullptr);
        DWORD process = 0;
        CHECK(tray && GetWindowThreadProcessId(tray, &process) == first.process.dwThreadId);
        CHECK(Host("0 1 0").Exit() == 1);
        CHECK(EngineRunning());
        CHECK(first.Quit() == 0);
        CHECK(!EngineRunning());
    }
    {
        // --unicode: the Unicode engine for every thread types Kannada into this program's own
        // Unicode EDIT control.
        Host unicode("--unicode 1 0");
        CHECK(WaitForEngine(unicode));
        TextBox box(true, L"tovi-host test");
        const bool scrollWasOn = (GetKeyState(VK_SCROLL) & 1) != 0;
        if (!scrollWasOn) Press(VK_SCROLL, 0), Press(VK_SCROLL, KEYEVENTF_KEYUP);
        Type("ki");
        if (!scrollWasOn) Press(VK_SCROLL, 0), Press(VK_SCROLL, KEYEVENTF_KEYUP);
        PumpUntilQuiet(100);
        CHECK(box.Text() == "\xE0\xB2\x95\xE0\xB2\xBF");  // ಕಿ
        CHECK(unicode.Quit() == 0);
        CHECK(!EngineRunning());
    }
    return CheckSummary();
}
