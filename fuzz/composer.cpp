// The composer on arbitrary key sequences with arbitrary options: as typing runs it (letters
// and Backspace, a zero byte ends the syllable) or as the converters do (any code through
// FeedKey). No key may ask for more codes than the actions hold.
#include <cstdint>
#include <cstdlib>

#include "compose/composer.h"
#include "engine/process_attach.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    // A desktop of its own: the shared engine state of the user's desktop stays untouched.
    static bool attached = (setenv("TOVI_DESKTOP", "fuzz-composer", 0), ProcessAttach(), true);
    (void)attached;
    if (size == 0) return 0;
    ComposerState s = NewComposerState();
    s.options.bilingual = data[0] & 1;
    s.options.keyEngine = (data[0] >> 1) & 1;
    s.options.joiners = (data[0] >> 2) & 1;
    const bool typing = (data[0] >> 3) & 1;
    for (size_t i = 1; i < size; i++) {
        uint8_t c = data[i];
        if (!typing) {
            FeedKey(s, c);
        } else if (c == 0) {
            EndSyllable(s, ' ', true);
        } else if (c == 8) {
            HandleBackspaceKey(s);
        } else {
            HandleLetterKey(s, (c & 1 ? 'A' : 'a') + (c >> 1) % 26);
        }
        if (s.actions.insertLength >= kActionBytes) __builtin_trap();
    }
    return 0;
}
