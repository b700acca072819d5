// The verification facility: turns a failed internal check into a report for the user and,
// when not interactive, into two lines appended to "visQKM.log" in the current directory.
#pragma once

#include "../platform/win32.h"

// Reports a failed check at file:line of a build made on date at time. Returns 1 when the
// caller should stop (abort, or the debugger break was taken; always when not interactive),
// 0 when the user chose to ignore it.
int ReportVerificationFailure(const char *file, int line, const char *date, const char *time,
                              int interactive);

// Copies the system text of an error code into buffer (zero-terminated, cut at a character
// boundary when too long). Returns the number of bytes copied, or 0 when there is no text.
DWORD FormatSystemMessage(DWORD code, char *buffer, DWORD size);

// An information box owned by the foreground window, captioned "VisQKM".
void ShowInternalError(const char *text);
