// ISCII typed through a composer, the plain way.
#include "iscii_typing.h"

#include "../base/conversion_data.h"

// Most codes are one key. The invisible consonant with RA, LLA or the vocalic R sign is that
// key with "X" (RRA, U+0CDE, the vocalic RR sign). The nukta glyph goes on a consonant once its
// syllable has its vowel sign, so a nukta before a sign is typed after it; on a subscript
// without a sign it stands after the syllable. The consonants whose "X" makes a letter of its
// own (r, L, j, P) take it first when they start a syllable.
size_t KeysOf(const uint8_t *p, bool afterHalant, uint8_t keys[4]) {
    const ConversionIndex &x = ConversionLookup;
    uint8_t c = p[0];
    keys[0] = x.strokeKey[c];
    keys[1] = 0;
    if (c == kIsciiInvisible && (p[1] == 207 || p[1] == 210 || p[1] == 223)) {
        keys[0] = x.strokeKey[p[1]];
        keys[1] = 'X';
        keys[2] = 0;
        return 2;
    }
    if (!IsIsciiConsonant(c) || p[1] != kIsciiNukta || !keys[0]) return 1;
    bool subscript = afterHalant;
    bool ownLetter = keys[0] == 'r' || keys[0] == 'L' || keys[0] == 'j' || keys[0] == 'P';
    if (subscript || !ownLetter) {
        uint8_t sign = p[2];
        if (IsIsciiVowelSign(sign) && sign != 223 && x.strokeKey[sign]) {
            keys[1] = x.strokeKey[sign];
            keys[2] = 'X';
            keys[3] = 0;
            return 3;
        }
        if (subscript) {
            keys[1] = ' ';  // the syllable ends; "X" on its own adds the nukta glyph
            keys[2] = 'X';
            keys[3] = 0;
            return 2;
        }
    }
    return 1;
}

uint8_t PlainCodeOf(uint8_t c) {
    if ((c >= 1 && c <= 64) || (c >= 91 && c <= 96) || (c >= 123 && c <= 126)) return c;
    if (c >= 241 && c <= 250) return static_cast<uint8_t>(c - 193);  // ISCII digits
    if (c == 199) return 242;  // NA with halant has a glyph of its own
    if (c == 234) return '.';
    return 0;
}

uint8_t LetterCodeOf(uint8_t c, bool bilingual, bool keepLetters) {
    const ConversionIndex &x = ConversionLookup;
    uint8_t code = x.monoOfLetter[c];
    if (!keepLetters || !code) return 0;
    // Monolingual text cannot hold the letters whose codes are Kannada glyphs as well.
    if (!bilingual && !x.letterOfPlainLatinCode[code]) return 0;
    return code;
}

ComposerState TypingComposer(bool bilingual) {
    ComposerState composer = NewComposerState();
    composer.options.bilingual = bilingual;
    return composer;
}

void EndTypedSyllable(ComposerState &s) {
    PushKey(s, kStateBoundary, ' ');
    ResetAllFlags(s);
    s.postedCount = 0;
}

void TypeIscii(uint8_t *iscii, size_t n, bool bilingual, bool keepLetters, bool rewriteLetters, TypedText &out) {
    const ConversionIndex &x = ConversionLookup;
    ComposerState composer = TypingComposer(bilingual);
    auto encode = [&](uint8_t code) { return bilingual ? x.mono2Bilingual[code] : code; };
    for (size_t i = 0; i < n && iscii[i]; i++) {
        uint8_t c = iscii[i];
        // A letter is no key of the layout here: it ends the syllable and stands for itself,
        // or is dropped.
        uint8_t code = IsAsciiLetter(c) ? LetterCodeOf(c, bilingual, keepLetters) : PlainCodeOf(c);
        if (code) {
            if (rewriteLetters && IsAsciiLetter(c)) iscii[i] = code;
            EndTypedSyllable(composer);
            out.Push(encode(code));
        } else if (!IsAsciiLetter(c)) {
            i += TypeCode(composer, iscii + i, i > 0 && iscii[i - 1] == kIsciiHalant, out) - 1;
        }
    }
}
