// The key sequences the keyboard tests enumerate, and what the composer types for a sequence
// as the converters run it.
#pragma once

#include <string>

#include "compose/composer.h"

inline const char kConsonantKeys[] = "kKgGZcCjJzqQwWNtTdDnpPbBmyrlvSxshL";
inline const char *const kVowelKeys[] = {"", "a", "A", "i", "I", "u", "U", "R", "e", "E", "Y", "o", "O", "V", "M", "H", "F", "X", "f"};

// Every vowel key alone, every consonant with every vowel key, and every syllable of two or
// three consonants joined by the halant key with every vowel key: about 769,000 sequences.
// `f` sees each; `members` is the number of consonants.
template <typename F>
void ForEachKeySequence(F f) {
    std::string keys;
    for (const char *v : kVowelKeys) f(std::string(v), 0);
    for (const char *c = kConsonantKeys; *c; c++)
        for (const char *v : kVowelKeys) f(std::string(1, *c) + v, 1);
    for (const char *c = kConsonantKeys; *c; c++)
        for (const char *d = kConsonantKeys; *d; d++)
            for (const char *v : kVowelKeys) {
                keys.assign(1, *c).append("f").append(1, *d);
                f(keys + v, 2);
                for (const char *e = kConsonantKeys; *e; e++) f(keys + "f" + *e + v, 3);
            }
}

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
