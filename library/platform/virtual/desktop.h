// Internals shared by the pieces of the virtual desktop.
#pragma once

#include <cstddef>
#include <string>

#include "win32_subset.h"

namespace desktop {

// The name that keeps one desktop's cross-process objects apart from another's: the value of
// TOVI_DESKTOP when set (tests give each run its own), else one per user.
std::string Namespace();

// A block of memory that every process of the same desktop maps as one copy. The first process
// to open it copies `initial` in; when the last one closes it, it is gone, and the next open
// starts again from `initial`.
void *OpenSharedSection(const char *tag, size_t size, const void *initial);
void CloseSharedSection(void *section);

// True once when a host asked the next call of `function` to fail.
bool TakeInjectedFailure(const char *function);

// The hook procedure of the library itself: the platform runs it in every process while a
// global hook is installed by another process, as Windows maps a hooking library everywhere.
void RegisterLibraryHook(HOOKPROC proc);

// Closes the desktop's shared record when the library unloads.
void CloseDesktopRecord();

// Marks a global hook of this process in the desktop's shared record (or clears it).
void PublishGlobalHook(bool installed);

// Window procedure of a window (null for host windows).
WNDPROC WindowProcedure(HWND window);
// Top-level windows, for broadcasts.
void ForEachTopLevelWindow(void (*visit)(HWND, void *), void *context);
// Queues a message to a window (null: the thread's queue).
void QueueMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace desktop
