// The typing exports: reset, key engine and font type of the composer, and the
// output exports (ToviSendCharacters, the Scroll Lock switches).
#include "../base/shared_state.h"
#include "../include/kannada-tovi.h"
#include "../platform/win32.h"
#include "keyboard_hook.h"
#include "unicode_typing.h"

namespace {

constexpr LPARAM kBackspaceData = static_cast<LPARAM>(0xC00E0001u);

// One Scroll Lock press when the toggle is not already as wanted.
int SetScrollLock(bool on) {
    bool toggled = (GetKeyState(VK_SCROLL) & 1) != 0;
    if (toggled != on) {
        keybd_event(VK_SCROLL, 0x45, KEYEVENTF_EXTENDEDKEY, 0);
        keybd_event(VK_SCROLL, 0x45, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP, 0);
    }
    return 1;
}

}  // namespace

extern "C" {

void TOVI_CDECL ToviResetAllFlags(void) {
    ResetAllFlags(Composer);
    ResetUnicodeTyping();
}

void TOVI_STDCALL ToviResetAllFlagsVB(void) { ToviResetAllFlags(); }

// The hook of every process reads the switch at each key.
void TOVI_CDECL ToviSetKeyEngine(void) { Shared->keyEngineSwitch = 1; }

int TOVI_CDECL ToviGetCurrentFontType(void) { return Shared->fontType != 0 ? 1 : 0; }

int TOVI_CDECL ToviSendCharacters(const char *s) {
    if (!s || !s[0]) return 1;
    HWND target = GetFocus();
    for (const unsigned char *p = reinterpret_cast<const unsigned char *>(s) + 1; *p; p++) {
        if (*p == VK_BACK) {
            PostMessageA(target, WM_KEYDOWN, VK_BACK, kBackspaceData);
            PostMessageA(target, WM_CHAR, VK_BACK, kBackspaceData);
        } else {
            PostMessageA(target, WM_CHAR, *p, 1);
        }
    }
    return 1;
}

int TOVI_CDECL ToviTurnOnScrollLock(void) { return SetScrollLock(true); }
int TOVI_CDECL ToviTurnOffScrollLock(void) { return SetScrollLock(false); }
int TOVI_STDCALL ToviTurnOnScrollLockVB(void) { return SetScrollLock(true); }
int TOVI_STDCALL ToviTurnOffScrollLockVB(void) { return SetScrollLock(false); }

}  // extern "C"
