#include "process_attach.h"

#include "../base/conversion_data.h"
#include "../base/shared_state.h"
#include "../compose/layout_data.h"
#include "../platform/win32.h"
#include "tray.h"

#ifndef _WIN32
#include "../platform/virtual/desktop.h"

// Off Windows the library is its own module; any non-null handle names it.
HMODULE LibraryModule = reinterpret_cast<HMODULE>(static_cast<uintptr_t>(0x10000000));
#endif

// The results are not looked at: with a data text missing, its tables stay zero and the
// converters and the engine produce nothing that needs them.
void ProcessAttach() {
    AttachSharedEngineState();
    LoadLayoutData();
    LoadConversionData();
    RegisterTrayClass();
}

void ProcessDetach() {
    DetachSharedEngineState();
#ifndef _WIN32
    desktop::CloseDesktopRecord();
#endif
}
