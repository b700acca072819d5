// Dispatches this thread's messages until none has come for a while: what the engine injects
// comes back through the queue after the key that made it.
#pragma once

#include <windows.h>

inline void PumpUntilQuiet(DWORD quietMilliseconds) {
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, quietMilliseconds, QS_ALLINPUT) == WAIT_TIMEOUT) return;
    }
}
