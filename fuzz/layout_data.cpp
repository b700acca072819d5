// The layout loader on arbitrary text, then a few keys through the composer over the tables
// it made.
#include <cstdint>
#include <string>

#include "engine/composer.h"
#include "engine/layout_data.h"
#include "kannada-tovi-desktop.h"
#include "kannada-tovi.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    ToviDesktopSetResource("LAYOUT", "TOVI_DATA", data, size);
    ResetLayoutData();
    LoadLayoutData();
    ToviResetAllFlags();
    for (const char *keys : {"kfkfyi", "jXfkA", "RXrXLX", "kfxO"})
        for (const char *k = keys; *k; k++) FeedKey(static_cast<unsigned char>(*k));
    return 0;
}
