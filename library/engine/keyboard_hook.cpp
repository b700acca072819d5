// The keyboard hook: the hook procedure, the classification of key events, and the posting
// of the composer's actions, the one place where glyph codes leave the engine.
#include "keyboard_hook.h"

#include <cstring>

#include "../base/last_error.h"
#include "../base/shared_state.h"
#include "../include/kannada-tovi.h"
#include "hook_state.h"
#include "unicode_typing.h"

HHOOK EngineHook = nullptr;
KeyboardOutputState KeyboardOutput;
// Constant-initialised (state 1, typing's joiners), so it is ready before any load-time code.
ComposerState Composer = {{0, 0, 1}, kStateBoundary, {}, 0, 0, {}, {}, {}, {}, 0, 0, {}, {}};

namespace {

// Backspace as the platform would post it: repeat count 1, scan code 14, previous-state and
// transition bits set.
constexpr LPARAM kBackspaceData = static_cast<LPARAM>(0xC00E0001u);

void PostBackspace(HWND target) {
    PostMessageA(target, WM_KEYDOWN, VK_BACK, kBackspaceData);
    PostMessageA(target, WM_CHAR, VK_BACK, kBackspaceData);
}

// The posted Backspace must not arrive as Shift+Backspace: while Shift is down, the thread's
// Shift entry is altered until the next key event (ClassifyKey step 6) puts it back.
void RepairShiftBeforeBackspace() {
    if (Shared->shiftFixPending) return;
    KeyboardOutputState &k = KeyboardOutput;
    GetKeyboardState(k.savedKeyboard);
    k.haveSavedKeyboard = 1;
    SHORT shift = GetKeyState(VK_SHIFT);
    k.savedShift = k.savedKeyboard[VK_SHIFT];
    if (k.savedShift > 1 && shift < 0) {
        k.savedKeyboard[VK_SHIFT] = shift == -127 ? 0 : 1;
        Shared->shiftFixPending = 1;
        SetKeyboardState(k.savedKeyboard);
    }
}

bool ClearsKeyBuf(WPARAM vk) {
    return (vk >= VK_SPACE && vk <= VK_DOWN) || vk == VK_RETURN || vk == VK_TAB;
}

}  // namespace

void ResetKeyboardOutput() { std::memset(&KeyboardOutput, 0, sizeof KeyboardOutput); }

void PostActions(HWND target, const ComposerActions &actions) {
    for (int i = 0; i < actions.erase; i++) {
        RepairShiftBeforeBackspace();
        PostBackspace(target);
    }
    for (int i = 0; i < actions.insertLength; i++) PostMessageA(target, WM_CHAR, actions.insert[i], 1);
}

KeyClass ClassifyKey(ComposerState &s, int code, WPARAM vk, LPARAM keyData) {
    const uintptr_t data = static_cast<uintptr_t>(keyData);
    if (!(GetKeyState(VK_SCROLL) & 1)) return kKeyPass;
    if (code < 0) return kKeyPass;
    if (data & (uintptr_t{1} << 29)) return kKeyPass;  // Alt is down
    if (GetKeyState(VK_CONTROL) < 0) return kKeyPass;
    if (vk >= VK_F1 && vk <= VK_F12) return kKeyPass;

    if (Shared->shiftFixPending) {
        KeyboardOutputState &k = KeyboardOutput;
        // Only a state that this process saved is put back: the flag is shared, the state not.
        if (k.haveSavedKeyboard && GetAsyncKeyState(VK_SHIFT) < 0) {
            k.savedKeyboard[VK_SHIFT] = k.savedShift;
            SetKeyboardState(k.savedKeyboard);
        }
        Shared->shiftFixPending = 0;
    }

    switch (vk) {
    case VK_SHIFT: case VK_PAUSE: case VK_CAPITAL: case VK_ESCAPE: case VK_SNAPSHOT:
    case VK_INSERT: case VK_DELETE: case VK_LWIN: case VK_RWIN: case VK_SCROLL:
        return kKeyPass;
    case VK_CONTROL: case VK_MENU:
        BreakSyllable(s);
        return kKeyPass;
    case VK_SPACE:
        return kKeyOther;  // key down and key up alike
    default:
        break;
    }
    if (data & (uintptr_t{1} << 31)) return kKeySwallow;  // key up
    if (vk == VK_BACK) return kKeyBackspace;
    if (vk >= 'A' && vk <= 'Z') return kKeyLetter;
    return kKeyOther;
}

LRESULT RunKeyboardHook(ComposerState &s, int code, WPARAM vk, LPARAM keyData) {
    HWND focus = GetFocus();
    switch (ClassifyKey(s, code, vk, keyData)) {
    case kKeyPass:
        return CallNextHookEx(EngineHook, code, vk, keyData);
    case kKeySwallow:
        return 1;
    case kKeyOther:
        // The key is the last one the state machine remembers; one that ends no word as a space
        // (a key's code can be a letter's: the number pad's are).
        EndSyllable(s, ClearsKeyBuf(vk) ? static_cast<int>(vk) : ' ');
        return CallNextHookEx(EngineHook, code, vk, keyData);
    case kKeyLetter:
    case kKeyBackspace:
        break;
    }
    // Each key composes with the switches every process shares.
    s.options.bilingual = Shared->fontType == 0;
    s.options.keyEngine = Shared->keyEngineSwitch != 0;
    s.options.joiners = 1;
    if (Shared->engineType == 0 && KeyboardOutput.lastTarget && KeyboardOutput.lastTarget != focus)
        EndSyllable(s, ' ');
    if (vk == VK_BACK) {
        if (!HandleBackspaceKey(s)) {
            // No syllable to take back: the Backspace reaches the window as one.
            RepairShiftBeforeBackspace();
            PostBackspace(focus);
            return 1;
        }
    } else {
        bool capital = (GetKeyState(VK_CAPITAL) & 1) != 0;
        if (GetKeyState(VK_SHIFT) < 0) capital = !capital;
        HandleLetterKey(s, capital ? static_cast<int>(vk) : static_cast<int>(vk) + 32);
    }
    PostActions(focus, s.actions);
    if (s.actions.emissions > 0) KeyboardOutput.lastTarget = focus;
    // The output step of the bilingual font type leaves -4 when it had nothing to type, as the
    // conversion it runs does.
    if (s.options.bilingual && s.actions.emptyEmissions > 0) LibraryLastError = kErrorEmptyInput;
    return 1;
}

extern "C" intptr_t TOVI_STDCALL ToviKBDProc(int code, uintptr_t virtualKey, intptr_t keyData) {
    if (Shared->unicode) return RunUnicodeHook(code, static_cast<WPARAM>(virtualKey), static_cast<LPARAM>(keyData));
    return RunKeyboardHook(Composer, code, static_cast<WPARAM>(virtualKey), static_cast<LPARAM>(keyData));
}
