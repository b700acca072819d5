// The engine in a real Windows process. The glyph engine starts for this thread, types into a
// real EDIT control while Scroll Lock is on and lets keys through while it is off, refuses a
// second start, stops once; the tray window runs the icon's menu and the two dialogs from the
// DLL's resources. The Unicode engine types into a Unicode EDIT control, for each mixed
// sequence of keys, the Kannada that the glyph engine types for it as the bridge converts it
// (worked out here through the DLL's glyph composer and converter, as `tovi type --unicode`
// does); a Backspace with nothing composed erases the control's own character.
#include <cstdlib>

#include "../library/support/mixed_sequences.h"
#include "kannada-tovi-composer.h"
#include "wine_test.h"

typedef int(__cdecl *StartFn)(int, int, int);
typedef int(__stdcall *StartVBFn)(int, int, int);
typedef int(__cdecl *IntFn)(void);
typedef int(__stdcall *IntVBFn)(void);
typedef void(__cdecl *VoidFn)(void);

namespace {

bool ScrollLockOn() { return (GetKeyState(VK_SCROLL) & 1) != 0; }

// ---- The Unicode engine's text -------------------------------------------------------------

typedef ToviComposer *(__cdecl *NewFn)(int, int);
typedef int(__cdecl *FeedFn)(ToviComposer *, int, ToviComposerResult *);
typedef void(__cdecl *FreeFn)(ToviComposer *);
typedef int(__cdecl *ToUnicodeFn)(const char *, char *, unsigned);
NewFn composerNew;
FeedFn composerFeed;
FreeFn composerFree;
ToUnicodeFn glyphToUnicode;

// What the glyph engine types for the keys (the composer's glyph output applied as the hook
// posts it; a Backspace it does not take erases a glyph), converted to Unicode.
std::string Expected(const std::string &keys) {
    ToviComposer *c = composerNew(TOVI_COMPOSER_MONOLINGUAL, 0);
    std::string glyphs;
    ToviComposerResult r;
    for (char k : keys) {
        if (composerFeed(c, k == '\b' ? 8 : k, &r)) {
            glyphs.resize(glyphs.size() - static_cast<size_t>(r.erase));
            glyphs.append(r.insert, static_cast<size_t>(r.insertLength));
        } else if (k != '\b') {
            glyphs.push_back(k);
        } else if (!glyphs.empty()) {
            glyphs.pop_back();
        }
    }
    composerFree(c);
    char out[1024] = {};
    return glyphToUnicode(glyphs.c_str(), out, sizeof out) > 0 ? out : "";
}

// The box's text after the keys and a space that ends the syllable (taken off again).
std::string Typed(TextBox &box, const std::string &keys) {
    box.Clear();
    Type(keys + " ");
    std::string text = box.Text();
    return text.empty() ? text : text.substr(0, text.size() - 1);
}

// ---- Modal windows of the tray, answered from a timer while their loop runs ----------------

bool menuSeen = false, menuWhileDialog = false, dialogSeen = false, bitmapShown = false;
std::string dialogButton;
const char *dialogCaption = nullptr;

void CALLBACK EndMenuWhenShown(HWND, UINT, UINT_PTR id, DWORD) {
    HWND menu = FindWindowA(MAKEINTATOM(32768), nullptr);
    if (menu && IsWindowVisible(menu)) {
        menuSeen = true;
        KillTimer(nullptr, id);
        EndMenu();
    }
}

// Whether a click on the tray icon opens its menu (a modal loop, ended by the timer).
bool ClickOpensMenu(HWND tray) {
    menuSeen = false;
    UINT_PTR timer = SetTimer(nullptr, 0, 100, EndMenuWhenShown);
    SendMessageA(tray, WM_USER, 0, WM_RBUTTONDOWN);
    KillTimer(nullptr, timer);
    return menuSeen;
}

void CALLBACK CloseDialogWhenShown(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = FindWindowA(MAKEINTATOM(32770), dialogCaption);
    if (!dialog) return;
    KillTimer(nullptr, id);
    dialogSeen = true;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (SendMessageA(child, STM_GETIMAGE, IMAGE_BITMAP, 0)) bitmapShown = true;
    char text[32] = {};
    if (GetDlgItemTextA(dialog, IDOK, text, sizeof text)) dialogButton = text;
    // A click on the icon while a dialog is open must not open the menu.
    menuWhileDialog = ClickOpensMenu(FindWindowA("Tovi Tray Class", nullptr));
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

// Whether the menu command shows its dialog (a modal loop, ended by the timer).
bool RunDialog(HWND tray, WPARAM command, const char *caption) {
    dialogCaption = caption;
    dialogSeen = false;
    UINT_PTR timer = SetTimer(nullptr, 0, 100, CloseDialogWhenShown);
    SendMessageA(tray, WM_COMMAND, command, 0);
    KillTimer(nullptr, timer);
    return dialogSeen;
}

// The tray's icon, menu and layout picture are the DLL's own resources.
void CheckResources(HMODULE dll) {
    BITMAP picture = {};
    HBITMAP bitmap = LoadBitmapA(dll, MAKEINTRESOURCEA(140));
    CHECK(bitmap && GetObjectA(bitmap, sizeof picture, &picture) && picture.bmWidth == 735);
    DeleteObject(bitmap);
    for (int size : {16, 32}) {
        HICON icon = static_cast<HICON>(LoadImageA(dll, MAKEINTRESOURCEA(104), IMAGE_ICON, size, size, 0));
        ICONINFO info = {};
        BITMAP colour = {};
        CHECK(icon && GetIconInfo(icon, &info) && GetObjectA(info.hbmColor, sizeof colour, &colour) &&
              colour.bmWidth == size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
    HMENU menu = LoadMenuA(dll, MAKEINTRESOURCEA(133));
    HMENU file = menu ? GetSubMenu(menu, 0) : nullptr;
    CHECK(file && GetMenuItemID(file, 0) == 32800 && GetMenuItemID(file, 1) == 32802);
    DestroyMenu(menu);
}

}  // namespace

int main() {
    CHECK(TakeEngineTurn());
    HMODULE dll = LoadLibraryA("Kannada-Tovi.dll");
    auto start = Bind<StartFn>(dll, "ToviStartKeyboardEngine");
    auto startVB = Bind<StartVBFn>(dll, "_ToviStartKeyboardEngineVB@12");
    auto stop = Bind<IntFn>(dll, "ToviStopKeyboardEngine");
    auto stopVB = Bind<IntVBFn>(dll, "_ToviStopKeyboardEngineVB@0");
    auto lastError = Bind<IntFn>(dll, "ToviGetLastError");
    auto turnOn = Bind<IntFn>(dll, "ToviTurnOnScrollLock");
    auto turnOff = Bind<IntFn>(dll, "ToviTurnOffScrollLock");
    auto reset = Bind<VoidFn>(dll, "ToviResetAllFlags");
    auto fontType = Bind<IntFn>(dll, "ToviGetCurrentFontType");
    auto startUnicode = Bind<int(__cdecl *)(int, int)>(dll, "ToviStartUnicodeKeyboardEngine");
    auto startUnicodeVB = Bind<int(__stdcall *)(int, int)>(dll, "_ToviStartUnicodeKeyboardEngineVB@8");
    composerNew = Bind<NewFn>(dll, "ToviComposerNew");
    composerFeed = Bind<FeedFn>(dll, "ToviComposerFeed");
    composerFree = Bind<FreeFn>(dll, "ToviComposerFree");
    glyphToUnicode = Bind<ToUnicodeFn>(dll, "ToviMonolingualGlyph2Unicode");
    if (checksFailed) return CheckSummary();
    CheckResources(dll);

    CHECK(stop() == 0 && lastError() == -2);
    const bool scrollWasOn = ScrollLockOn();
    {
        TextBox box(false, L"Kannada-Tovi engine test");
        CHECK(GetFocus() == box.edit);

        // The engine for this thread; a second start is refused and changes nothing.
        CHECK(start(0, 1, 0) == 1);
        CHECK(start(1, 0, 0) == 0 && lastError() == -1);
        CHECK(startVB(1, 0, -1) == 0 && lastError() == -1);
        CHECK(fontType() == 1);
        CHECK(FindWindowA("Tovi Tray Class", nullptr) == nullptr);

        // Scroll Lock off: keys pass untouched. On (twice: the second changes nothing): "k" types
        // 80 192, "i" after it erases them and types 81.
        auto holds = [&](const char *text) { return PumpUntil([&] { return box.Text() == text; }); };
        CHECK(turnOff() == 1);
        CHECK(PumpUntil([] { return !ScrollLockOn(); }));
        Type("k");
        CHECK(holds("k"));
        box.Clear();
        CHECK(turnOn() == 1 && PumpUntil(ScrollLockOn));
        CHECK(turnOn() == 1);
        PumpUntilQuiet(100);
        CHECK(ScrollLockOn());
        reset();
        Type("k");
        CHECK(holds("\x50\xC0"));
        Type("i");
        CHECK(holds("\x51"));

        CHECK(stop() == 1 && fontType() == 0);
        CHECK(stop() == 0 && lastError() == -2);
        box.Clear();
        Type("k");  // with the engine stopped, Scroll Lock changes nothing
        CHECK(holds("k"));

        // The tray: a start through the twin with -1 makes the tray window of this thread; a right
        // click opens the menu; "Keyboard Layout" shows the picture, and clicks meanwhile do
        // nothing; "About Tovi..." has its glyph-code button.
        CHECK(startVB(1, 1, -1) == 1);
        HWND tray = FindWindowA("Tovi Tray Class", nullptr);
        DWORD owner = 0;
        CHECK(tray && GetWindowThreadProcessId(tray, &owner) == GetCurrentThreadId());
        if (tray) {
            CHECK(ClickOpensMenu(tray));
            CHECK(RunDialog(tray, 32802, "Keyboard Layout") && bitmapShown && !menuWhileDialog);
            CHECK(RunDialog(tray, 32800, "Tovi 3.0") && dialogButton == "M\xA6\xE0U\xC9");
        }
        CHECK(stopVB() == 1);
    }  // the glyph engine's box goes: the Unicode one alone takes the focus

    // The Unicode engine (Scroll Lock still on), the one engine of the desktop like the other.
    TextBox unicodeBox(true, L"Kannada-Tovi Unicode typing");
    CHECK(IsWindowUnicode(unicodeBox.edit) && GetFocus() == unicodeBox.edit);
    CHECK(startUnicode(0, 0) == 1);
    CHECK(startUnicodeVB(0, 0) == 0 && lastError() == -1);

    CHECK(Typed(unicodeBox, "ki") == "\xE0\xB2\x95\xE0\xB2\xBF");  // ಕಿ
    for (const char *keys : kMixedSequences) {
        std::string typed = Typed(unicodeBox, keys), expected = Expected(keys);
        if (typed != expected)
            std::printf("%s: typed \"%s\", expected \"%s\"\n", ToviKeys(keys).c_str(), typed.c_str(), expected.c_str());
        CHECK(typed == expected);
    }
    // With nothing composed, Backspace is the control's own and takes one character.
    unicodeBox.Clear();
    Type("ki \b\b");
    CHECK(unicodeBox.Text() == "\xE0\xB2\x95");  // ಕ

    // docs/make-pictures.sh: Kannada typed in a Kannada font and left on screen for a while.
    if (const char *hold = std::getenv("TOVI_PICTURE_HOLD")) {
        HFONT font = CreateFontW(-30, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Lohit Kannada");
        SendMessageW(unicodeBox.edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        SetWindowLongW(unicodeBox.frame, GWL_STYLE, GetWindowLongW(unicodeBox.frame, GWL_STYLE) | WS_CLIPCHILDREN);
        SetWindowPos(unicodeBox.frame, nullptr, 0, 0, 400, 76, SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
        SetWindowPos(unicodeBox.edit, nullptr, 8, 24, 384, 44, SWP_NOZORDER);
        unicodeBox.Clear();
        Type("beMgaLUru viLAsa");
        SetWindowTextW(unicodeBox.frame, L"Typed through ToviStartUnicodeKeyboardEngine");
        DWORD end = GetTickCount() + static_cast<DWORD>(std::atoi(hold));
        while (static_cast<int>(end - GetTickCount()) > 0) PumpUntilQuiet();
    }

    // Stopped, the keys are the control's.
    CHECK(stop() == 1);
    unicodeBox.Clear();
    Type("ki");
    CHECK(unicodeBox.Text() == "ki");

    scrollWasOn ? turnOn() : turnOff();
    CHECK(PumpUntil([&] { return ScrollLockOn() == scrollWasOn; }));
    FreeLibrary(dll);
    return CheckSummary();
}
