// The converters of the DLL under Wine, bound by their exported names: glyph to ISCII and
// back, KSCLP keys and the standard-call comparisons, the Unicode bridge, and the twins, on
// threads of their own too (each thread's result buffer goes with the thread).
#include <cstring>

#include "wine_test.h"

typedef int(__cdecl *ConvertFn)(char *, char *, unsigned);
typedef char *(__stdcall *TwinFn)(char *);
typedef int(__cdecl *CompareFn)(char *, char *);
typedef int(__stdcall *CompareTwinFn)(char *, char *);
typedef int(__cdecl *IntFn)(void);
typedef int(__cdecl *UnheldFn)(const char *, int, int *, int *, int);

namespace {

TwinFn keyTwin = nullptr;
char ka[] = "\x50\xC0\xF0";  // KA with the repha

bool IsKeyOfKa(const char *key) { return key && std::strcmp(key, "\xE5\xC9\xB6") == 0; }

// A thread that makes keys and ends: its result buffer is freed with it.
DWORD WINAPI KeysOnAThread(LPVOID) {
    int good = 0;
    for (int i = 0; i < 200; i++) good += IsKeyOfKa(keyTwin(ka));
    return good == 200 ? 0 : 1;
}

}  // namespace

int main() {
    HMODULE dll = LoadLibraryA("Kannada-Tovi.dll");
    auto lastError = Bind<IntFn>(dll, "ToviGetLastError");
    auto toIscii = Bind<ConvertFn>(dll, "ToviMonolingualGlyph2ISCII");
    auto toGlyph = Bind<ConvertFn>(dll, "ToviISCII2MonolingualGlyph");
    auto toBilingual = Bind<ConvertFn>(dll, "ToviMonolingual2BilingualGlyph");
    auto toIsciiTwin = Bind<TwinFn>(dll, "_ToviMonolingualGlyph2ISCIIVB@4");
    auto toGlyphTwin = Bind<TwinFn>(dll, "_ToviISCII2BilingualGlyphVB@4");
    keyTwin = Bind<TwinFn>(dll, "_ToviMonolingualGlyph2KSCLPVB@4");
    auto compare = Bind<CompareFn>(dll, "ToviMonolingualGlyphCompare");
    auto compareTwin = Bind<CompareTwinFn>(dll, "_ToviMonolingualGlyphCompareVB@8");
    auto bilingualCompareTwin = Bind<CompareTwinFn>(dll, "_ToviBilingualGlyphCompareVB@8");
    auto toUnicode = Bind<ConvertFn>(dll, "ToviMonolingualGlyph2Unicode");
    auto fromUnicode = Bind<ConvertFn>(dll, "ToviUnicode2MonolingualGlyph");
    auto unicodeToIscii = Bind<ConvertFn>(dll, "ToviUnicode2ISCII");
    auto unheld = Bind<UnheldFn>(dll, "ToviUnicodeUnheld");
    if (checksFailed) return CheckSummary();

    char kki[] = "\x51\xCC\xC3";  // 81 204 195
    char out[64] = {}, small[4];
    CHECK(toIscii(kki, out, sizeof out) == 5 && std::strcmp(out, "\xB3\xE8\xB3\xDC") == 0);  // 179 232 179 220
    CHECK(std::strcmp(kki, "\x51\xC3\xCC") == 0);  // normalised in place
    CHECK(toIscii(kki, small, sizeof small) == 0 && lastError() == -3);
    char iscii[] = "\xB3\xE8\xB3\xDB";  // 179 232 179 219
    CHECK(toGlyph(iscii, out, sizeof out) == 2 && std::strcmp(out, "\x51\xCC") == 0);  // 81 204
    char abc[] = "ABC";
    CHECK(toBilingual(abc, out, 3) == 0 && lastError() == -3);  // no room for the end
    CHECK(toBilingual(abc, out, 4) == 3 && std::strcmp(out, "\x81\x82\x83") == 0);

    // Standard-call twins through their decorated names, many times: a wrong calling
    // convention would unbalance the stack.
    char kaa[] = "\x50\xC1";
    for (int i = 0; i < 500 && !checksFailed; i++) {
        CHECK(IsKeyOfKa(keyTwin(ka)));
        CHECK(compareTwin(ka, kaa) == 1 && compareTwin(kaa, kaa) == 0);
    }
    char *r = toIsciiTwin(ka);
    CHECK(r && std::strcmp(r, "\xB3\xD0") == 0);
    char letters[] = "Ab", big[] = "b", capital[] = "B";
    r = toGlyphTwin(letters);
    CHECK(r && std::strcmp(r, "Ab") == 0);
    CHECK(bilingualCompareTwin(capital, big) == -1);
    CHECK(compare(ka, nullptr) == 999 && lastError() == -4);

    char utf8[64] = {};
    CHECK(toUnicode(ka, utf8, sizeof utf8) == 9);
    CHECK(std::strcmp(utf8, "\xE0\xB2\xB0\xE0\xB3\x8D\xE0\xB2\x95") == 0);  // RA VIRAMA KA
    CHECK(fromUnicode(utf8, out, sizeof out) == 3 && std::strcmp(out, ka) == 0);
    // Monolingual glyph text has no codes for the letters N to U; ISCII keeps them.
    char aNTR[] = "aNTR";
    int offsets[4] = {}, codes[4] = {};
    CHECK(unheld(aNTR, 1, offsets, codes, 4) == 3);
    CHECK(offsets[0] == 1 && codes[0] == 'N' && offsets[2] == 3 && codes[2] == 'R');
    CHECK(unheld(aNTR, 3, offsets, codes, 4) == 0);
    CHECK(unicodeToIscii(aNTR, out, sizeof out) == 4);

    HANDLE threads[8];
    for (HANDLE &t : threads) t = CreateThread(nullptr, 0, KeysOnAThread, nullptr, 0, nullptr);
    WaitForMultipleObjects(8, threads, TRUE, INFINITE);
    for (HANDLE t : threads) {
        DWORD code = 1;
        CHECK(GetExitCodeThread(t, &code) && code == 0);
        CloseHandle(t);
    }
    CHECK(IsKeyOfKa(keyTwin(ka)));
    FreeLibrary(dll);
    return CheckSummary();
}
