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
constexpr size_t kPastTheCaches = size_t(8) << 20;

// Whether n bytes at `in` and at `out` share none.
bool Apart(const uint8_t *in, const uint8_t *out, size_t n) {
    uintptr_t a = reinterpret_cast<uintptr_t>(in), b = reinterpret_cast<uintptr_t>(out);
    return a + n <= b || b + n <= a;
}

#define IN_REGISTERS __attribute__((target("avx512f,avx512bw,avx512vbmi")))

// The table in four registers of 64 bytes: each byte's low seven bits pick one of 128 from a
// pair of them, its top bit the pair.
IN_REGISTERS inline __m512i Looked(__m512i t0, __m512i t1, __m512i t2, __m512i t3, __m512i bytes) {
    __m512i low = _mm512_permutex2var_epi8(t0, bytes, t1), high = _mm512_permutex2var_epi8(t2, bytes, t3);
    return _mm512_mask_blend_epi8(_mm512_movepi8_mask(bytes), low, high);
}

IN_REGISTERS void MapInRegisters(const uint8_t table[256], const uint8_t *in, uint8_t *out, size_t n) {
    const __m512i t0 = _mm512_loadu_si512(table), t1 = _mm512_loadu_si512(table + 64);
    const __m512i t2 = _mm512_loadu_si512(table + 128), t3 = _mm512_loadu_si512(table + 192);
    size_t i = 0;
    if (n >= kPastTheCaches && Apart(in, out, n)) {
        // Far more than the caches hold: the output goes straight to memory, from where it is
        // 64-byte aligned, rather than through the caches (which would read each line first).
        size_t head = (64 - reinterpret_cast<uintptr_t>(out) % 64) % 64;
        MapOneByOne(table, in, out, head);
        for (i = head; i + 64 <= n; i += 64)
            _mm512_stream_si512(reinterpret_cast<__m512i *>(out + i), Looked(t0, t1, t2, t3, _mm512_loadu_si512(in + i)));
        _mm_sfence();
    } else {
        for (; i + 64 <= n; i += 64)
            _mm512_storeu_si512(out + i, Looked(t0, t1, t2, t3, _mm512_loadu_si512(in + i)));
    }
    MapOneByOne(table, in + i, out + i, n - i);
}

IN_REGISTERS void TableBitsInRegisters(const uint8_t table[256], const uint8_t *in, size_t n, uint64_t bits[8]) {
    const __m512i t0 = _mm512_loadu_si512(table), t1 = _mm512_loadu_si512(table + 64);
    const __m512i t2 = _mm512_loadu_si512(table + 128), t3 = _mm512_loadu_si512(table + 192);
    __mmask64 in64 = n >= 64 ? ~__mmask64(0) : (__mmask64(1) << n) - 1;
    __m512i bytes = _mm512_maskz_loadu_epi8(in64, in);
    __m512i looked = Looked(t0, t1, t2, t3, bytes);
    for (int b = 0; b < 8; b++)
        bits[b] = _mm512_mask_test_epi8_mask(in64, looked, _mm512_set1_epi8(static_cast<char>(1 << b)));
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
