// The composer on arbitrary key sequences through FeedKey, in both font types; a zero byte
// in the input resets the composition as the converters do between words.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "engine/composer.h"
#include "engine/process_attach.h"
#include "engine/shared_state.h"
#include "kannada-tovi.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    // A desktop of its own: the shared engine state of the user's desktop stays untouched.
    static bool attached = (setenv("TOVI_DESKTOP", "fuzz-composer", 0), ProcessAttach(), true);
    (void)attached;
    if (size == 0) return 0;
    Shared->fontType = data[0] & 1;
    ToviResetAllFlags();
    for (size_t i = 1; i < size; i++) {
        if (data[i] == 0) {
            ToviResetAllFlags();
            continue;
        }
        const char *typed = FeedKey(data[i]);
        if (typed && std::strlen(typed) >= kCaptureSize) __builtin_trap();
    }
    Shared->fontType = 1;
    return 0;
}
