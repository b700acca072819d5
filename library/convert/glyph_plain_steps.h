// Glyph text to UTF-8 the plain way, step by step: the glyphs read as the keyboard types them
// (monolingual text), the normalisation, the longest match to ISCII, the ISCII order, ISCII to
// UTF-8. The quick way (glyph_to_unicode.cpp) goes through these for each syllable it has not
// met before.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "iscii.h"
#include "unicode.h"

// A work buffer that keeps its memory from piece to piece and grows without clearing. Text
// up to kOnStack bytes works in the buffer's own room (no allocation); longer text takes
// memory once per call, or again for a piece longer than any before.
template <size_t kOnStack>
struct WorkBuffer {
    uint8_t own[kOnStack];
    std::unique_ptr<uint8_t[]> bytes;
    uint8_t *room = own;
    size_t size = kOnStack;
    uint8_t *Room(size_t n) {
        if (n > size) {
            bytes.reset(new uint8_t[n]);
            room = bytes.get();
            size = n;
        }
        return room;
    }
};

// The glyph text that the work buffers hold without an allocation.
constexpr size_t kShortText = kShortGlyphText;

// The plain steps, with their work buffers.
class PlainSteps {
public:
    // The UTF-8 of m monolingual glyphs at `text` into `out` (room for kUnicodePerIscii *
    // kIsciiPerGlyph * m bytes); returns its length. `joins`: how their ISCII joins others
    // (IsciiJoins). `fromBilingual`: they were bilingual text, which reads its Latin letters as
    // the bilingual ISCII conversion does; in monolingual text a Latin-letter code that is also
    // a Kannada glyph is the glyph, and the glyphs read as the keyboard types them.
    size_t Convert(const uint8_t *text, size_t m, bool fromBilingual, uint8_t *out, uint8_t &joins);

private:
    WorkBuffer<kShortText + 3> glyphs_;
    WorkBuffer<kIsciiPerGlyph * kShortText + 1> iscii_;
};
