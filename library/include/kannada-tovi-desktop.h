/*
 * The virtual desktop of Kannada-Tovi (Linux and other non-Windows builds).
 *
 * Off Windows the library carries a small in-process model of the desktop services its engine
 * uses: windows with a focus window and a message queue each, the 256-byte key state with toggle
 * bits, the keyboard hook chain, named mutexes that other processes see, resources compiled into
 * the library, tray-icon records and message boxes that record what they showed. A host (the
 * tovi tool, the address book, the tests) drives it through these calls. Windows are opaque
 * handles; a null window stands for the calling thread's own queue.
 */
#ifndef KANNADA_TOVI_DESKTOP_H
#define KANNADA_TOVI_DESKTOP_H

#include "kannada-tovi.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct ToviDesktopMessage {
    void *window;
    unsigned int message; /* WM_KEYDOWN 0x100, WM_KEYUP 0x101, WM_CHAR 0x102, ... */
    uintptr_t wParam;
    intptr_t lParam;
} ToviDesktopMessage;

/* Windows and focus. A window made here has no window procedure: what is posted or sent to
 * it waits in its queue for the host. */
TOVI_EXPORT void *ToviDesktopCreateWindow(const char *className);
TOVI_EXPORT void ToviDesktopDestroyWindow(void *window);
TOVI_EXPORT void ToviDesktopSetFocus(void *window);
TOVI_EXPORT void *ToviDesktopGetFocus(void);
/* Takes the oldest message of the window's queue; 1 when there was one. */
TOVI_EXPORT int ToviDesktopTakeMessage(void *window, ToviDesktopMessage *out);

/* Keyboard. A key event runs the hook chain as the platform would; when no hook swallows it,
 * WM_KEYDOWN or WM_KEYUP (and WM_CHAR for a key down that types a character, US layout) is
 * queued to the focus window. Returns 1 when a hook swallowed the event. */
TOVI_EXPORT int ToviDesktopKeyEvent(unsigned int virtualKey, int keyUp);
/* Key state as GetKeyState reads it: bit 0x80 down, bit 0x01 toggled. */
TOVI_EXPORT int ToviDesktopGetKeyState(unsigned int virtualKey);
TOVI_EXPORT void ToviDesktopSetToggle(unsigned int virtualKey, int on);

/* Resources compiled into the library. Replacing (data non-null) or removing (data null) one
 * lets a host exercise the paths for changed or missing data. Names are resource names; an
 * integer resource is named "#104". ToviDesktopRestoreResources puts back the built-in set. */
TOVI_EXPORT int ToviDesktopSetResource(const char *type, const char *name, const void *data,
                                       unsigned long size);
TOVI_EXPORT void ToviDesktopRestoreResources(void);

/* Message boxes shown so far (oldest first) and the answer the next ones give (0: the
 * default button). */
TOVI_EXPORT int ToviDesktopMessageBoxCount(void);
TOVI_EXPORT const char *ToviDesktopMessageBoxText(int index);
TOVI_EXPORT const char *ToviDesktopMessageBoxCaption(int index);
TOVI_EXPORT void ToviDesktopSetMessageBoxAnswer(int answer);

/* Dialogs run so far (their resource numbers, oldest first); a modal dialog is answered at
 * once with the command given here (default IDOK, 1). */
TOVI_EXPORT int ToviDesktopDialogCount(void);
TOVI_EXPORT int ToviDesktopDialogId(int index);
TOVI_EXPORT void ToviDesktopSetDialogCommand(int command);

/* The popup menu tracked last: its default command (or -1 when none was tracked), and the
 * command the next tracked menu picks (0: the user dismisses it). */
TOVI_EXPORT int ToviDesktopLastMenuDefault(void);
TOVI_EXPORT int ToviDesktopLastMenuCount(void);
TOVI_EXPORT void ToviDesktopSetMenuChoice(int command);

/* Tray icons present now: count, and the tip, identifier and window of one. */
TOVI_EXPORT int ToviDesktopTrayIconCount(void);
TOVI_EXPORT const char *ToviDesktopTrayIconTip(int index);
TOVI_EXPORT unsigned int ToviDesktopTrayIconId(int index);
TOVI_EXPORT void *ToviDesktopTrayIconWindow(int index);

/* Sends a message to a window as the platform would (to its window procedure). */
TOVI_EXPORT intptr_t ToviDesktopSendMessage(void *window, unsigned int message, uintptr_t wParam,
                                            intptr_t lParam);

/* Fault injection for tests: the next call of the named platform function fails
 * ("CreateMutexA", "SetWindowsHookExA", "LoadResource"). FatalExit, when trapped, records its
 * call instead of ending the process. */
TOVI_EXPORT void ToviDesktopFailNext(const char *function);
TOVI_EXPORT void ToviDesktopTrapFatalExit(int trap);
TOVI_EXPORT int ToviDesktopFatalExitCount(void);
/* Whether the module "netmsg.dll" (network error texts) is present. */
TOVI_EXPORT void ToviDesktopSetModulePresent(const char *name, int present);

#ifdef __cplusplus
}
#endif

#endif /* KANNADA_TOVI_DESKTOP_H */
