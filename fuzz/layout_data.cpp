// The layout loader on arbitrary text, then a few keys through the composer over the tables
// it made, as typing and as the converters run them.
#include <cstdint>
#include <string>

#include "compose/composer.h"
#include "compose/layout_data.h"
#include "kannada-tovi-desktop.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    ToviDesktopSetResource("LAYOUT", "TOVI_DATA", data, size);
    ResetLayoutData();
    LoadLayoutData();
    for (const char *keys : {"kfkfyi", "jXfkA", "RXrXLX", "kfxO"}) {
        ComposerState typing = NewComposerState(), fed = NewComposerState();
        typing.options.keyEngine = fed.options.bilingual = size % 2;
        for (const char *k = keys; *k; k++) {
            HandleLetterKey(typing, *k);
            FeedKey(fed, static_cast<unsigned char>(*k));
        }
        HandleBackspaceKey(typing);
    }
    return 0;
}
