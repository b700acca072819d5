// ISCII to glyph text the plain way: the keystrokes of each ISCII letter typed through a
// composer, as a writer types them. The quick way (iscii_to_glyph.cpp) gives the same text
// from what this gave before for each syllable, and types here whatever it cannot vouch for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "../compose/composer.h"
#include "iscii.h"

// The keys that type the ISCII code at p as a writer types it (zero-terminated in `keys`),
// and how many codes they take. `afterHalant`: the code before p is the halant.
size_t KeysOf(const uint8_t *p, bool afterHalant, uint8_t keys[4]);

// The glyph code of an ISCII code that stands for itself and ends the syllable (ASCII that is
// no letter, the digits, the dead NA, the full stop); 0 for a code that is typed, or a letter.
uint8_t PlainCodeOf(uint8_t c);

// The Latin-letter code of an ASCII letter in the output, or 0 when the letter is dropped
// (`keepLetters` off, no row, or in monolingual text a code that is a Kannada glyph as well).
uint8_t LetterCodeOf(uint8_t c, bool bilingual, bool keepLetters);

// A composer of a conversion's own: typing in the output encoding with typing's joiners, the
// key engine off.
ComposerState TypingComposer(bool bilingual);

// Ends the syllable being composed, before a character that is not a letter of the layout:
// what the composer typed for it is final, and nothing before it is read again.
void EndTypedSyllable(ComposerState &s);

// Where typed glyphs go: the first `length` bytes of a string that is kept larger, as room to
// write in, until the end. An erasure takes back the character before it, but none at or
// before `floor` (with nothing before it, it erases nothing).
struct TypedText {
    std::string &text;
    size_t length, floor;
    TypedText(std::string &text, size_t floor) : text(text), length(text.size()), floor(floor) {}
    ~TypedText() { text.resize(length); }
    TypedText(const TypedText &) = delete;
    TypedText &operator=(const TypedText &) = delete;

    uint8_t *Room(size_t n) {
        if (length + n > text.size()) text.resize(2 * text.size() + n + 64);
        return reinterpret_cast<uint8_t *>(&text[length]);
    }
    void Push(uint8_t c) {
        *Room(1) = c;
        length++;
    }
    void Apply(const ComposerActions &a) {
        size_t erase = static_cast<size_t>(a.erase);
        length -= erase < length - floor ? erase : length - floor;
        std::memcpy(Room(static_cast<size_t>(a.insertLength)), a.insert, static_cast<size_t>(a.insertLength));
        length += static_cast<size_t>(a.insertLength);
    }
};

// Types the ISCII code at p (with the codes its keys take along) through the composer into
// `out` (anything with Apply(const ComposerActions &)); returns how many codes it took. A vowel
// starts afresh.
template <typename Out>
inline size_t TypeCode(ComposerState &composer, const uint8_t *p, bool afterHalant, Out &out) {
    uint8_t c = *p;
    if (IsIsciiVowel(c) && c <= 177) ResetAllFlags(composer);
    // The record of typed glyphs stays far from overflowing in a text without a break.
    if (composer.postedCount > (1 << 30)) composer.postedCount = 0;
    uint8_t keys[4];
    size_t taken = KeysOf(p, afterHalant, keys);
    for (const uint8_t *key = keys; *key; key++)
        if (const ComposerActions *typed = FeedKey(composer, *key)) out.Apply(*typed);
    return taken;
}

// The n codes of ISCII at `iscii` (ending at a NUL before n) typed into `out` after what it
// holds, from a fresh composer. Kept letters are rewritten to their codes in the source when
// `rewriteLetters` (it is not read again).
void TypeIscii(uint8_t *iscii, size_t n, bool bilingual, bool keepLetters, bool rewriteLetters, TypedText &out);

// The same the quick way (iscii_to_glyph.cpp): from what typing gave for each syllable, which
// the codes must be readable past: iscii[n] is a NUL.
void TypeIsciiQuickly(uint8_t *iscii, size_t n, bool bilingual, bool keepLetters, bool rewriteLetters,
                      TypedText &out);

// How the ISCII of a syllable types inside a word, where its units (see iscii_to_glyph.cpp)
// give what they give alone: the key its first unit starts with, the keys whose unit may
// follow its last when it starts the word and when it does not, whether a unit may start after
// it (no halant or invisible consonant at its end), and the length of its glyphs. Or it is a
// code that stands for itself (`apart`): typing ends before it and starts afresh after it.
struct IsciiSyllable {
    bool apart;
    int firstKey;
    uint64_t followersFirst, followersInWord;
    bool endsJoinable;
    size_t length;
};
// The glyphs of the n codes at `iscii` into `glyphs` (room bytes); false when they do not type
// as one word of such units (a code that stands for itself, a unit that reads what was typed
// before it, or that types differently at a word's start), or do not fit.
bool TypeIsciiSyllable(const uint8_t *iscii, size_t n, bool bilingual, IsciiSyllable &typed, uint8_t *glyphs,
                       size_t room);
