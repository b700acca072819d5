// What the programs that run under Wine share (no test framework is built for the Windows
// targets): checks that print their place, the library's exports bound by name, the engine's
// turn, a message pump, keys pressed as a person presses them, and a text box with the focus.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

inline int checksFailed = 0;

#define CHECK(condition)                                                               \
    do {                                                                               \
        if (!(condition)) {                                                            \
            checksFailed++;                                                            \
            std::printf("%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
        }                                                                              \
    } while (0)

inline int CheckSummary() {
    std::printf("%d checks failed\n", checksFailed);
    return checksFailed == 0 ? 0 : 1;
}

// An export of the DLL by its name; a missing one fails.
template <typename T>
T Bind(HMODULE dll, const char *name) {
    T f = dll ? reinterpret_cast<T>(GetProcAddress(dll, name)) : nullptr;
    if (!f) std::printf("missing export %s\n", name), checksFailed++;
    return f;
}

// The keyboard engine is one per desktop: programs that start it take turns. The turn is held
// until the program ends.
inline bool TakeEngineTurn() {
    HANDLE turn = CreateMutexA(nullptr, FALSE, "Kannada-Tovi tests: engine turn");
    DWORD r = turn ? WaitForSingleObject(turn, 240000) : WAIT_FAILED;
    return r == WAIT_OBJECT_0 || r == WAIT_ABANDONED;
}

// Dispatches this thread's messages until none has come for a while: what the engine posts or
// injects comes back through the queue after the key that made it.
inline void PumpUntilQuiet(DWORD quietMilliseconds = 10) {
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, quietMilliseconds, QS_ALLINPUT) == WAIT_TIMEOUT) return;
    }
}

// Pumps until the condition holds, at most two seconds; whether it holds.
template <typename F>
bool PumpUntil(F done) {
    for (DWORD end = GetTickCount() + 2000; !done(); PumpUntilQuiet())
        if (static_cast<int>(end - GetTickCount()) < 0) return false;
    return true;
}

inline void Press(BYTE vk, DWORD up) { keybd_event(vk, static_cast<BYTE>(MapVirtualKeyA(vk, 0)), up, 0); }

// Types the keys: a small letter is its key, a capital its key with Shift, "\b" Backspace.
inline void Type(const std::string &keys) {
    for (char k : keys) {
        bool capital = k >= 'A' && k <= 'Z';
        BYTE vk = k == '\b' ? VK_BACK : k == ' ' ? VK_SPACE : static_cast<BYTE>(capital ? k : k - 32);
        if (capital) Press(VK_SHIFT, 0);
        Press(vk, 0);
        Press(vk, KEYEVENTF_KEYUP);
        if (capital) Press(VK_SHIFT, KEYEVENTF_KEYUP);
        PumpUntilQuiet();
    }
}

// A window holding an EDIT control that has the focus: an ANSI one holds bytes, a Unicode one
// is read as UTF-8.
struct TextBox {
    HWND frame, edit;
    bool unicode;
    TextBox(bool unicodeControl, const wchar_t *title) : unicode(unicodeControl) {
        frame = CreateWindowExW(0, L"STATIC", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 420, 120, nullptr,
                                nullptr, nullptr, nullptr);
        const DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL;
        edit = unicode ? CreateWindowExW(0, L"EDIT", L"", style, 10, 10, 380, 28, frame, nullptr, nullptr, nullptr)
                       : CreateWindowExA(0, "EDIT", "", style, 10, 10, 380, 28, frame, nullptr, nullptr, nullptr);
        // The focus may come back late to a window of before: asked again until it stays.
        PumpUntil([this] {
            if (GetFocus() == edit) return true;
            SetForegroundWindow(frame);
            SetFocus(edit);
            return false;
        });
        PumpUntilQuiet(50);
    }
    ~TextBox() { DestroyWindow(frame); }
    void Clear() { SetWindowTextW(edit, L""); }
    std::string Text() const {
        char text[1024] = {};
        if (!unicode) {
            GetWindowTextA(edit, text, sizeof text);
        } else {
            wchar_t wide[256] = {};
            int n = GetWindowTextW(edit, wide, 256);
            WideCharToMultiByte(CP_UTF8, 0, wide, n, text, sizeof text - 1, nullptr, nullptr);
        }
        return text;
    }
};
