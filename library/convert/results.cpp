#include "results.h"

#include <climits>
#include <cstdlib>
#include <cstring>

#include "../base/last_error.h"

namespace {

// The thread's result of each kind, freed when the thread ends.
struct TwinResults {
    char *buffer[kTwinResultKinds] = {};
    ~TwinResults() {
        for (char *b : buffer) std::free(b);
    }
};
thread_local TwinResults twinResults;

}  // namespace

bool CheckConverterArguments(const char *src, unsigned int dstSize) {
    if (!src || !*src) {
        LibraryLastError = kErrorEmptyInput;
        return false;
    }
    if (dstSize == 0) {
        LibraryLastError = kErrorDestinationSize;
        return false;
    }
    return true;
}

int ResultCount(size_t count) {
    if (count > static_cast<size_t>(INT_MAX)) {
        LibraryLastError = kErrorDestinationSize;
        return 0;
    }
    return static_cast<int>(count);
}

char *RunTwin(char *src, TwinResult kind, bool limited, TwinConverter convert) {
    size_t n = src ? std::strlen(src) : 0;
    if (n == 0) {
        LibraryLastError = kErrorEmptyInput;
        return nullptr;
    }
    if (limited && n > kTwinSourceLimit) {
        LibraryLastError = kErrorTooLong;
        return nullptr;
    }
    char *scratch = static_cast<char *>(std::malloc(n + 1));
    if (!scratch) {
        LibraryLastError = kErrorNoMemory;
        return nullptr;
    }
    std::memcpy(scratch, src, n + 1);
    int need = convert(scratch, nullptr, UINT_MAX);
    std::free(scratch);
    if (need < 0) need = 0;
    char *&result = twinResults.buffer[kind];
    std::free(result);
    result = static_cast<char *>(std::calloc(static_cast<size_t>(need) + 3, 1));
    if (!result) {
        LibraryLastError = kErrorNoMemory;
        return nullptr;
    }
    if (convert(src, result, static_cast<unsigned int>(need) + 3) == 0) {
        std::free(result);
        result = nullptr;
    }
    return result;
}
