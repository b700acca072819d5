// The engine's start and stop: the single-instance mutex, the keyboard hook for one thread or
// every thread, the tray icon, and the switches a host changes while the engine runs.
#include <cstdint>

#include "../base/last_error.h"
#include "../base/shared_state.h"
#include "../include/kannada-tovi.h"
#include "../platform/win32.h"
#include "hook_state.h"
#include "tray.h"
#include "verification.h"

namespace {

const char kEngineMutexName[] = "Kannada Tovi 2.0";

// The mutex handle this process got from its own start; null in every other process.
HANDLE ownMutex = nullptr;

HHOOK InstallHook(bool everyThread) {
    // The export is declared with the header's integer types; 32-bit Windows spells the same
    // hook signature with long.
    return SetWindowsHookExA(WH_KEYBOARD, reinterpret_cast<HOOKPROC>(ToviKBDProc), LibraryModule,
                             everyThread ? 0 : GetCurrentThreadId());
}

// Handles are 32-bit values even in 64-bit processes, so the shared word holds one as it is.
int32_t HandleWord(HANDLE handle) {
    return static_cast<int32_t>(reinterpret_cast<intptr_t>(handle));
}

int StartEngine(int engineType, int fontType, int showTrayIcon, bool unicode) {
    SetLastError(0);
    HANDLE mutex = CreateMutexA(nullptr, TRUE, kEngineMutexName);
    if (!mutex) {
        if (ReportVerificationFailure("tovidrv", 477, __DATE__, __TIME__, 0)) FatalExit(0);
        return 0;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        // Keeping this handle would keep the name alive after the running engine stops, and
        // every later start would fail.
        CloseHandle(mutex);
        LibraryLastError = kErrorEngineRunning;
        return 0;
    }

    HHOOK hook = InstallHook(engineType != 0);
    if (!hook) {
        // Without a hook there is no engine to stop, so the mutex must not stay owned.
        ReleaseMutex(mutex);
        CloseHandle(mutex);
        LibraryLastError = kErrorHook;
        return 0;
    }
    ownMutex = mutex;
    Shared->mutexHandle = HandleWord(mutex);
    EngineHook = hook;

    Shared->fontType = fontType;
    Shared->engineType = engineType;
    Shared->trayIconWanted = showTrayIcon;
    Shared->unicode = unicode ? 1 : 0;
    if (showTrayIcon) CreateTrayIcon();
    return 1;
}

}  // namespace

extern "C" {

int TOVI_CDECL ToviStartKeyboardEngine(int engineType, int fontType, int showTrayIcon) {
    return StartEngine(engineType, fontType, showTrayIcon, false);
}

// The Unicode engine composes as the monolingual font type does (its UTF-8 is the bridge's
// conversion of monolingual glyphs), so that is the font type it reports.
int TOVI_CDECL ToviStartUnicodeKeyboardEngine(int engineType, int showTrayIcon) {
    return StartEngine(engineType, 1, showTrayIcon, true);
}

int TOVI_STDCALL ToviStartUnicodeKeyboardEngineVB(int engineType, int showTrayIcon) {
    return ToviStartUnicodeKeyboardEngine(engineType, showTrayIcon);
}

int TOVI_STDCALL ToviStartKeyboardEngineVB(int engineType, int fontType, int showTrayIcon) {
    return ToviStartKeyboardEngine(engineType, fontType, static_cast<unsigned char>(showTrayIcon));
}

int TOVI_CDECL ToviChangeEngineType(int engineType) {
    // A failed retarget leaves no hook; the starting process may still try again.
    if (!ownMutex) {
        LibraryLastError = kErrorHook;
        return 0;
    }
    if (EngineHook) UnhookWindowsHookEx(EngineHook);
    Shared->engineType = engineType;
    // Unlike a start, only type 1 means every thread here.
    EngineHook = InstallHook(engineType == 1);
    if (!EngineHook) {
        LibraryLastError = kErrorHook;
        return 0;
    }
    return 1;
}

int TOVI_CDECL ToviChangeFontType(int fontType) {
    Shared->fontType = fontType;
    return 1;
}

int TOVI_CDECL ToviStopKeyboardEngine(void) {
    if (Shared->mutexHandle == 0 || !ownMutex) {
        LibraryLastError = kErrorHook;
        return 0;
    }
    RemoveTrayIcon();
    ReleaseMutex(ownMutex);
    CloseHandle(ownMutex);
    ownMutex = nullptr;
    Shared->mutexHandle = 0;
    if (EngineHook) UnhookWindowsHookEx(EngineHook);
    EngineHook = nullptr;
    Shared->trayIconWanted = 0;
    Shared->engineType = 0;
    Shared->fontType = 0;
    Shared->unicode = 0;
    return 1;
}

int TOVI_STDCALL ToviStopKeyboardEngineVB(void) { return ToviStopKeyboardEngine(); }

intptr_t TOVI_CDECL UpdateFonts(void) { return SendMessageA(HWND_BROADCAST, WM_FONTCHANGE, 0, 0); }

}  // extern "C"
