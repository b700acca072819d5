// Bytes mapped through a 256-entry table: 64 at a time where the processor looks bytes up in
// its registers, else one at a time.
#pragma once

#include <cstddef>
#include <cstdint>

// out[i] = table[in[i]] for the n bytes at `in`; out may be in.
void MapBytes(const uint8_t table[256], const uint8_t *in, uint8_t *out, size_t n);
