// The conversion data loader on arbitrary text, then the glyph mapping over the tables it made.
#include <cstdint>
#include <string>

#include "base/conversion_data.h"
#include "kannada-tovi-desktop.h"
#include "kannada-tovi.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    ToviDesktopSetResource("LAYOUT", "TOVI_ISCII_DATA", data, size);
    ResetConversionData();
    LoadConversionData();
    std::string text(reinterpret_cast<const char *>(data), size);
    text = text.c_str();
    if (!text.empty()) {
        std::string out(text.size() + 1, '\0');
        ToviMonolingual2BilingualGlyph(text.c_str(), &out[0], static_cast<unsigned>(out.size()));
        ToviBilingual2MonolingualGlyph(text.c_str(), &out[0], static_cast<unsigned>(out.size()));
    }
    return 0;
}
