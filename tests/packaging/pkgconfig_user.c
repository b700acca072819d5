/* A program built against the installed development package, as a user builds one: Unicode
 * Kannada to monolingual glyph codes and back through the library. Prints the round trip. */
#include <stdio.h>
#include <string.h>

#include <kannada-tovi.h>

int main(int argc, char **argv) {
    const char *text = argc > 1 ? argv[1] : "";
    char glyphs[256], back[256];
    if (ToviUnicode2MonolingualGlyph(text, glyphs, sizeof glyphs) <= 0 ||
        ToviMonolingualGlyph2Unicode(glyphs, back, sizeof back) <= 0) {
        printf("conversion failed: %d\n", ToviGetLastError());
        return 1;
    }
    printf("%s -> %zu glyph codes -> %s\n", text, strlen(glyphs), back);
    return strcmp(text, back) != 0;
}
