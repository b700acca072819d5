// KSCLP sort keys: byte strings whose unsigned order is the Kannada alphabetical order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Appends the whole key of an ISCII string to `key`. With `bilingual` the Latin letters of the
// key take their KSCLP bytes.
void IsciiToKsclp(const uint8_t *iscii, size_t length, bool bilingual, std::string &key);

// The whole key of a NUL-terminated glyph string, which is normalised in place as the glyph
// conversion does. False when that conversion fails (a bilingual string that yields nothing).
bool GlyphStringToKsclp(char *src, bool bilingual, std::string &key);

// The result buffer of the two key twins: each call frees the previous result.
extern char *SortKeyResultBuffer;
