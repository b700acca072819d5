// The composer on arbitrary key sequences with arbitrary options: as typing runs it (letters
// and Backspace, a zero byte ends the syllable) or as the converters do (any code through
// FeedKey), and as a composer of kannada-tovi-composer.h. No key may ask for more codes than
// the actions hold, and a host that applies a composer's results holds what it committed and
// then its pre-edit.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "compose/composer.h"
#include "engine/process_attach.h"
#include "kannada-tovi-composer.h"

namespace {

void FeedAComposer(int output, const uint8_t *data, size_t size) {
    ToviComposer *c = ToviComposerNew(output, data[0] & TOVI_COMPOSER_KEY_ENGINE);
    std::string text, committed;
    ToviComposerResult r;
    for (size_t i = 1; i < size; i++) {
        int key = data[i] == 0 ? ' ' : data[i] == 8 ? 8 : (data[i] & 1 ? 'A' : 'a') + (data[i] >> 1) % 26;
        auto eraseOne = [&] {
            while (output == TOVI_COMPOSER_UTF8 && text.size() > 1 && (text.back() & 0xC0) == 0x80) text.pop_back();
            if (!text.empty()) text.pop_back();
        };
        if (!ToviComposerFeed(c, key, &r)) {
            if (key == 8) eraseOne();  // the host's own Backspace
            else text.clear();         // the host's own key: what it wrote is final
            if (committed.size() > text.size() || key != 8) committed = text;
        }
        for (int e = 0; e < r.erase; e++) eraseOne();
        text.append(r.insert, static_cast<size_t>(r.insertLength));
        committed.append(r.commit, static_cast<size_t>(r.commitLength));
        if (committed + std::string(r.preedit, static_cast<size_t>(r.preeditLength)) != text) __builtin_trap();
    }
    ToviComposerFree(c);
}

}  // namespace

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
            EndSyllable(s, ' ');
        } else if (c == 8) {
            HandleBackspaceKey(s);
        } else {
            HandleLetterKey(s, (c & 1 ? 'A' : 'a') + (c >> 1) % 26);
        }
        if (s.actions.insertLength >= kActionBytes) __builtin_trap();
    }
    FeedAComposer((data[0] >> 4) % 3, data, size);
    return 0;
}
