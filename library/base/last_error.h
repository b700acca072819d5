// The library's last-error value: one per thread, negative codes only, never cleared by
// success (read through ToviGetLastError).
#pragma once

extern thread_local int LibraryLastError;

enum ToviErrorCode {
    kErrorEngineRunning = -1,
    kErrorHook = -2,
    kErrorDestinationSize = -3,
    kErrorEmptyInput = -4,
    kErrorNoOutput = -5,
    kErrorNoMemory = -6,
    kErrorTooLong = -7,  // a twin refuses a source of more than kTwinSourceLimit bytes
};
