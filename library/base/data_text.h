// The grammar shared by the library's two data texts (the keyboard layout and the conversion
// data): whitespace-separated tokens in a text resource of type "LAYOUT".
#pragma once

#include <cstddef>

// Tokens are at most 31 bytes; a longer one is cut there (its remaining bytes are skipped).
constexpr size_t kDataTokenSize = 32;

// A tokenizer's own cursor over its own text. It is never rewound: each text is read once.
struct DataTextCursor {
    const char *text;
    size_t length;  // measured on the first call: up to the first zero byte, within the resource
    size_t limit;   // the resource's size
    size_t cursor;
    bool measured;
};

// Finds, loads and locks the library's resource `name` of type "LAYOUT" and points the cursor
// at it. False when any step fails (the cursor then stays empty).
bool OpenDataText(const char *name, DataTextCursor &cursor);

// Appends the next token to `token` (which the caller empties before each call); leaves it
// empty at the end of the text.
void NextDataToken(DataTextCursor &cursor, char token[kDataTokenSize]);

// A decimal number read as atol does: optional sign, leading digits; no digits reads as 0.
long DataNumber(const char *token);
