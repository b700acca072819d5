#include "byte_table.h"

#if defined(__GNUC__) && defined(__x86_64__) && !defined(_WIN32)
#include <immintrin.h>
#define BYTE_TABLE_IN_REGISTERS 1
#endif

namespace {

void MapOneByOne(const uint8_t table[256], const uint8_t *in, uint8_t *out, size_t n) {
    for (size_t i = 0; i < n; i++) out[i] = table[in[i]];
}

#if BYTE_TABLE_IN_REGISTERS
// The table in four registers of 64 bytes: each byte's low seven bits pick one of 128 from a
// pair of them, its top bit the pair.
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) void MapInRegisters(const uint8_t table[256],
                                                                            const uint8_t *in, uint8_t *out,
                                                                            size_t n) {
    const __m512i t0 = _mm512_loadu_si512(table), t1 = _mm512_loadu_si512(table + 64);
    const __m512i t2 = _mm512_loadu_si512(table + 128), t3 = _mm512_loadu_si512(table + 192);
    size_t i = 0;
    for (; i + 64 <= n; i += 64) {
        __m512i b = _mm512_loadu_si512(in + i);
        __m512i low = _mm512_permutex2var_epi8(t0, b, t1), high = _mm512_permutex2var_epi8(t2, b, t3);
        _mm512_storeu_si512(out + i, _mm512_mask_blend_epi8(_mm512_movepi8_mask(b), low, high));
    }
    MapOneByOne(table, in + i, out + i, n - i);
}

__attribute__((target("avx512f,avx512bw,avx512vbmi"))) void TableBitsInRegisters(const uint8_t table[256],
                                                                                  const uint8_t *in, size_t n,
                                                                                  uint64_t bits[8]) {
    const __m512i t0 = _mm512_loadu_si512(table), t1 = _mm512_loadu_si512(table + 64);
    const __m512i t2 = _mm512_loadu_si512(table + 128), t3 = _mm512_loadu_si512(table + 192);
    __mmask64 in64 = n >= 64 ? ~__mmask64(0) : (__mmask64(1) << n) - 1;
    __m512i bytes = _mm512_maskz_loadu_epi8(in64, in);
    __m512i low = _mm512_permutex2var_epi8(t0, bytes, t1), high = _mm512_permutex2var_epi8(t2, bytes, t3);
    __m512i looked = _mm512_mask_blend_epi8(_mm512_movepi8_mask(bytes), low, high);
    for (int b = 0; b < 8; b++) bits[b] = _mm512_mask_test_epi8_mask(in64, looked, _mm512_set1_epi8(static_cast<char>(1 << b)));
}

const bool kInRegisters = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                          __builtin_cpu_supports("avx512vbmi");
#endif

}  // namespace

void MapBytes(const uint8_t table[256], const uint8_t *in, uint8_t *out, size_t n) {
#if BYTE_TABLE_IN_REGISTERS
    if (kInRegisters && n >= 64) return MapInRegisters(table, in, out, n);
#endif
    MapOneByOne(table, in, out, n);
}

bool TableBits(const uint8_t table[256], const uint8_t *in, size_t n, uint64_t bits[8]) {
#if BYTE_TABLE_IN_REGISTERS
    if (kInRegisters) {
        TableBitsInRegisters(table, in, n, bits);
        return true;
    }
#endif
    (void)table, (void)in, (void)n, (void)bits;
    return false;
}
