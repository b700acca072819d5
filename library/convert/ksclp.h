// KSCLP sort keys: byte strings whose unsigned order is the Kannada alphabetical order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// The whole key of an ISCII string of `length` bytes into `key`, which has room for
// kKeyPerIscii bytes per ISCII byte; returns its length. With `bilingual` the Latin letters
// of the key take their KSCLP bytes. Throws std::bad_alloc when memory is short.
constexpr size_t kKeyPerIscii = 4;
size_t IsciiToKsclp(const uint8_t *iscii, size_t length, bool bilingual, uint8_t *key);

// The whole key of a NUL-terminated glyph string, which is normalised in place as the glyph
// conversion does, in a new buffer. False when that conversion fails (a bilingual string that
// yields nothing).
bool GlyphStringToKsclp(char *src, bool bilingual, std::unique_ptr<uint8_t[]> &key, size_t &length);
