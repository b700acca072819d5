// What the composer types for a key sequence as the converters run it.
#pragma once

#include <string>

#include "compose/composer.h"

// What FeedKey types for the keys on a fresh monolingual composer, erasures applied (the
// glyphs alone, no joiners).
inline std::string FedGlyphs(const std::string &keys) {
    ComposerState s = NewComposerState();
    s.options.joiners = 0;
    std::string glyphs;
    for (char k : keys)
        if (const ComposerActions *a = FeedKey(s, static_cast<unsigned char>(k))) {
            for (int i = 0; i < a->erase && !glyphs.empty(); i++) glyphs.pop_back();
            glyphs.append(reinterpret_cast<const char *>(a->insert), static_cast<size_t>(a->insertLength));
        }
    return glyphs;
}
