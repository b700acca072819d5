// The keyboard hook, key state and output.
#pragma once

#include "../platform/win32.h"
#include "composer.h"

enum KeyClass { kKeyPass, kKeyLetter, kKeySwallow, kKeyOther, kKeyBackspace };

// The per-process values of the output, besides the composer.
struct KeyboardOutputState {
    BYTE savedKeyboard[256];    // the thread's keyboard state saved before a Shift repair
    BYTE savedShift;            // its Shift entry as it was
    int32_t haveSavedKeyboard;  // this process saved a state (the repair uses only its own)
    int32_t convertedToBilingual;
    HWND lastTarget;            // the focus window that last received output
};

extern KeyboardOutputState KeyboardOutput;
void ResetKeyboardOutput();

// More Backspaces than any syllable of the key buffer types: a count past it is a fault of
// the bookkeeping and is cut to it.
constexpr int kMaxSyllableBackspaces = 255;

// Posts `count` Backspaces to `target` (none when count is not positive, at most
// kMaxSyllableBackspaces), each after the Shift repair of EmitOutput.
void PostBackspaces(HWND target, int count);

KeyClass ClassifyKey(ComposerState &s, int code, WPARAM virtualKey, LPARAM keyData);

// ToviKBDProc on a given composer.
LRESULT RunKeyboardHook(ComposerState &s, int code, WPARAM virtualKey, LPARAM keyData);
