// The converters of the DLL under Wine, bound by their exported names: glyph to ISCII and
// back, KSCLP keys and the standard-call comparison, the Unicode bridge, twins on threads of
// their own (each thread's result buffer goes with the thread), and the per-context composer.
#include <windows.h>

#include <cstring>
#include <string>

#include "check.h"
#include "kannada-tovi-composer.h"

typedef int(__cdecl *ConvertFn)(char *, char *, unsigned);
typedef char *(__stdcall *TwinFn)(char *);
typedef int(__cdecl *CompareFn)(char *, char *);
typedef int(__stdcall *CompareTwinFn)(char *, char *);
typedef int(__cdecl *GetLastErrorFn)(void);
typedef ToviComposer *(__cdecl *ComposerNewFn)(int, int);
typedef int(__cdecl *ComposerFeedFn)(ToviComposer *, int, ToviComposerResult *);
typedef void(__cdecl *ComposerFn)(ToviComposer *);

TwinFn threadTwin = nullptr;

// A thread that makes keys and ends: its result buffer is freed with it.
DWORD WINAPI KeysOnAThread(LPVOID) {
    char ka[] = "\x50\xC0\xF0";
    int good = 0;
    for (int i = 0; i < 200; i++) {
        char *key = threadTwin(ka);
        good += key && std::strcmp(key, "\xE5\xC9\xB6") == 0;
    }
    return good == 200 ? 0 : 1;
}

template <typename T>
T Bind(HMODULE dll, const char *name) {
    T f = reinterpret_cast<T>(GetProcAddress(dll, name));
    if (!f) std::printf("missing export %s\n", name);
    CHECK(f != nullptr);
    return f;
}

typedef int(__cdecl *UnheldFn)(const char *, int, int *, int *, int);

int main() {
    HMODULE dll = LoadLibraryA("Kannada-Tovi.dll");
    CHECK(dll != nullptr);
    if (!dll) return CheckSummary();

    auto lastError = Bind<GetLastErrorFn>(dll, "ToviGetLastError");
    auto toIscii = Bind<ConvertFn>(dll, "ToviMonolingualGlyph2ISCII");
    auto toGlyph = Bind<ConvertFn>(dll, "ToviISCII2MonolingualGlyph");
    auto toIsciiTwin = Bind<TwinFn>(dll, "_ToviMonolingualGlyph2ISCIIVB@4");
    auto toGlyphTwin = Bind<TwinFn>(dll, "_ToviISCII2BilingualGlyphVB@4");
    auto keyTwin = Bind<TwinFn>(dll, "_ToviMonolingualGlyph2KSCLPVB@4");
    auto compare = Bind<CompareFn>(dll, "ToviMonolingualGlyphCompare");
    auto compareTwin = Bind<CompareTwinFn>(dll, "_ToviMonolingualGlyphCompareVB@8");
    auto bilingualCompareTwin = Bind<CompareTwinFn>(dll, "_ToviBilingualGlyphCompareVB@8");
    auto toUnicode = Bind<ConvertFn>(dll, "ToviMonolingualGlyph2Unicode");
    auto fromUnicode = Bind<ConvertFn>(dll, "ToviUnicode2MonolingualGlyph");
    auto unicodeToIscii = Bind<ConvertFn>(dll, "ToviUnicode2ISCII");
    auto unheld = Bind<UnheldFn>(dll, "ToviUnicodeUnheld");
    // The twins are exported only under their decorated names.
    CHECK(GetProcAddress(dll, "ToviMonolingualGlyphCompareVB") == nullptr);
    if (checksFailed) return CheckSummary();

    char kki[] = "\x51\xCC\xC3";  // 81 204 195
    char out[64] = {};
    CHECK(toIscii(kki, out, sizeof out) == 5);
    CHECK(std::strcmp(out, "\xB3\xE8\xB3\xDC") == 0);  // 179 232 179 220
    CHECK(std::strcmp(kki, "\x51\xC3\xCC") == 0);      // normalised in place
    char small[4];
    CHECK(toIscii(kki, small, sizeof small) == 0);
    CHECK(lastError() == -3);

    char iscii[] = "\xB3\xE8\xB3\xDB";  // 179 232 179 219
    CHECK(toGlyph(iscii, out, sizeof out) == 2);
    CHECK(std::strcmp(out, "\x51\xCC") == 0);  // 81 204

    // Standard-call twins through their decorated names, many times: a wrong calling
    // convention would unbalance the stack.
    char ka[] = "\x50\xC0\xF0";  // KA with the repha
    char kaa[] = "\x50\xC1";
    for (int i = 0; i < 500; i++) {
        char *key = keyTwin(ka);
        CHECK(key && std::strcmp(key, "\xE5\xC9\xB6") == 0);
        CHECK(compareTwin(ka, kaa) == 1);
        CHECK(compareTwin(kaa, kaa) == 0);
        if (checksFailed) break;
    }
    char *r = toIsciiTwin(ka);
    CHECK(r && std::strcmp(r, "\xB3\xD0") == 0);
    char letters[] = "Ab";
    r = toGlyphTwin(letters);
    CHECK(r && std::strcmp(r, "Ab") == 0);
    char big[] = "b", small2[] = "B";
    CHECK(bilingualCompareTwin(small2, big) == -1);
    CHECK(compare(ka, nullptr) == 999);
    CHECK(lastError() == -4);

    char utf8[64] = {};
    CHECK(toUnicode(ka, utf8, sizeof utf8) == 9);
    CHECK(std::strcmp(utf8, "\xE0\xB2\xB0\xE0\xB3\x8D\xE0\xB2\x95") == 0);  // RA VIRAMA KA
    CHECK(fromUnicode(utf8, out, sizeof out) == 3);
    CHECK(std::strcmp(out, "\x50\xC0\xF0") == 0);
    // Monolingual glyph text has no codes for the letters N to U; ISCII keeps them.
    char letters4[] = "aNTR";
    int offsets[4] = {}, codes[4] = {};
    CHECK(unheld(letters4, 1, offsets, codes, 4) == 3);
    CHECK(offsets[0] == 1 && codes[0] == 'N' && offsets[2] == 3 && codes[2] == 'R');
    CHECK(unheld(letters4, 3, offsets, codes, 4) == 0);
    CHECK(unicodeToIscii(letters4, out, sizeof out) == 4);

    // A composer types "kfkfy" as the hook does: its UTF-8 is the bridge's of the glyphs.
    auto composerNew = Bind<ComposerNewFn>(dll, "ToviComposerNew");
    auto composerFeed = Bind<ComposerFeedFn>(dll, "ToviComposerFeed");
    auto composerFree = Bind<ComposerFn>(dll, "ToviComposerFree");
    Bind<ComposerFn>(dll, "ToviComposerReset");
    Bind<ComposerFn>(dll, "ToviComposerSetOptions");
    for (int output : {TOVI_COMPOSER_MONOLINGUAL, TOVI_COMPOSER_UTF8}) {
        ToviComposer *c = composerNew ? composerNew(output, 0) : nullptr;
        CHECK(c != nullptr);
        if (!c) break;
        std::string text;
        ToviComposerResult result;
        for (const char *k = "kfkfy"; *k; k++) {
            CHECK(composerFeed(c, *k, &result) == 1);
            for (int i = 0; i < result.erase; i++) {
                while (output == TOVI_COMPOSER_UTF8 && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80) text.pop_back();
                text.pop_back();
            }
            text.append(result.insert, result.insertLength);
        }
        char glyphs[] = "\x50\xC0\xCC\xF6\xE5";  // 80 192 204 246 229
        if (output == TOVI_COMPOSER_UTF8) {
            CHECK(toUnicode(glyphs, utf8, sizeof utf8) > 0);
            CHECK(text == utf8);
        } else {
            CHECK(text == glyphs);
        }
        composerFree(c);
    }

    threadTwin = keyTwin;
    HANDLE threads[8];
    for (HANDLE &t : threads) t = CreateThread(nullptr, 0, KeysOnAThread, nullptr, 0, nullptr);
    WaitForMultipleObjects(8, threads, TRUE, INFINITE);
    for (HANDLE t : threads) {
        DWORD code = 1;
        CHECK(GetExitCodeThread(t, &code) && code == 0);
        CloseHandle(t);
    }
    r = keyTwin(ka);
    CHECK(r && std::strcmp(r, "\xE5\xC9\xB6") == 0);

    FreeLibrary(dll);
    return CheckSummary();
}
