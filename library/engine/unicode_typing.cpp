// The engine typing Unicode Kannada. Each process whose keys the hook sees keeps one composer
// with UTF-8 output (made at its first key, never per key); a key's erasures become Backspaces
// and its text UTF-16 characters: on Windows injected with SendInput (KEYEVENTF_UNICODE), so
// that every Unicode window takes them as typed; on the virtual desktop posted as WM_CHAR.
#include "unicode_typing.h"

#include <initializer_list>

#include "../base/shared_state.h"
#include "../include/kannada-tovi-composer.h"
#include "hook_state.h"
#include "keyboard_hook.h"

namespace {

ToviComposer *unicodeComposer = nullptr;
int composerFlags = 0;
HWND lastTarget = nullptr;

ToviComposer *ProcessComposer() {
    int flags = Shared->keyEngineSwitch ? TOVI_COMPOSER_KEY_ENGINE : 0;
    if (!unicodeComposer) {
        unicodeComposer = ToviComposerNew(TOVI_COMPOSER_UTF8, flags);
        composerFlags = flags;
    } else if (flags != composerFlags) {
        ToviComposerSetOptions(unicodeComposer, TOVI_COMPOSER_UTF8, flags);
        composerFlags = flags;
    }
    return unicodeComposer;
}

// Calls `unit` for each UTF-16 unit of the UTF-8 text (the composer's text is well formed).
template <typename Unit>
void ForEachUtf16Unit(const char *text, int length, Unit unit) {
    const unsigned char *p = reinterpret_cast<const unsigned char *>(text), *end = p + length;
    while (p < end) {
        uint32_t c = *p++;
        int more = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        c &= more ? 0x3Fu >> more : 0x7Fu;
        for (; more > 0 && p < end; more--) c = (c << 6) | (*p++ & 0x3Fu);
        if (c >= 0x10000) {
            unit(static_cast<WORD>(0xD800 + ((c - 0x10000) >> 10)));
            unit(static_cast<WORD>(0xDC00 + (c & 0x3FF)));
        } else {
            unit(static_cast<WORD>(c));
        }
    }
}

#ifdef _WIN32

// The engine's own Backspaces carry the extended-key mark, which the Backspace key never has,
// and its characters come as VK_PACKET: the hook lets both through as they are.
constexpr uintptr_t kExtendedKey = uintptr_t{1} << 24;

INPUT inputs[64];
UINT inputCount = 0;

void Flush() {
    if (inputCount) SendInput(inputCount, inputs, sizeof(INPUT));
    inputCount = 0;
}

void AddKey(WORD vk, WORD scan, DWORD flags) {
    for (DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
        if (inputCount == sizeof inputs / sizeof inputs[0]) Flush();
        INPUT &in = inputs[inputCount++];
        in = INPUT{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.wScan = scan;
        in.ki.dwFlags = flags | up;
    }
}

void Type(HWND, const ToviComposerResult &r) {
    for (int i = 0; i < r.erase; i++) AddKey(VK_BACK, 0x0E, KEYEVENTF_EXTENDEDKEY);
    ForEachUtf16Unit(r.insert, r.insertLength, [](WORD u) { AddKey(0, u, KEYEVENTF_UNICODE); });
    Flush();
}

bool OwnInjectedKey(WPARAM vk, LPARAM keyData) {
    return vk == VK_PACKET || (vk == VK_BACK && (static_cast<uintptr_t>(keyData) & kExtendedKey));
}

#else

constexpr LPARAM kBackspaceData = static_cast<LPARAM>(0xC00E0001u);

void Type(HWND target, const ToviComposerResult &r) {
    for (int i = 0; i < r.erase; i++) {
        PostMessageA(target, WM_KEYDOWN, VK_BACK, kBackspaceData);
        PostMessageA(target, WM_CHAR, VK_BACK, kBackspaceData);
    }
    ForEachUtf16Unit(r.insert, r.insertLength, [target](WORD u) { PostMessageA(target, WM_CHAR, u, 1); });
}

bool OwnInjectedKey(WPARAM, LPARAM) { return false; }

#endif

}  // namespace

void ResetUnicodeTyping() {
    if (unicodeComposer) ToviComposerReset(unicodeComposer);
}

LRESULT RunUnicodeHook(int code, WPARAM vk, LPARAM keyData) {
    if (OwnInjectedKey(vk, keyData)) return CallNextHookEx(EngineHook, code, vk, keyData);
    ToviComposer *composer = ProcessComposer();
    if (!composer) return CallNextHookEx(EngineHook, code, vk, keyData);
    // The glyph composer is not typing; the classification's own syllable break is harmless to it.
    switch (ClassifyKey(Composer, code, vk, keyData)) {
    case kKeyPass:
        if (vk == VK_CONTROL || vk == VK_MENU) ToviComposerReset(composer);
        return CallNextHookEx(EngineHook, code, vk, keyData);
    case kKeySwallow:
        return 1;
    case kKeyOther:
        ToviComposerReset(composer);
        return CallNextHookEx(EngineHook, code, vk, keyData);
    case kKeyLetter:
    case kKeyBackspace:
        break;
    }
    HWND focus = GetFocus();
    if (focus != lastTarget) ToviComposerReset(composer);
    lastTarget = focus;
    int key = VK_BACK;
    if (vk != VK_BACK) {
        bool capital = (GetKeyState(VK_CAPITAL) & 1) != 0;
        if (GetKeyState(VK_SHIFT) < 0) capital = !capital;
        key = capital ? static_cast<int>(vk) : static_cast<int>(vk) + 32;
    }
    ToviComposerResult result;
    // A Backspace the composer does not take erases a character of the window's own.
    if (!ToviComposerFeed(composer, key, &result)) return CallNextHookEx(EngineHook, code, vk, keyData);
    Type(focus, result);
    return 1;
}
