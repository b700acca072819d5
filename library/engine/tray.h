// The hidden tray window of the engine: its class, the notification icon, the icon's menu and
// the two information dialogs.
#pragma once

#include "../platform/win32.h"

// Resource numbers of the library (kannada-tovi.rc).
enum TrayResource {
    kTrayIconResource = 104,
    kTrayMenuResource = 133,
    kLayoutDialogResource = 138,
    kLayoutBitmapResource = 140,
    kAboutDialogResource = 152,
};

// Commands of the icon's menu.
enum TrayCommand {
    kCommandAbout = 32800,
    kCommandKeyboardLayout = 32802,
};

constexpr UINT kTrayIconId = 1025;
constexpr UINT kTrayCallbackMessage = WM_USER;
extern const char kTrayClassName[];
extern const char kTrayTip[];

// At process attach, in every process: loads the icon and the menu, registers the class.
void RegisterTrayClass();
// Makes the tray window (once per process) and adds the icon; RemoveTrayIcon deletes it.
void CreateTrayIcon();
void RemoveTrayIcon();

LRESULT CALLBACK TrayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK InfoDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Set while an information dialog runs; clicks on the icon are ignored meanwhile.
extern bool InfoDialogOpen;
