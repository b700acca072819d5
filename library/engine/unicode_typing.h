// The engine typing Unicode Kannada: the hook's keys go to a composer with UTF-8 output, and
// its actions reach the focus window as UTF-16 characters and Backspaces.
#pragma once

#include "../platform/win32.h"

// ToviKBDProc while the engine types Unicode.
LRESULT RunUnicodeHook(int code, WPARAM virtualKey, LPARAM keyData);

// Forgets the syllable of this process's Unicode composer.
void ResetUnicodeTyping();
