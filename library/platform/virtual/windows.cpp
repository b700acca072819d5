// Windows of the virtual desktop: classes, windows, the focus window, message queues,
// message boxes, modal dialogs and popup menus.
//
// Everything here belongs to the process: the desktop is single-threaded in the way a
// Windows user-interface thread is, and a window's messages wait in its queue until the host
// takes them. A window created from a registered class gets its window procedure called for
// sent messages; the host's own windows (ToviDesktopCreateWindow) have none.
#include <strings.h>

#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "../../include/kannada-tovi-desktop.h"
#include "desktop.h"

namespace {

struct Window {
    std::string className;
    WNDPROC proc;
    HWND parent;
    std::deque<ToviDesktopMessage> queue;
    INT_PTR dialogResult;
    bool dialogEnded;
};

struct MessageBoxRecord {
    std::string text, caption;
};

std::recursive_mutex lock;
std::map<uintptr_t, Window> windows;  // key 0 is the thread's own queue
uintptr_t nextWindow = 0x100;
// Built on first use: the library's load-time entry registers its tray class and loads its
// menu before the static objects of this file would be constructed.
std::map<std::string, WNDPROC> &Classes() {
    static std::map<std::string, WNDPROC> classes;
    return classes;
}
HWND focus = nullptr;
HWND foreground = nullptr;

std::vector<MessageBoxRecord> messageBoxes;
int messageBoxAnswer = 0;
std::vector<int> dialogs;
int dialogCommand = IDOK;
int lastMenuDefault = -1;
int menusTracked = 0;
int menuChoice = 0;

Window *Find(HWND w) {
    auto it = windows.find(reinterpret_cast<uintptr_t>(w));
    return it == windows.end() ? nullptr : &it->second;
}

HWND NewWindow(const std::string &className, WNDPROC proc, HWND parent) {
    std::lock_guard<std::recursive_mutex> guard(lock);
    uintptr_t id = nextWindow++;
    windows[id] = Window{className, proc, parent, {}, 0, false};
    return reinterpret_cast<HWND>(id);
}

// Menus are resource numbers with a submenu index; a default item is remembered per menu.
struct Menu {
    int resource;
    int submenu;
    int defaultItem;
};
std::map<uintptr_t, Menu> &Menus() {
    static std::map<uintptr_t, Menu> menus;
    return menus;
}
uintptr_t nextMenu = 0x5000;

}  // namespace

namespace desktop {

WNDPROC WindowProcedure(HWND window) {
    std::lock_guard<std::recursive_mutex> guard(lock);
    Window *w = Find(window);
    return w ? w->proc : nullptr;
}

void ForEachTopLevelWindow(void (*visit)(HWND, void *), void *context) {
    std::vector<HWND> top;
    {
        std::lock_guard<std::recursive_mutex> guard(lock);
        for (auto &kv : windows)
            if (kv.first != 0 && !kv.second.parent) top.push_back(reinterpret_cast<HWND>(kv.first));
    }
    for (HWND w : top) visit(w, context);
}

void QueueMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    std::lock_guard<std::recursive_mutex> guard(lock);
    Window *w = Find(window);
    if (!w) {
        if (window) return;  // a destroyed window loses its messages
        w = &windows[0];
    }
    w->queue.push_back(ToviDesktopMessage{window, message, wParam, lParam});
}

}  // namespace desktop

HWND GetFocus() { return focus; }

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    std::lock_guard<std::recursive_mutex> guard(lock);
    if (window && !Find(window)) {
        SetLastError(1400);  // invalid window handle
        return FALSE;
    }
    desktop::QueueMessage(window, message, wParam, lParam);
    return TRUE;
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window == HWND_BROADCAST) {
        struct Args {
            UINT m;
            WPARAM w;
            LPARAM l;
        } args{message, wParam, lParam};
        desktop::ForEachTopLevelWindow(
            [](HWND w, void *c) {
                auto *a = static_cast<Args *>(c);
                SendMessageA(w, a->m, a->w, a->l);
            },
            &args);
        return TRUE;
    }
    WNDPROC proc = desktop::WindowProcedure(window);
    if (proc) return proc(window, message, wParam, lParam);
    std::lock_guard<std::recursive_mutex> guard(lock);
    if (!Find(window)) return 0;
    desktop::QueueMessage(window, message, wParam, lParam);  // a host window reads it later
    return 0;
}

ATOM RegisterClassA(const WNDCLASSA *windowClass) {
    if (!windowClass || !windowClass->lpszClassName) return 0;
    std::lock_guard<std::recursive_mutex> guard(lock);
    std::string name = windowClass->lpszClassName;
    if (Classes().count(name)) {
        SetLastError(1410);  // class already exists
        return 0;
    }
    Classes()[name] = windowClass->lpfnWndProc;
    return static_cast<ATOM>(0xC000 + Classes().size());
}

HWND CreateWindowExA(DWORD, LPCSTR className, LPCSTR, DWORD, int, int, int, int, HWND parent,
                     HMENU, HINSTANCE, void *) {
    std::lock_guard<std::recursive_mutex> guard(lock);
    if (!className || !Classes().count(className)) {
        SetLastError(1407);  // cannot find window class
        return nullptr;
    }
    return NewWindow(className, Classes()[className], parent);
}

BOOL DestroyWindow(HWND window) {
    std::lock_guard<std::recursive_mutex> guard(lock);
    if (!Find(window)) return FALSE;
    windows.erase(reinterpret_cast<uintptr_t>(window));
    if (focus == window) focus = nullptr;
    if (foreground == window) foreground = nullptr;
    return TRUE;
}

LRESULT DefWindowProcA(HWND, UINT, WPARAM, LPARAM) { return 0; }

HICON LoadIconA(HINSTANCE, LPCSTR name) {
    if (!IS_INTRESOURCE(name)) return nullptr;
    return reinterpret_cast<HICON>(static_cast<uintptr_t>(0x1000 + LOWORD(name)));
}

HMENU LoadMenuA(HINSTANCE, LPCSTR name) {
    if (!IS_INTRESOURCE(name)) return nullptr;
    std::lock_guard<std::recursive_mutex> guard(lock);
    uintptr_t id = nextMenu++;
    Menus()[id] = Menu{LOWORD(name), -1, -1};
    return reinterpret_cast<HMENU>(id);
}

HMENU GetSubMenu(HMENU menu, int position) {
    std::lock_guard<std::recursive_mutex> guard(lock);
    auto it = Menus().find(reinterpret_cast<uintptr_t>(menu));
    if (it == Menus().end() || position != 0) return nullptr;
    uintptr_t id = nextMenu++;
    Menus()[id] = Menu{it->second.resource, position, -1};
    return reinterpret_cast<HMENU>(id);
}

BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT) {
    std::lock_guard<std::recursive_mutex> guard(lock);
    auto it = Menus().find(reinterpret_cast<uintptr_t>(menu));
    if (it == Menus().end()) return FALSE;
    it->second.defaultItem = static_cast<int>(item);
    return TRUE;
}

BOOL TrackPopupMenu(HMENU menu, UINT, int, int, int, HWND owner, const void *) {
    int choice;
    {
        std::lock_guard<std::recursive_mutex> guard(lock);
        auto it = Menus().find(reinterpret_cast<uintptr_t>(menu));
        if (it == Menus().end()) return FALSE;
        lastMenuDefault = it->second.defaultItem;
        menusTracked++;
        choice = menuChoice;
        menuChoice = 0;
    }
    // A picked item reaches the owner as WM_COMMAND, as the platform's menu loop sends it.
    if (choice) SendMessageA(owner, WM_COMMAND, static_cast<WPARAM>(choice), 0);
    return TRUE;
}

BOOL GetCursorPos(LPPOINT point) {
    if (!point) return FALSE;
    point->x = 0;
    point->y = 0;
    return TRUE;
}

BOOL SetForegroundWindow(HWND window) {
    std::lock_guard<std::recursive_mutex> guard(lock);
    if (!Find(window)) return FALSE;
    foreground = window;
    return TRUE;
}

HWND GetForegroundWindow() { return foreground; }
HWND GetActiveWindow() { return foreground; }
HWND GetLastActivePopup(HWND window) { return window; }

int MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type) {
    std::lock_guard<std::recursive_mutex> guard(lock);
    messageBoxes.push_back(MessageBoxRecord{text ? text : "", caption ? caption : "Error"});
    if (messageBoxAnswer) return messageBoxAnswer;
    // The default button: the first button of the box's set.
    switch (type & 0xF) {
    case MB_ABORTRETRYIGNORE: return IDABORT;
    default: return IDOK;
    }
}

INT_PTR DialogBoxParamA(HINSTANCE, LPCSTR templateName, HWND owner, DLGPROC proc,
                        LPARAM initParam) {
    if (!IS_INTRESOURCE(templateName) || !proc) return -1;
    HWND dialog = NewWindow("#32770", nullptr, owner);
    int command;
    {
        std::lock_guard<std::recursive_mutex> guard(lock);
        dialogs.push_back(LOWORD(templateName));
        command = dialogCommand;
    }
    proc(dialog, WM_INITDIALOG, 0, initParam);
    // The modal loop: the user answers with the command the host chose.
    proc(dialog, WM_COMMAND, static_cast<WPARAM>(command), 0);
    INT_PTR result = 0;
    {
        std::lock_guard<std::recursive_mutex> guard(lock);
        Window *w = Find(dialog);
        if (w && w->dialogEnded) result = w->dialogResult;
    }
    DestroyWindow(dialog);
    return result;
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
    std::lock_guard<std::recursive_mutex> guard(lock);
    Window *w = Find(dialog);
    if (!w) return FALSE;
    w->dialogEnded = true;
    w->dialogResult = result;
    return TRUE;
}

extern "C" {

void *ToviDesktopCreateWindow(const char *className) {
    return NewWindow(className ? className : "", nullptr, nullptr);
}

void ToviDesktopDestroyWindow(void *window) { DestroyWindow(static_cast<HWND>(window)); }

void ToviDesktopSetFocus(void *window) {
    std::lock_guard<std::recursive_mutex> guard(lock);
    focus = Find(static_cast<HWND>(window)) ? static_cast<HWND>(window) : nullptr;
    if (focus) foreground = focus;
}

void *ToviDesktopGetFocus(void) { return focus; }

int ToviDesktopTakeMessage(void *window, ToviDesktopMessage *out) {
    std::lock_guard<std::recursive_mutex> guard(lock);
    Window *w = window ? Find(static_cast<HWND>(window)) : &windows[0];
    if (!w || w->queue.empty()) return 0;
    if (out) *out = w->queue.front();
    w->queue.pop_front();
    return 1;
}

intptr_t ToviDesktopSendMessage(void *window, unsigned int message, uintptr_t wParam,
                                intptr_t lParam) {
    return SendMessageA(static_cast<HWND>(window), message, wParam, lParam);
}

int ToviDesktopMessageBoxCount(void) {
    std::lock_guard<std::recursive_mutex> guard(lock);
    return static_cast<int>(messageBoxes.size());
}

const char *ToviDesktopMessageBoxText(int index) {
    std::lock_guard<std::recursive_mutex> guard(lock);
    if (index < 0 || index >= static_cast<int>(messageBoxes.size())) return nullptr;
    return messageBoxes[index].text.c_str();
}

const char *ToviDesktopMessageBoxCaption(int index) {
    std::lock_guard<std::recursive_mutex> guard(lock);
    if (index < 0 || index >= static_cast<int>(messageBoxes.size())) return nullptr;
    return messageBoxes[index].caption.c_str();
}

void ToviDesktopSetMessageBoxAnswer(int answer) { messageBoxAnswer = answer; }

int ToviDesktopDialogCount(void) {
    std::lock_guard<std::recursive_mutex> guard(lock);
    return static_cast<int>(dialogs.size());
}

int ToviDesktopDialogId(int index) {
    std::lock_guard<std::recursive_mutex> guard(lock);
    if (index < 0 || index >= static_cast<int>(dialogs.size())) return 0;
    return dialogs[index];
}

void ToviDesktopSetDialogCommand(int command) { dialogCommand = command; }

int ToviDesktopLastMenuDefault(void) { return lastMenuDefault; }
int ToviDesktopLastMenuCount(void) { return menusTracked; }
void ToviDesktopSetMenuChoice(int command) { menuChoice = command; }

}  // extern "C"
