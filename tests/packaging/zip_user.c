/* A program built as a user of the Windows zip builds one, against its header and import
 * library. It calls a function bound at link time, binds every name of the zip's .def by name
 * at run time and calls a standard-call twin through its decorated name.
 * Usage: zip_user DEF-FILE */
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include "kannada-tovi.h"

typedef char *(__stdcall *TwinFn)(const char *);

int main(int argc, char **argv) {
    int failures = 0, names = 0;
    char out[8] = {0}, line[256];
    if (ToviMonolingual2BilingualGlyph("ABC", out, sizeof out) != 3 || strcmp(out, "\x81\x82\x83") != 0) {
        printf("linked call: wrong result\n");
        failures++;
    }
    HMODULE dll = GetModuleHandleA("Kannada-Tovi.dll");
    FILE *def = argc > 1 ? fopen(argv[1], "r") : NULL;
    if (!dll || !def) {
        printf("no DLL or no .def\n");
        return 1;
    }
    while (fgets(line, sizeof line, def)) {
        char *name = line + strspn(line, " \t");
        name[strcspn(name, " \t\r\n")] = 0;
        if (!*name || strcmp(name, "EXPORTS") == 0 || strncmp(line, "LIBRARY", 7) == 0) continue;
        names++;
        if (!GetProcAddress(dll, name)) {
            printf("not exported: %s\n", name);
            failures++;
        }
    }
    fclose(def);
    TwinFn twin = (TwinFn)GetProcAddress(dll, "_ToviMonolingual2BilingualGlyphVB@4");
    const char *r = twin ? twin("ABC") : NULL;
    if (!r || strcmp(r, "\x81\x82\x83") != 0) {
        printf("twin by decorated name: wrong result\n");
        failures++;
    }
    printf("%d names bound by name, %d failures\n", names, failures);
    return failures != 0 || names < 40;
}
