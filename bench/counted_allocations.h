// Every allocation of the process is counted while `counting` is set: include it in one file
// of a benchmark only (it replaces malloc and operator new).
#pragma once

#include <cstdlib>
#include <new>

namespace {
bool counting = false;
long allocations = 0;
}  // namespace

extern "C" {
void *__libc_malloc(size_t);
void *__libc_calloc(size_t, size_t);
void *__libc_realloc(void *, size_t);
void __libc_free(void *);
void *malloc(size_t n) {
    allocations += counting;
    return __libc_malloc(n);
}
void *calloc(size_t n, size_t size) {
    allocations += counting;
    return __libc_calloc(n, size);
}
void *realloc(void *p, size_t n) {
    allocations += counting;
    return __libc_realloc(p, n);
}
}
void *operator new(size_t n) {
    allocations += counting;
    void *p = __libc_malloc(n ? n : 1);
    if (!p) throw std::bad_alloc();
    return p;
}
void operator delete(void *p) noexcept { __libc_free(p); }
void operator delete(void *p, size_t) noexcept { __libc_free(p); }
