// A small check harness for the programs that run under Wine (no test framework is built for
// the Windows targets). Each failed check prints its place; the program ends with the count.
#pragma once

#include <cstdio>

inline int checksPassed = 0;
inline int checksFailed = 0;

#define CHECK(condition)                                                        \
    do {                                                                        \
        if (condition) {                                                        \
            checksPassed++;                                                     \
        } else {                                                                \
            checksFailed++;                                                     \
            std::printf("%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
        }                                                                       \
    } while (0)

inline int CheckSummary() {
    std::printf("%d passed, %d failed\n", checksPassed, checksFailed);
    return checksFailed == 0 ? 0 : 1;
}
