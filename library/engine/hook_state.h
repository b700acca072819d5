// The hook handle as this process knows it: set by the engine's start (tovidrv) in the process
// that installed the hook, null in every other process. The hook procedure passes it to
// CallNextHookEx.
#pragma once

#include "../platform/win32.h"

extern HHOOK EngineHook;
