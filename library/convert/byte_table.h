// Bytes mapped through a 256-entry table: 64 at a time where the processor looks bytes up in
// its registers, else one at a time.
#pragma once

#include <cstddef>
#include <cstdint>

// out[i] = table[in[i]] for the n bytes at `in`; out may be in.
void MapBytes(const uint8_t table[256], const uint8_t *in, uint8_t *out, size_t n);

// For the n bytes at `in` (1 to 64, none read past them): bit i of bits[b] set where
// table[in[i]] has bit b set. False, with nothing set, where the processor cannot look bytes
// up in its registers (the caller goes one by one).
bool TableBits(const uint8_t table[256], const uint8_t *in, size_t n, uint64_t bits[8]);
