#include "data_text.h"

#include <cstdlib>
#include <cstring>

#include "../platform/win32.h"

bool OpenDataText(const char *name, DataTextCursor &cursor) {
    cursor = DataTextCursor{nullptr, 0, 0, 0, false};
    HRSRC resource = FindResourceA(LibraryModule, name, "LAYOUT");
    if (!resource) return false;
    HGLOBAL loaded = LoadResource(LibraryModule, resource);
    if (!loaded) return false;
    const char *text = static_cast<const char *>(LockResource(loaded));
    if (!text) return false;
    cursor.text = text;
    cursor.limit = SizeofResource(LibraryModule, resource);
    return true;
}

static bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

void NextDataToken(DataTextCursor &c, char token[kDataTokenSize]) {
    if (!c.text) return;
    if (!c.measured) {
        // The text ends at its first zero byte; a resource image need not carry one, so the
        // resource's own size bounds it too.
        const void *zero = std::memchr(c.text, 0, c.limit);
        c.length = zero ? static_cast<size_t>(static_cast<const char *>(zero) - c.text) : c.limit;
        c.measured = true;
    }
    size_t used = std::strlen(token);
    while (c.cursor < c.length) {
        char b = c.text[c.cursor];
        if (!IsSeparator(b)) {
            if (used < kDataTokenSize - 1) token[used++] = b;
            c.cursor++;
            continue;
        }
        c.cursor++;  // past the separator that ends the token, or a leading one
        if (used > 0) {
            token[used] = '\0';
            return;
        }
    }
    token[used] = '\0';
    c.cursor = c.length;
}

long DataNumber(const char *token) { return std::atol(token); }
