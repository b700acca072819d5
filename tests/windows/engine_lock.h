// The keyboard engine is one per desktop: test programs that start it take turns.
#pragma once

#include <windows.h>

// Held until the program ends (the system releases it with the process).
inline bool TakeEngineTurn() {
    HANDLE turn = CreateMutexA(nullptr, FALSE, "Kannada-Tovi tests: engine turn");
    if (!turn) return false;
    DWORD r = WaitForSingleObject(turn, 240000);
    return r == WAIT_OBJECT_0 || r == WAIT_ABANDONED;
}
