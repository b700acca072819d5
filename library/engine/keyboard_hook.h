// The keyboard hook: key classification, the process's composer, and the posting of its
// actions to the focus window.
#pragma once

#include "../compose/composer.h"
#include "../platform/win32.h"

enum KeyClass { kKeyPass, kKeyLetter, kKeySwallow, kKeyOther, kKeyBackspace };

// The process's composer, the one the hook and the typing exports use. Its options are taken
// from the shared engine state at every key.
extern ComposerState Composer;

// The per-process values of the output, besides the composer.
struct KeyboardOutputState {
    BYTE savedKeyboard[256];    // the thread's keyboard state saved before a Shift repair
    BYTE savedShift;            // its Shift entry as it was
    int32_t haveSavedKeyboard;  // this process saved a state (the repair uses only its own)
    HWND lastTarget;            // the focus window that last received output
};

extern KeyboardOutputState KeyboardOutput;
void ResetKeyboardOutput();

// Posts what a key's actions ask for to `target`: the erasures as Backspaces (each after the
// Shift repair), then the codes as characters.
void PostActions(HWND target, const ComposerActions &actions);

KeyClass ClassifyKey(ComposerState &s, int code, WPARAM virtualKey, LPARAM keyData);

// ToviKBDProc on a given composer.
LRESULT RunKeyboardHook(ComposerState &s, int code, WPARAM virtualKey, LPARAM keyData);
