// The values every process that loads the library shares.
#pragma once

#include <cstdint>

// Seven aligned 32-bit words: written by the exports of whichever process calls them, read by
// the hook in every process. No locks: a reader sees the old value or the new one.
struct SharedEngineState {
    int32_t mutexHandle;      // the single-instance mutex as the starting process knows it; 0 stopped
    int32_t fontType;         // 0 bilingual glyph encoding, non-zero monolingual
    int32_t engineType;       // hook scope: 0 the starting thread, non-zero every thread
    int32_t trayIconWanted;   // the start asked for a tray icon
    int32_t keyEngineSwitch;  // the long-a key is "a"; never cleared
    int32_t shiftFixPending;  // a thread's Shift entry must be put back at the next key event
    int32_t unicode;          // the engine types Unicode Kannada, not glyph codes
};

// Points at the one shared copy once the process has attached it; before that (and in test
// programs that never attach) at a private copy with the same initial contents.
extern SharedEngineState *Shared;

// Maps the shared copy (off Windows, where a shared data section does it by itself).
void AttachSharedEngineState();
void DetachSharedEngineState();
