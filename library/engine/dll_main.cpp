// The library's entry: Windows calls DllMain in every process that maps the library (the
// host, and every process whose keyboard input a global hook watches); elsewhere the shared
// object's constructor stands in for the process-attach call.
#include "../include/kannada-tovi.h"
#include "../platform/win32.h"
#include "process_attach.h"

#ifdef _WIN32

HMODULE LibraryModule = nullptr;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    LibraryModule = instance;
    if (reason == DLL_PROCESS_ATTACH) ProcessAttach();
    return TRUE;
}

#else

#include "../platform/virtual/desktop.h"

// The hook procedure is registered with the virtual desktop, which runs it in this process
// while another process holds a global hook, as Windows maps a hooking library everywhere.
__attribute__((constructor)) static void LibraryLoaded() {
    ProcessAttach();
    desktop::RegisterLibraryHook(ToviKBDProc);
}
__attribute__((destructor)) static void LibraryUnloaded() { ProcessDetach(); }

#endif
