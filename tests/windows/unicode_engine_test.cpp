// The engine typing Unicode into a real Unicode EDIT control: each mixed sequence of keys leaves
// the Kannada that the glyph engine types for it, as the bridge converts it (worked out here
// through the DLL's glyph composer and converter); "ki" leaves "ಕಿ"; a Backspace with nothing
// composed erases the control's own character; the stop export stops it.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "../library/support/mixed_sequences.h"
#include "check.h"
#include "engine_lock.h"
#include "pump.h"
#include "kannada-tovi-composer.h"

namespace {

HWND edit = nullptr;

void Key(BYTE vk, DWORD up) { keybd_event(vk, static_cast<BYTE>(MapVirtualKeyA(vk, 0)), up, 0); }

void Type(const std::string &keys) {
    for (char k : keys) {
        bool capital = k >= 'A' && k <= 'Z';
        BYTE vk = k == '\b' ? VK_BACK : k == ' ' ? VK_SPACE : static_cast<BYTE>(capital ? k : k - 32);
        if (capital) Key(VK_SHIFT, 0);
        Key(vk, 0);
        Key(vk, KEYEVENTF_KEYUP);
        if (capital) Key(VK_SHIFT, KEYEVENTF_KEYUP);
        PumpUntilQuiet(10);
    }
}

std::string Text() {
    wchar_t wide[256] = {};
    int n = GetWindowTextW(edit, wide, 256);
    char utf8[1024] = {};
    WideCharToMultiByte(CP_UTF8, 0, wide, n, utf8, sizeof utf8 - 1, nullptr, nullptr);
    return utf8;
}

// What the glyph engine types for the keys (the composer's glyph output applied as the hook
// posts it), converted to Unicode.
typedef ToviComposer *(__cdecl *NewFn)(int, int);
typedef int(__cdecl *FeedFn)(ToviComposer *, int, ToviComposerResult *);
typedef void(__cdecl *FreeFn)(ToviComposer *);
typedef int(__cdecl *ToUnicodeFn)(const char *, char *, unsigned);
NewFn composerNew;
FeedFn composerFeed;
FreeFn composerFree;
ToUnicodeFn glyphToUnicode;

std::string Expected(const std::string &keys) {
    ToviComposer *c = composerNew(TOVI_COMPOSER_MONOLINGUAL, 0);
    std::string glyphs;
    ToviComposerResult r;
    for (char k : keys) {
        if (composerFeed(c, k == '\b' ? 8 : k, &r)) {
            glyphs.resize(glyphs.size() - static_cast<size_t>(r.erase));
            glyphs.append(r.insert, static_cast<size_t>(r.insertLength));
        } else if (k == '\b') {
            if (!glyphs.empty()) glyphs.pop_back();
        } else {
            glyphs.push_back(k);
        }
    }
    composerFree(c);
    char out[1024] = {};
    return glyphToUnicode(glyphs.c_str(), out, sizeof out) > 0 ? out : "";
}

std::string Typed(const std::string &keys) {
    SetWindowTextW(edit, L"");
    Type(keys);
    Type(" ");  // ends the syllable; the space is taken off again
    std::string text = Text();
    return text.empty() ? text : text.substr(0, text.size() - 1);
}

}  // namespace

int main() {
    CHECK(TakeEngineTurn());
    HMODULE dll = LoadLibraryA("Kannada-Tovi.dll");
    CHECK(dll != nullptr);
    if (!dll) return CheckSummary();
    typedef int(__cdecl * StartFn)(int, int);
    typedef int(__stdcall * StartVBFn)(int, int);
    typedef int(__cdecl * IntFn)(void);
    auto start = reinterpret_cast<StartFn>(GetProcAddress(dll, "ToviStartUnicodeKeyboardEngine"));
    auto startVB = reinterpret_cast<StartVBFn>(GetProcAddress(dll, "_ToviStartUnicodeKeyboardEngineVB@8"));
    auto stop = reinterpret_cast<IntFn>(GetProcAddress(dll, "ToviStopKeyboardEngine"));
    auto lastError = reinterpret_cast<IntFn>(GetProcAddress(dll, "ToviGetLastError"));
    auto turnOn = reinterpret_cast<IntFn>(GetProcAddress(dll, "ToviTurnOnScrollLock"));
    auto turnOff = reinterpret_cast<IntFn>(GetProcAddress(dll, "ToviTurnOffScrollLock"));
    composerNew = reinterpret_cast<NewFn>(GetProcAddress(dll, "ToviComposerNew"));
    composerFeed = reinterpret_cast<FeedFn>(GetProcAddress(dll, "ToviComposerFeed"));
    composerFree = reinterpret_cast<FreeFn>(GetProcAddress(dll, "ToviComposerFree"));
    glyphToUnicode = reinterpret_cast<ToUnicodeFn>(GetProcAddress(dll, "ToviMonolingualGlyph2Unicode"));
    CHECK(start && startVB && stop && lastError && turnOn && turnOff && composerNew && composerFeed &&
          composerFree && glyphToUnicode);
    if (!start || !startVB || !stop || !lastError || !turnOn || !turnOff || !composerNew || !composerFeed ||
        !composerFree || !glyphToUnicode)
        return CheckSummary();

    HWND frame = CreateWindowExW(0, L"STATIC", L"Kannada-Tovi Unicode typing", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 10, 10, 420, 120, nullptr, nullptr, nullptr, nullptr);
    edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 10, 10, 380, 28,
                           frame, nullptr, nullptr, nullptr);
    CHECK(frame && edit && IsWindowUnicode(edit));
    SetForegroundWindow(frame);
    SetFocus(edit);
    PumpUntilQuiet(10);
    CHECK(GetFocus() == edit);
    const bool scrollWasOn = (GetKeyState(VK_SCROLL) & 1) != 0;

    CHECK(start(0, 0) == 1);
    CHECK(startVB(0, 0) == 0);
    CHECK(lastError() == -1);
    turnOn();
    PumpUntilQuiet(10);

    CHECK(Typed("ki") == "\xE0\xB2\x95\xE0\xB2\xBF");  // ಕಿ
    for (const char *keys : kMixedSequences) {
        std::string typed = Typed(keys), expected = Expected(keys);
        if (typed != expected) std::printf("%s: typed \"%s\", expected \"%s\"\n", ToviKeys(keys).c_str(), typed.c_str(), expected.c_str());
        CHECK(typed == expected);
    }
    // With nothing composed, Backspace is the control's own and takes one character.
    SetWindowTextW(edit, L"");
    Type("ki \b\b");
    CHECK(Text() == "\xE0\xB2\x95");  // ಕ

    // docs/make-pictures.sh: Kannada typed in a Kannada font and left on screen for a while.
    if (const char *hold = std::getenv("TOVI_PICTURE_HOLD")) {
        HFONT font = CreateFontW(-30, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Lohit Kannada");
        SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        SetWindowLongW(frame, GWL_STYLE, GetWindowLongW(frame, GWL_STYLE) | WS_CLIPCHILDREN);
        SetWindowPos(frame, nullptr, 0, 0, 400, 76, SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
        SetWindowPos(edit, nullptr, 8, 24, 384, 44, SWP_NOZORDER);
        SetWindowTextW(edit, L"");
        Type("beMgaLUru viLAsa");
        SetWindowTextW(frame, L"Typed through ToviStartUnicodeKeyboardEngine");
        DWORD end = GetTickCount() + static_cast<DWORD>(std::atoi(hold));
        while (static_cast<int>(end - GetTickCount()) > 0) PumpUntilQuiet(10);
    }

    // Stopped, the keys are the control's.
    CHECK(stop() == 1);
    SetWindowTextW(edit, L"");
    Type("ki");
    CHECK(Text() == "ki");

    if (!scrollWasOn) turnOff();
    PumpUntilQuiet(10);
    DestroyWindow(frame);
    FreeLibrary(dll);
    return CheckSummary();
}
