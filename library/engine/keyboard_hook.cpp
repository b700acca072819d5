// The keyboard hook, key state and output: the hook procedure, the classification
// of key events, and EmitOutput, the one place where glyph codes leave the engine.
#include "keyboard_hook.h"

#include <cstring>

#include "../convert/glyph_mapping.h"
#include "../include/kannada-tovi.h"
#include "hook_state.h"
#include "shared_state.h"

HHOOK EngineHook = nullptr;
KeyboardOutputState KeyboardOutput;

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

void ResetComposition(ComposerState &s) {
    ClearConjunct(s);
    s.postedCount = 0;
    s.state = kStateBoundary;
    s.keyCount = 0;
    s.joinerPosted = 0;
}

void ClearKeyBuf(ComposerState &s) {
    for (int32_t &k : s.keyBuf) k = 0;
}

bool ClearsKeyBuf(WPARAM vk) {
    return (vk >= VK_SPACE && vk <= VK_DOWN) || vk == VK_RETURN || vk == VK_TAB;
}

}  // namespace

void ResetKeyboardOutput() { std::memset(&KeyboardOutput, 0, sizeof KeyboardOutput); }

// Counts a typed glyph and remembers it at its position in the syllable.
static void RememberTyped(ComposerState &s, uint8_t glyph) {
    if (s.postedCount >= 0 && s.postedCount < kPostedRecord) s.postedGlyphs[s.postedCount] = glyph;
    s.postedCount++;
}

static bool IsTypedJoiner(uint8_t glyph, int bilingual) {
    return bilingual ? glyph == 255 : IsJoinerGlyph(glyph);
}

void PostBackspaces(HWND target, int count) {
    if (count > kMaxSyllableBackspaces) count = kMaxSyllableBackspaces;
    for (int i = 0; i < count; i++) {
        RepairShiftBeforeBackspace();
        PostBackspace(target);
    }
}

void EmitOutput(ComposerState &s) {
    HWND target = GetFocus();
    KeyboardOutputState &k = KeyboardOutput;
    char *out = reinterpret_cast<char *>(s.outBuf + 1);

    if (Shared->fontType != 0) {
        k.convertedToBilingual = 0;
    } else {
        // In place, byte for byte (the result is never longer than outBuf). An empty outBuf
        // leaves the conversion's -4 as the last error, which the host may read.
        ToviMonolingual2BilingualGlyph(out, out, kOutBufSize - 1);
        k.convertedToBilingual = 1;
    }

    if (s.captureMode) {
        for (int i = 1; i <= kOutBufBytes && s.outBuf[i] != 0; i++)
            if (s.captureLength < kCaptureSize - 1) s.capture[s.captureLength++] = s.outBuf[i];
        s.capture[s.captureLength] = 0;
    } else {
        for (int i = 1; i <= kOutBufBytes && s.outBuf[i] != 0; i++) {
            uint8_t b = s.outBuf[i];
            if (b == VK_BACK) {
                RepairShiftBeforeBackspace();
                PostBackspace(target);
                s.postedCount--;
                // The joiner typed before the erased glyph goes with it. The glyphs typed for
                // the syllable are remembered by position, so a chain of several subscripts
                // with a joiner between each pair is erased whole, one joiner per glyph.
                if (s.postedCount > 0 && s.postedCount <= kPostedRecord &&
                    IsTypedJoiner(s.postedGlyphs[s.postedCount - 1], k.convertedToBilingual)) {
                    PostBackspace(target);
                    s.postedCount--;
                }
                s.joinerPosted = 0;
                continue;
            }
            PostMessageA(target, WM_CHAR, b, 1);
            RememberTyped(s, b);
            uint8_t next = s.outBuf[i + 1];  // i + 1 <= kOutBufBytes + 1, always the zero at worst
            uint8_t joiner = 0;
            if (!k.convertedToBilingual) {
                if (IsSubscriptGlyph(b) && IsSubscriptGlyph(next)) joiner = JoinerGlyph(b, next);
            } else if (b >= 219 && b <= 251 && next >= 219) {
                joiner = 255;
            }
            if (joiner) {
                PostMessageA(target, WM_CHAR, joiner, 1);
                RememberTyped(s, joiner);
                s.joinerPosted = 1;
            }
        }
        k.lastTarget = target;
    }

    for (int row = kHistoryRows - 1; row > 0; row--)
        std::memcpy(s.history[row], s.history[row - 1], sizeof s.history[row]);
    std::memcpy(s.history[0], s.outBuf, sizeof s.outBuf);
    std::memset(s.outBuf, 0, sizeof s.outBuf);
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
        s.state = kStateBoundary;
        return kKeyPass;
    case VK_SPACE:
        return kKeyOther;  // key down and key up alike
    default:
        break;
    }
    if (data & (uintptr_t{1} << 31)) return kKeySwallow;  // key up
    if (vk == VK_BACK) return kKeyBackspace;
    if (vk >= 'A' && vk <= 'Z') return kKeyLetter;
    if (vk == VK_RETURN) {
        s.keyCount = 0;
        s.conjCount = 0;
        s.postedCount = 0;
        ClearKeyBuf(s);
    }
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
        ResetComposition(s);
        if (ClearsKeyBuf(vk)) {
            ClearKeyBuf(s);
            PushKey(s, kStateBoundary, static_cast<int>(vk));
        }
        return CallNextHookEx(EngineHook, code, vk, keyData);
    case kKeyLetter:
    case kKeyBackspace:
        break;
    }
    if (Shared->engineType == 0 && KeyboardOutput.lastTarget && KeyboardOutput.lastTarget != focus) {
        s.postedCount = 0;
        s.keyCount = 0;
        ClearConjunct(s);
        PushKey(s, kStateBoundary, ' ');
        ClearKeyBuf(s);
    }
    if (vk == VK_BACK) {
        HandleBackspaceKey(s);
        return 1;
    }
    bool capital = (GetKeyState(VK_CAPITAL) & 1) != 0;
    if (GetKeyState(VK_SHIFT) < 0) capital = !capital;
    HandleLetterKey(s, capital ? static_cast<int>(vk) : static_cast<int>(vk) + 32);
    return 1;
}

extern "C" intptr_t TOVI_STDCALL ToviKBDProc(int code, uintptr_t virtualKey, intptr_t keyData) {
    return RunKeyboardHook(Composer, code, static_cast<WPARAM>(virtualKey), static_cast<LPARAM>(keyData));
}
