// The key sequences the keyboard tests enumerate.
#pragma once

#include <string>

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
