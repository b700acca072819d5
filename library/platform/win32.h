// The Win32 subset the library calls. On Windows these are the real functions; elsewhere the
// library carries a virtual desktop that models them (virtual/), so the engine code is the same.
#pragma once

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <shellapi.h>
#else
#include "virtual/win32_subset.h"
#endif

// The module handle of the library itself, kept by the process-attach entry.
extern HMODULE LibraryModule;
