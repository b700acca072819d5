// UTF-8 read and written one code point at a time, and the code points the Unicode bridge
// names, for every piece of the bridge.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int32_t kZwnj = 0x200C;
constexpr int32_t kZwj = 0x200D;
constexpr int32_t kRa = 0x0CB0;
constexpr int32_t kNukta = 0x0CBC;
constexpr int32_t kVirama = 0x0CCD;

// The code point that starts at s[i] (i < n), with its length in `len`; -1 and a length of 1
// where no well-formed sequence starts (overlong forms, surrogates and code points past
// U+10FFFF are not UTF-8).
inline int32_t ReadUtf8(const uint8_t *s, size_t n, size_t i, size_t &len) {
    const uint8_t b = s[i];
    int32_t cp;
    if (b < 0x80) return len = 1, b;
    if (b >= 0xC2 && b <= 0xDF) cp = b & 0x1F, len = 2;
    else if (b >= 0xE0 && b <= 0xEF) cp = b & 0x0F, len = 3;
    else if (b >= 0xF0 && b <= 0xF4) cp = b & 0x07, len = 4;
    else return len = 1, -1;
    if (i + len > n) return len = 1, -1;
    for (size_t k = 1; k < len; k++) {
        if ((s[i + k] & 0xC0) != 0x80) return len = 1, -1;
        cp = (cp << 6) | (s[i + k] & 0x3F);
    }
    if ((len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)))
        return len = 1, -1;
    return cp;
}

// Writes the UTF-8 of cp at o; returns the end.
inline uint8_t *PutUtf8(uint8_t *o, uint32_t cp) {
    if (cp < 0x80) {
        *o++ = static_cast<uint8_t>(cp);
    } else if (cp < 0x800) {
        *o++ = static_cast<uint8_t>(0xC0 | (cp >> 6));
        *o++ = static_cast<uint8_t>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        *o++ = static_cast<uint8_t>(0xE0 | (cp >> 12));
        *o++ = static_cast<uint8_t>(0x80 | ((cp >> 6) & 0x3F));
        *o++ = static_cast<uint8_t>(0x80 | (cp & 0x3F));
    } else {
        *o++ = static_cast<uint8_t>(0xF0 | (cp >> 18));
        *o++ = static_cast<uint8_t>(0x80 | ((cp >> 12) & 0x3F));
        *o++ = static_cast<uint8_t>(0x80 | ((cp >> 6) & 0x3F));
        *o++ = static_cast<uint8_t>(0x80 | (cp & 0x3F));
    }
    return o;
}
