// Keyboard input of the virtual desktop: the key state with its toggle bits, the keyboard hook
// chain, synthesized key events and the translation of passed keys into messages.
//
// A key event runs the hook chain first, newest hook first, each hook deciding whether to call
// the next one; a non-zero result swallows the event. Then the thread's key state takes the
// event, and a key that was not swallowed reaches the focus window as WM_KEYDOWN or WM_KEYUP,
// a key down that types a character also as WM_CHAR. When another process of the desktop holds
// a global hook, the library's own hook procedure runs here too, with no hook handle, as the
// platform runs a hooking library in every process that receives keys.
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

#include "../../include/kannada-tovi-desktop.h"
#include "../../include/kannada-tovi-us-keyboard.h"
#include "desktop.h"

namespace {

struct Hook {
    uintptr_t id;
    HOOKPROC proc;
    DWORD threadId;  // 0: every thread
};

struct DesktopShared {
    int32_t globalHookProcess;
    int32_t reserved[15];
};

std::recursive_mutex lock;
std::vector<Hook> hooks;  // oldest first
uintptr_t nextHook = 0x7000;
HOOKPROC libraryHook = nullptr;
BYTE keyState[256];
BYTE asyncDown[256];

// The chain being run on this thread: the procedures and the position of the running one.
struct Chain {
    std::vector<HOOKPROC> procs;
    size_t position;
};
thread_local Chain *currentChain = nullptr;

DesktopShared *sharedRecord = nullptr;

DesktopShared *Shared() {
    if (!sharedRecord) {
        static const DesktopShared initial{};
        sharedRecord = static_cast<DesktopShared *>(
            desktop::OpenSharedSection("desktop", sizeof(DesktopShared), &initial));
    }
    return sharedRecord;
}

bool OtherProcessHooksGlobally() {
    DesktopShared *s = Shared();
    if (!s) return false;
    int32_t pid = s->globalHookProcess;
    return pid != 0 && pid != getpid() && kill(pid, 0) == 0;
}

LRESULT RunFrom(Chain &chain, int code, WPARAM wParam, LPARAM lParam) {
    if (chain.position >= chain.procs.size()) return 0;
    return chain.procs[chain.position](code, wParam, lParam);
}

unsigned ScanCode(unsigned vk) {
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    static const unsigned char letterScan[] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17,
                                               0x24, 0x25, 0x26, 0x32, 0x31, 0x18, 0x19, 0x10, 0x13,
                                               0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};
    if (vk >= 'A' && vk <= 'Z') return letterScan[std::strchr(letters, static_cast<int>(vk)) - letters];
    if (vk >= '1' && vk <= '9') return 2 + (vk - '1');
    switch (vk) {
    case '0': return 0x0B;
    case VK_BACK: return 0x0E;
    case VK_TAB: return 0x0F;
    case VK_RETURN: return 0x1C;
    case VK_CONTROL: return 0x1D;
    case VK_SHIFT: return 0x2A;
    case VK_MENU: return 0x38;
    case VK_SPACE: return 0x39;
    case VK_CAPITAL: return 0x3A;
    case VK_ESCAPE: return 0x01;
    case VK_SCROLL: return 0x46;
    default: return 0;
    }
}

// The character a key types on a US layout, or 0.
int Translate(unsigned vk) {
    bool shift = keyState[VK_SHIFT] & 0x80;
    bool caps = keyState[VK_CAPITAL] & 0x01;
    if (keyState[VK_CONTROL] & 0x80) return vk >= 'A' && vk <= 'Z' ? static_cast<int>(vk - 64) : 0;
    if (vk >= 'A' && vk <= 'Z') return (shift != caps) ? static_cast<int>(vk) : static_cast<int>(vk + 32);
    if (int c = ToviUsKeyboard::DigitOrPunctuation(vk, shift)) return c;
    switch (vk) {
    case VK_SPACE: return ' ';
    case VK_RETURN: return '\r';
    case VK_TAB: return '\t';
    case VK_BACK: return 8;
    case VK_ESCAPE: return 27;
    default: return 0;
    }
}

bool IsExtended(unsigned vk) {
    return (vk >= VK_PRIOR && vk <= VK_DOWN) || vk == VK_INSERT || vk == VK_DELETE ||
           vk == VK_LWIN || vk == VK_RWIN;
}

// Runs one key event through the chain and the key state; true when a hook swallowed it.
bool KeyEvent(unsigned vk, bool up, bool extended, unsigned scan) {
    vk &= 0xFF;
    bool wasDown = asyncDown[vk];
    asyncDown[vk] = up ? 0 : 1;
    LPARAM data = 1 | (static_cast<LPARAM>(scan & 0xFF) << 16);
    if (extended || IsExtended(vk)) data |= 1L << 24;
    if (asyncDown[VK_MENU] && vk != VK_MENU) data |= 1L << 29;
    if (wasDown || up) data |= 1L << 30;
    if (up) data |= static_cast<LPARAM>(1UL << 31);

    Chain chain{{}, 0};
    {
        std::lock_guard<std::recursive_mutex> guard(lock);
        DWORD me = GetCurrentThreadId();
        for (auto it = hooks.rbegin(); it != hooks.rend(); ++it)
            if (it->threadId == 0 || it->threadId == me) chain.procs.push_back(it->proc);
        if (libraryHook && OtherProcessHooksGlobally() &&
            std::find(chain.procs.begin(), chain.procs.end(), libraryHook) == chain.procs.end())
            chain.procs.push_back(libraryHook);
    }
    Chain *outer = currentChain;
    currentChain = &chain;
    LRESULT result = RunFrom(chain, HC_ACTION, vk, data);
    currentChain = outer;

    if (up) {
        keyState[vk] &= static_cast<BYTE>(~0x80);
    } else {
        keyState[vk] |= 0x80;
        keyState[vk] ^= 0x01;
    }
    if (result != 0) return true;
    HWND target = GetFocus();
    if (target) {
        desktop::QueueMessage(target, up ? WM_KEYUP : WM_KEYDOWN, vk, data);
        int ch = up ? 0 : Translate(vk);
        if (ch) desktop::QueueMessage(target, WM_CHAR, static_cast<WPARAM>(ch), data);
    }
    return false;
}

}  // namespace

namespace desktop {

void RegisterLibraryHook(HOOKPROC proc) { libraryHook = proc; }

void CloseDesktopRecord() {
    if (!sharedRecord) return;
    PublishGlobalHook(false);
    desktop::CloseSharedSection(sharedRecord);
    sharedRecord = nullptr;
}

void PublishGlobalHook(bool installed) {
    DesktopShared *s = Shared();
    if (!s) return;
    if (installed)
        s->globalHookProcess = getpid();
    else if (s->globalHookProcess == getpid())
        s->globalHookProcess = 0;
}

}  // namespace desktop

HHOOK SetWindowsHookExA(int idHook, HOOKPROC proc, HINSTANCE, DWORD threadId) {
    if (idHook != WH_KEYBOARD || !proc || desktop::TakeInjectedFailure("SetWindowsHookExA")) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::lock_guard<std::recursive_mutex> guard(lock);
    uintptr_t id = nextHook++;
    hooks.push_back(Hook{id, proc, threadId});
    if (threadId == 0) desktop::PublishGlobalHook(true);
    return reinterpret_cast<HHOOK>(id);
}

BOOL UnhookWindowsHookEx(HHOOK hook) {
    std::lock_guard<std::recursive_mutex> guard(lock);
    auto it = std::find_if(hooks.begin(), hooks.end(),
                           [&](const Hook &h) { return h.id == reinterpret_cast<uintptr_t>(hook); });
    if (it == hooks.end()) {
        SetLastError(1404);  // invalid hook handle
        return FALSE;
    }
    bool global = it->threadId == 0;
    hooks.erase(it);
    if (global && std::none_of(hooks.begin(), hooks.end(), [](const Hook &h) { return h.threadId == 0; }))
        desktop::PublishGlobalHook(false);
    return TRUE;
}

// Continues the chain that is running on this thread, whatever handle the caller knows.
LRESULT CallNextHookEx(HHOOK, int code, WPARAM wParam, LPARAM lParam) {
    Chain *chain = currentChain;
    if (!chain) return 0;
    chain->position++;
    LRESULT r = RunFrom(*chain, code, wParam, lParam);
    return r;
}

SHORT GetKeyState(int virtualKey) {
    BYTE s = keyState[virtualKey & 0xFF];
    return static_cast<SHORT>((s & 0x80) ? (0xFF80 | (s & 0x01)) : (s & 0x01));
}

SHORT GetAsyncKeyState(int virtualKey) {
    return static_cast<SHORT>(asyncDown[virtualKey & 0xFF] ? 0x8000 : 0);
}

BOOL GetKeyboardState(BYTE *state) {
    if (!state) return FALSE;
    std::memcpy(state, keyState, sizeof keyState);
    return TRUE;
}

BOOL SetKeyboardState(BYTE *state) {
    if (!state) return FALSE;
    std::memcpy(keyState, state, sizeof keyState);
    return TRUE;
}

void keybd_event(BYTE virtualKey, BYTE scanCode, DWORD flags, ULONG_PTR) {
    KeyEvent(virtualKey, flags & KEYEVENTF_KEYUP, flags & KEYEVENTF_EXTENDEDKEY, scanCode);
}

extern "C" {

int ToviDesktopKeyEvent(unsigned int virtualKey, int keyUp) {
    return KeyEvent(virtualKey, keyUp != 0, false, ScanCode(virtualKey & 0xFF)) ? 1 : 0;
}

int ToviDesktopGetKeyState(unsigned int virtualKey) { return keyState[virtualKey & 0xFF]; }

void ToviDesktopSetToggle(unsigned int virtualKey, int on) {
    BYTE &s = keyState[virtualKey & 0xFF];
    s = static_cast<BYTE>(on ? (s | 0x01) : (s & ~0x01));
}

}  // extern "C"
