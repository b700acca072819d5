#include "last_error.h"

#include "../include/kannada-tovi.h"

thread_local int LibraryLastError = 0;

extern "C" int TOVI_CDECL ToviGetLastError(void) { return LibraryLastError; }
