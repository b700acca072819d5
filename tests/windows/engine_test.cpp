// The engine in a real Windows process: it starts for this thread, types into a real EDIT
// control while Scroll Lock is on and lets keys through while it is off, refuses a second
// start, stops once; the tray window runs the icon's menu and the two dialogs from the DLL's
// resources.
#include <windows.h>

#include <cstring>
#include <string>

#include "check.h"
#include "engine_lock.h"

typedef int(__cdecl *StartFn)(int, int, int);
typedef int(__stdcall *StartVBFn)(int, int, int);
typedef int(__cdecl *IntFn)(void);
typedef int(__stdcall *IntVBFn)(void);
typedef void(__cdecl *VoidFn)(void);

namespace {

HWND edit = nullptr;

void Pump(int milliseconds) {
    DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(5);
    } while (static_cast<int>(end - GetTickCount()) > 0);
}

void Press(BYTE vk) {
    BYTE scan = static_cast<BYTE>(MapVirtualKeyA(vk, 0));
    keybd_event(vk, scan, 0, 0);
    Pump(60);
    keybd_event(vk, scan, KEYEVENTF_KEYUP, 0);
    Pump(60);
}

std::string Text() {
    char buffer[64] = {};
    GetWindowTextA(edit, buffer, sizeof buffer);
    return buffer;
}

std::string Bytes(std::initializer_list<int> codes) {
    std::string s;
    for (int c : codes) s.push_back(static_cast<char>(c));
    return s;
}

bool ScrollLockOn() { return (GetKeyState(VK_SCROLL) & 1) != 0; }

// ---- Modal windows of the tray, answered from a timer while their loop runs ----------------

bool menuSeen = false;
bool menuWhileDialog = false;
bool dialogSeen = false;
bool bitmapShown = false;
std::string aboutButton;
const char *dialogCaption = nullptr;

void CALLBACK EndMenuWhenShown(HWND, UINT, UINT_PTR id, DWORD) {
    HWND menu = FindWindowA(MAKEINTATOM(32768), nullptr);
    if (menu && IsWindowVisible(menu)) {
        menuSeen = true;
        KillTimer(nullptr, id);
        EndMenu();
    }
}

void CALLBACK CloseDialogWhenShown(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = FindWindowA(MAKEINTATOM(32770), dialogCaption);
    if (!dialog) return;
    KillTimer(nullptr, id);
    dialogSeen = true;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (SendMessageA(child, STM_GETIMAGE, IMAGE_BITMAP, 0)) bitmapShown = true;
    char text[32] = {};
    if (GetDlgItemTextA(dialog, IDOK, text, sizeof text)) aboutButton = text;
    // A click on the icon while a dialog is open must not open the menu.
    menuSeen = false;
    UINT_PTR guard = SetTimer(nullptr, 0, 100, EndMenuWhenShown);
    HWND tray = FindWindowA("Tovi Tray Class", nullptr);
    SendMessageA(tray, WM_USER, 0, WM_RBUTTONDOWN);
    Pump(300);
    KillTimer(nullptr, guard);
    menuWhileDialog = menuSeen;
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

void CheckResources(HMODULE dll) {
    BITMAP picture = {};
    HBITMAP bitmap = LoadBitmapA(dll, MAKEINTRESOURCEA(140));
    CHECK(bitmap && GetObjectA(bitmap, sizeof picture, &picture));
    CHECK(picture.bmWidth == 735 && picture.bmHeight == 459);
    DeleteObject(bitmap);
    // Loaded, it takes the screen's depth; as stored it has 24 bits a pixel.
    HRSRC stored = FindResourceA(dll, MAKEINTRESOURCEA(140), MAKEINTRESOURCEA(2) /* RT_BITMAP */);
    const BITMAPINFOHEADER *header =
        stored ? static_cast<const BITMAPINFOHEADER *>(LockResource(LoadResource(dll, stored))) : nullptr;
    CHECK(header && header->biWidth == 735 && header->biHeight == 459 && header->biBitCount == 24);

    for (int size : {16, 32}) {
        HICON icon = static_cast<HICON>(LoadImageA(dll, MAKEINTRESOURCEA(104), IMAGE_ICON, size, size, 0));
        ICONINFO info = {};
        BITMAP colour = {};
        CHECK(icon && GetIconInfo(icon, &info));
        CHECK(info.hbmColor && GetObjectA(info.hbmColor, sizeof colour, &colour) && colour.bmWidth == size);
        if (info.hbmColor) DeleteObject(info.hbmColor);
        if (info.hbmMask) DeleteObject(info.hbmMask);
        if (icon) DestroyIcon(icon);
    }

    HMENU menu = LoadMenuA(dll, MAKEINTRESOURCEA(133));
    HMENU file = menu ? GetSubMenu(menu, 0) : nullptr;
    char label[32] = {};
    CHECK(file && GetMenuItemCount(file) == 2);
    CHECK(file && GetMenuItemID(file, 0) == 32800 && GetMenuItemID(file, 1) == 32802);
    CHECK(menu && GetMenuStringA(menu, 0, label, sizeof label, MF_BYPOSITION) && std::string(label) == "&File");
    CHECK(file && GetMenuStringA(file, 32802, label, sizeof label, MF_BYCOMMAND) &&
          std::string(label) == "&Keyboard Layout");
    if (menu) DestroyMenu(menu);

    struct Template {
        int id, width, height;
    };
    for (Template t : {Template{138, 368, 216}, Template{152, 80, 40}, Template{105, 186, 95}}) {
        HRSRC found = FindResourceA(dll, MAKEINTRESOURCEA(t.id), MAKEINTRESOURCEA(5) /* RT_DIALOG */);
        const DLGTEMPLATE *dialog = found ? static_cast<const DLGTEMPLATE *>(LockResource(LoadResource(dll, found))) : nullptr;
        CHECK(dialog && dialog->cx == t.width && dialog->cy == t.height);
    }

    WNDCLASSA tray = {};
    CHECK(GetClassInfoA(dll, "Tovi Tray Class", &tray));
    CHECK((tray.style & (CS_HREDRAW | CS_VREDRAW)) == (CS_HREDRAW | CS_VREDRAW));
}

}  // namespace

int main() {
    CHECK(TakeEngineTurn());
    HMODULE dll = LoadLibraryA("Kannada-Tovi.dll");
    CHECK(dll != nullptr);
    if (!dll) return CheckSummary();

    auto start = reinterpret_cast<StartFn>(GetProcAddress(dll, "ToviStartKeyboardEngine"));
    auto startVB = reinterpret_cast<StartVBFn>(GetProcAddress(dll, "_ToviStartKeyboardEngineVB@12"));
    auto stop = reinterpret_cast<IntFn>(GetProcAddress(dll, "ToviStopKeyboardEngine"));
    auto stopVB = reinterpret_cast<IntVBFn>(GetProcAddress(dll, "_ToviStopKeyboardEngineVB@0"));
    auto lastError = reinterpret_cast<IntFn>(GetProcAddress(dll, "ToviGetLastError"));
    auto turnOn = reinterpret_cast<IntFn>(GetProcAddress(dll, "ToviTurnOnScrollLock"));
    auto turnOff = reinterpret_cast<IntFn>(GetProcAddress(dll, "ToviTurnOffScrollLock"));
    auto reset = reinterpret_cast<VoidFn>(GetProcAddress(dll, "ToviResetAllFlags"));
    auto fontType = reinterpret_cast<IntFn>(GetProcAddress(dll, "ToviGetCurrentFontType"));
    CHECK(start && startVB && stop && stopVB && lastError && turnOn && turnOff && reset && fontType);
    CHECK(GetProcAddress(dll, "ToviChangeEngineType") && GetProcAddress(dll, "ToviChangeFontType") &&
          GetProcAddress(dll, "UpdateFonts"));
    if (!start || !startVB || !stop || !stopVB || !lastError || !turnOn || !turnOff || !reset || !fontType)
        return CheckSummary();

    CheckResources(dll);

    CHECK(stop() == 0);
    CHECK(lastError() == -2);

    HWND frame = CreateWindowExA(0, "STATIC", "Kannada-Tovi engine test", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 10, 10, 400, 120, nullptr, nullptr, nullptr, nullptr);
    edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 10, 10, 360,
                           24, frame, nullptr, nullptr, nullptr);
    CHECK(frame && edit);
    SetForegroundWindow(frame);
    SetFocus(edit);
    Pump(200);
    CHECK(GetFocus() == edit);

    const bool scrollWasOn = ScrollLockOn();

    // The engine for this thread; a second start is refused and changes nothing.
    CHECK(start(0, 1, 0) == 1);
    CHECK(start(1, 0, 0) == 0);
    CHECK(lastError() == -1);
    CHECK(startVB(1, 0, -1) == 0);
    CHECK(lastError() == -1);
    CHECK(fontType() == 1);
    CHECK(FindWindowA("Tovi Tray Class", nullptr) == nullptr);

    // Scroll Lock off: keys pass untouched.
    CHECK(turnOff() == 1);
    Pump(100);
    CHECK(!ScrollLockOn());
    Press('K');
    CHECK(Text() == "k");

    // Scroll Lock on: "k" types 80 192, "k i" erases them and types 81.
    SetWindowTextA(edit, "");
    CHECK(turnOn() == 1);
    Pump(100);
    CHECK(ScrollLockOn());
    CHECK(turnOn() == 1);  // already on: nothing is synthesized
    Pump(100);
    CHECK(ScrollLockOn());
    reset();
    Press('K');
    CHECK(Text() == Bytes({80, 192}));
    Press('I');
    CHECK(Text() == Bytes({81}));

    CHECK(stop() == 1);
    CHECK(fontType() == 0);
    CHECK(stop() == 0);
    CHECK(lastError() == -2);

    // With the engine stopped, Scroll Lock changes nothing.
    SetWindowTextA(edit, "");
    Press('K');
    CHECK(Text() == "k");

    // The tray: a start through the twin with -1 makes the tray window of this thread.
    CHECK(startVB(1, 1, -1) == 1);
    HWND tray = FindWindowA("Tovi Tray Class", nullptr);
    DWORD owner = 0;
    CHECK(tray && GetWindowThreadProcessId(tray, &owner) == GetCurrentThreadId());

    if (tray) {
        // A right click opens the menu (ended here by a timer once it shows).
        menuSeen = false;
        UINT_PTR timer = SetTimer(nullptr, 0, 100, EndMenuWhenShown);
        CHECK(SendMessageA(tray, WM_USER, 0, WM_RBUTTONDOWN) == 0);
        KillTimer(nullptr, timer);
        CHECK(menuSeen);

        // "Keyboard Layout": dialog 138 showing the layout picture; clicks meanwhile do nothing.
        dialogCaption = "Keyboard Layout";
        timer = SetTimer(nullptr, 0, 100, CloseDialogWhenShown);
        SendMessageA(tray, WM_COMMAND, 32802, 0);
        KillTimer(nullptr, timer);
        CHECK(dialogSeen);
        CHECK(bitmapShown);
        CHECK(!menuWhileDialog);

        // "About Tovi...": dialog 152 with its glyph-code button.
        dialogSeen = false;
        dialogCaption = "Tovi 3.0";
        timer = SetTimer(nullptr, 0, 100, CloseDialogWhenShown);
        SendMessageA(tray, WM_COMMAND, 32800, 0);
        KillTimer(nullptr, timer);
        CHECK(dialogSeen);
        CHECK(aboutButton == "M\xA6\xE0U\xC9");
    }
    CHECK(stopVB() == 1);

    // Scroll Lock as it was before the test.
    if (scrollWasOn)
        turnOn();
    else
        turnOff();
    Pump(100);
    CHECK(ScrollLockOn() == scrollWasOn);

    DestroyWindow(frame);
    FreeLibrary(dll);
    return CheckSummary();
}
