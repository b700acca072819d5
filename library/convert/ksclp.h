// KSCLP sort keys: byte strings whose unsigned order is the Kannada alphabetical order.
#pragma once

#include <cstddef>
#include <cstdint>

// The whole key of an ISCII string of `length` bytes into `key`, which has room for
// kKeyPerIscii bytes per ISCII byte; returns its length. With `bilingual` the Latin letters
// of the key take their KSCLP bytes. Works in `shifted` (room for two bytes per ISCII byte)
// and `tail` (one).
constexpr size_t kKeyPerIscii = 4;
size_t IsciiToKsclp(const uint8_t *iscii, size_t length, bool bilingual, uint8_t *shifted, uint8_t *tail,
                    uint8_t *key);
