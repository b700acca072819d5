// The DLL under Wine: its exports carry the names callers bind (the standard-call twins
// decorated), and its conversion data came from its own resources.
#include <windows.h>

#include <cstring>
#include <string>

#include "check.h"

typedef int(__cdecl *GetLastErrorFn)(void);
typedef unsigned(__cdecl *ConvertFn)(const char *, char *, unsigned);
typedef char *(__stdcall *TwinFn)(const char *);

int main() {
    HMODULE dll = LoadLibraryA("Kannada-Tovi.dll");
    CHECK(dll != nullptr);
    if (!dll) return CheckSummary();

    auto lastError = reinterpret_cast<GetLastErrorFn>(GetProcAddress(dll, "ToviGetLastError"));
    auto toBilingual = reinterpret_cast<ConvertFn>(GetProcAddress(dll, "ToviMonolingual2BilingualGlyph"));
    auto toBilingualTwin = reinterpret_cast<TwinFn>(GetProcAddress(dll, "_ToviMonolingual2BilingualGlyphVB@4"));
    auto toMonoTwin = reinterpret_cast<TwinFn>(GetProcAddress(dll, "_ToviBilingual2MonolingualGlyphVB@4"));
    CHECK(lastError && toBilingual && toBilingualTwin && toMonoTwin);
    // The twins are exported only under their decorated names.
    CHECK(GetProcAddress(dll, "ToviMonolingual2BilingualGlyphVB") == nullptr);
    if (!lastError || !toBilingual || !toBilingualTwin || !toMonoTwin) return CheckSummary();

    CHECK(lastError() == 0);
    char out[8] = {};
    CHECK(toBilingual("ABC", out, sizeof out) == 3);
    CHECK(std::string(out) == "\x81\x82\x83");
    CHECK(toBilingual("ABC", nullptr, 10) == 4);
    CHECK(toBilingual("", out, sizeof out) == 0);
    CHECK(lastError() == -4);
    CHECK(toBilingual("ABC", out, 3) == 0);
    CHECK(lastError() == -3);

    // A standard-call twin called through its decorated name leaves the stack balanced
    // (a wrong convention would corrupt it across these calls).
    for (int i = 0; i < 1000; i++) {
        char *r = toBilingualTwin("ABC");
        CHECK(r && std::strcmp(r, "\x81\x82\x83") == 0);
        if (!r) break;
    }
    char *mono = toMonoTwin("ABC");
    CHECK(mono && std::strcmp(mono, "\x7f\x9a\x9b") == 0);

    FreeLibrary(dll);
    return CheckSummary();
}
