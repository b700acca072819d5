// tovi-host: starts the Kannada-Tovi keyboard engine, keeps it (and the tray icon's menu)
// running while it dispatches window messages, and stops it when it ends: on WM_QUIT sent to
// its thread, on Ctrl+C or Ctrl+Break, or when its console is closed.
//
//   tovi-host [ENGINE-TYPE [FONT-TYPE [TRAY]]]
//   tovi-host --unicode [ENGINE-TYPE [TRAY]]
//
// ENGINE-TYPE 0 hooks only this program's thread, any other value every thread (default 1);
// FONT-TYPE 0 types the bilingual glyph encoding, any other value the monolingual one
// (default 1); TRAY 0 shows no tray icon (default 1). --unicode types Unicode Kannada into
// every Unicode window instead of glyph codes.
#include <windows.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "kannada-tovi.h"

namespace {

DWORD mainThread = 0;
HANDLE engineStopped = nullptr;

// Runs on a thread of its own: asks the message loop to end, then waits until the engine is
// stopped, because the system ends the process as soon as a close or log-off event returns.
BOOL WINAPI OnConsoleEvent(DWORD) {
    PostThreadMessageA(mainThread, WM_QUIT, 0, 0);
    WaitForSingleObject(engineStopped, 5000);
    return TRUE;
}

bool ParseNumber(const char *text, int *value) {
    char *end = nullptr;
    errno = 0;
    long v = std::strtol(text, &end, 10);
    if (errno || end == text || *end || v < INT_MIN || v > INT_MAX) return false;
    *value = static_cast<int>(v);
    return true;
}

void Usage(FILE *out) {
    std::fputs("usage: tovi-host [ENGINE-TYPE [FONT-TYPE [TRAY]]]\n"
               "       tovi-host --unicode [ENGINE-TYPE [TRAY]]\n"
               "  --unicode    type Unicode Kannada instead of glyph codes\n"
               "  ENGINE-TYPE  0: this program's thread only; other: every thread (default 1)\n"
               "  FONT-TYPE    0: bilingual glyph codes; other: monolingual (default 1)\n"
               "  TRAY         0: no tray icon; other: show it (default 1)\n"
               "Ends with Ctrl+C, by closing its console, or when its thread receives WM_QUIT.\n",
               out);
}

}  // namespace

int main(int argc, char **argv) {
    int values[3] = {1, 1, 1};
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "/?") == 0)) {
        Usage(stdout);
        return 0;
    }
    // The Unicode engine has no font type: its numbers are the engine type and the tray.
    const bool unicode = argc >= 2 && std::strcmp(argv[1], "--unicode") == 0;
    const int first = unicode ? 2 : 1;
    int *slots[3] = {&values[0], unicode ? &values[2] : &values[1], &values[2]};
    if (argc - first > (unicode ? 2 : 3)) {
        Usage(stderr);
        return 2;
    }
    for (int i = first; i < argc; i++) {
        if (!ParseNumber(argv[i], slots[i - first])) {
            std::fprintf(stderr, "tovi-host: not a number: %s\n", argv[i]);
            return 2;
        }
    }

    mainThread = GetCurrentThreadId();
    engineStopped = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    // Makes this thread's message queue before anyone can post WM_QUIT to it.
    MSG msg;
    PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);

    int started = unicode ? ToviStartUnicodeKeyboardEngine(values[0], values[2])
                          : ToviStartKeyboardEngine(values[0], values[1], values[2]);
    if (!started) {
        int error = ToviGetLastError();
        if (error == -1)
            std::fputs("tovi-host: the keyboard engine is already running\n", stderr);
        else
            std::fprintf(stderr, "tovi-host: the keyboard engine did not start (error %d)\n", error);
        return 1;
    }
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
    if (unicode)
        std::printf("tovi-host: Unicode keyboard engine started (engine type %d, tray %s)\n", values[0],
                    values[2] ? "on" : "off");
    else
        std::printf("tovi-host: keyboard engine started (engine type %d, font type %d, tray %s)\n",
                    values[0], values[1], values[2] ? "on" : "off");
    std::fflush(stdout);

    // The tray window belongs to this thread: its menu works while messages are dispatched.
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }

    int stopped = ToviStopKeyboardEngine();
    SetEvent(engineStopped);
    if (!stopped) {
        std::fprintf(stderr, "tovi-host: the keyboard engine did not stop (error %d)\n", ToviGetLastError());
        return 1;
    }
    std::puts("tovi-host: keyboard engine stopped");
    return 0;
}
