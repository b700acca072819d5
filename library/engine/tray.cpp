#include "tray.h"

#include <cstring>

const char kTrayClassName[] = "Tovi Tray Class";
const char kTrayTip[] = "Tovi 3.0";

bool InfoDialogOpen = false;

namespace {

HICON trayIcon = nullptr;
HMENU trayMenu = nullptr;
HWND trayWindow = nullptr;
NOTIFYICONDATAA iconRecord;

// The first layout of the record (88 bytes on 32-bit Windows), which every shell accepts.
DWORD IconRecordSize() {
#ifdef NOTIFYICONDATAA_V1_SIZE
    return NOTIFYICONDATAA_V1_SIZE;
#else
    return sizeof(NOTIFYICONDATAA);
#endif
}

void RunInfoDialog(int resource) {
    InfoDialogOpen = true;
    DialogBoxParamA(LibraryModule, MAKEINTRESOURCEA(resource), nullptr, InfoDialogProc, 0);
    InfoDialogOpen = false;
}

void ShowTrayMenu(HWND window) {
    POINT cursor{};
    GetCursorPos(&cursor);
    SetForegroundWindow(window);
    HMENU popup = GetSubMenu(trayMenu, 0);
    if (!popup) return;
    SetMenuDefaultItem(popup, kCommandKeyboardLayout, FALSE);
    TrackPopupMenu(popup, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, window, nullptr);
}

}  // namespace

void RegisterTrayClass() {
    trayIcon = LoadIconA(LibraryModule, MAKEINTRESOURCEA(kTrayIconResource));
    trayMenu = LoadMenuA(LibraryModule, MAKEINTRESOURCEA(kTrayMenuResource));
    WNDCLASSA windowClass;
    std::memset(&windowClass, 0, sizeof windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = TrayWindowProc;
    windowClass.hInstance = LibraryModule;
    windowClass.lpszClassName = kTrayClassName;
    RegisterClassA(&windowClass);
}

void CreateTrayIcon() {
    // The window outlives a stop; a later start with a tray icon uses it again.
    if (!trayWindow)
        trayWindow = CreateWindowExA(0, kTrayClassName, "", WS_OVERLAPPEDWINDOW, 0, 0, 0, 0, nullptr,
                                     nullptr, LibraryModule, nullptr);
    if (!trayWindow) return;
    std::memset(&iconRecord, 0, sizeof iconRecord);
    iconRecord.cbSize = IconRecordSize();
    iconRecord.hWnd = trayWindow;
    iconRecord.uID = kTrayIconId;
    iconRecord.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    iconRecord.uCallbackMessage = kTrayCallbackMessage;
    iconRecord.hIcon = trayIcon;
    std::strncpy(iconRecord.szTip, kTrayTip, sizeof iconRecord.szTip - 1);
    Shell_NotifyIconA(NIM_ADD, &iconRecord);
}

void RemoveTrayIcon() { Shell_NotifyIconA(NIM_DELETE, &iconRecord); }

LRESULT CALLBACK TrayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (wParam == kCommandKeyboardLayout)
            RunInfoDialog(kLayoutDialogResource);
        else if (wParam == kCommandAbout)
            RunInfoDialog(kAboutDialogResource);
        break;
    case kTrayCallbackMessage:
        if (InfoDialogOpen || (lParam != WM_LBUTTONDOWN && lParam != WM_RBUTTONDOWN)) break;
        ShowTrayMenu(window);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

INT_PTR CALLBACK InfoDialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return TRUE;
    case WM_COMMAND:
        EndDialog(dialog, 0);
        return TRUE;
    default: return FALSE;
    }
}
