// The notification area of the virtual desktop: a list of the icons added and not deleted.
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "../../include/kannada-tovi-desktop.h"
#include "desktop.h"

namespace {

struct TrayIcon {
    HWND window;
    UINT id;
    UINT callback;
    HICON icon;
    std::string tip;
};

std::mutex lock;
std::vector<TrayIcon> icons;

std::vector<TrayIcon>::iterator Find(HWND window, UINT id) {
    for (auto it = icons.begin(); it != icons.end(); ++it)
        if (it->window == window && it->id == id) return it;
    return icons.end();
}

}  // namespace

BOOL Shell_NotifyIconA(DWORD message, NOTIFYICONDATAA *data) {
    if (!data || data->cbSize < sizeof(NOTIFYICONDATAA)) return FALSE;
    std::lock_guard<std::mutex> guard(lock);
    auto it = Find(data->hWnd, data->uID);
    switch (message) {
    case NIM_ADD:
        if (it != icons.end()) return FALSE;
        icons.push_back(TrayIcon{data->hWnd, data->uID, 0, nullptr, ""});
        it = icons.end() - 1;
        break;
    case NIM_MODIFY:
        if (it == icons.end()) return FALSE;
        break;
    case NIM_DELETE:
        if (it == icons.end()) return FALSE;
        icons.erase(it);
        return TRUE;
    default: return FALSE;
    }
    if (data->uFlags & NIF_MESSAGE) it->callback = data->uCallbackMessage;
    if (data->uFlags & NIF_ICON) it->icon = data->hIcon;
    if (data->uFlags & NIF_TIP) it->tip.assign(data->szTip, strnlen(data->szTip, sizeof data->szTip));
    return TRUE;
}

extern "C" {

int ToviDesktopTrayIconCount(void) {
    std::lock_guard<std::mutex> guard(lock);
    return static_cast<int>(icons.size());
}

const char *ToviDesktopTrayIconTip(int index) {
    std::lock_guard<std::mutex> guard(lock);
    return index >= 0 && index < static_cast<int>(icons.size()) ? icons[index].tip.c_str() : nullptr;
}

unsigned int ToviDesktopTrayIconId(int index) {
    std::lock_guard<std::mutex> guard(lock);
    return index >= 0 && index < static_cast<int>(icons.size()) ? icons[index].id : 0;
}

void *ToviDesktopTrayIconWindow(int index) {
    std::lock_guard<std::mutex> guard(lock);
    return index >= 0 && index < static_cast<int>(icons.size()) ? icons[index].window : nullptr;
}

}  // extern "C"
