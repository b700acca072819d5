// KSCLP keys of glyph strings (through ISCII) and the comparisons built on them.
#include "ksclp.h"

#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "../base/conversion_data.h"
#include "../base/last_error.h"
#include "../include/kannada-tovi.h"
#include "iscii.h"
#include "results.h"

namespace {

constexpr uint8_t kInherentVowel = 182;
constexpr uint8_t kKeyHalant = 181;
constexpr uint8_t kKeyRa = 229;
constexpr uint8_t kKeyRepha = 230;   // ISCII 208 after the shift
constexpr uint8_t kKeyNa = 220;
constexpr uint8_t kKeyNaHalant = 221;  // ISCII 199 after the shift
constexpr uint8_t kKeyInvisible = 243;

bool IsKeyConsonant(uint8_t d) { return d >= 201 && d <= 237; }
bool IsKeyVowel(uint8_t d) { return d >= 161 && d <= 177; }

// The shifted code of one ISCII byte: consonants and vowel signs move to their collation
// places; the other codes take their <KSCSSortCode> correction or stay.
uint8_t Shift(uint8_t c) {
    if (c >= 179 && c <= 209) return static_cast<uint8_t>(c + 22);
    if (c >= 218 && c <= 231) return static_cast<uint8_t>(c - 35);
    return ConversionLookup.sortCode[c];
}

// A byte that can open a syllable when the byte before it closes one.
bool OpensSyllable(uint8_t d) { return IsKeyVowel(d) || IsKeyConsonant(d); }
bool ClosesSyllable(uint8_t d) { return IsKeyVowel(d) || (d >= 182 && d <= 195) || IsKeyConsonant(d); }

// Shifts the ISCII codes and writes each repha as RA + halant in front of the cluster it
// follows. The cluster starts at the last byte that opens a syllable after one that closes
// one; the search never crosses a byte outside Kannada (a space, a digit, a letter), so a
// repha stays in its own word and a repha with no cluster before it stays where it is.
// `out` has room for two bytes per ISCII byte; returns the count written.
//
// A repha goes where the cluster (or, with none, the word) starts, which is always the end of
// what stands before the bytes since: those bytes are held apart in `tail` until the place
// moves on to the end, so that each byte is moved once, however many rephas a cluster takes.
size_t ShiftAndMoveRepha(const uint8_t *iscii, size_t length, uint8_t *out, uint8_t *tail) {
    size_t m = 0, t = 0;  // what stands before the place, and after it
    size_t wordStart = 0;  // where the word starts, counted over both
    auto flush = [&] {
        std::memcpy(out + m, tail, t);
        m += t;
        t = 0;
    };
    for (size_t i = 0; i < length; i++) {
        uint8_t d = Shift(iscii[i]);
        if (d == kKeyRepha) {
            // The cluster's start or, with none, the word's: both are the place.
            out[m++] = kKeyRa;
            out[m++] = kKeyHalant;
            continue;
        }
        uint8_t before = t ? tail[t - 1] : m ? out[m - 1] : 0;
        if (d < 161) {
            tail[t++] = d;
            flush();
            wordStart = m;
        } else if (m + t > wordStart && OpensSyllable(d) && ClosesSyllable(before)) {
            flush();
            tail[t++] = d;
        } else {
            tail[t++] = d;
        }
    }
    flush();
    return m;
}

// The key of shifted text: a consonant that no sign, halant or nukta follows takes the
// inherent vowel byte; halants vanish; NA + halant sorts as NA; the invisible consonant with
// RA or LLA sorts as the letter it makes. `key` has room for two bytes per shifted byte.
size_t BuildKey(uint8_t *r, size_t m, uint8_t *key) {
    uint8_t *k = key;
    for (size_t j = 0; j < m; j++) {
        uint8_t d = r[j];
        uint8_t e = j + 1 < m ? r[j + 1] : 0;
        if (IsKeyConsonant(d) && d != kKeyNaHalant &&
            ((e >= 201 && e <= 238) || IsKeyVowel(e) || e < 161 || e > 243)) {
            *k++ = d;
            *k++ = kInherentVowel;
        } else if (d == kKeyHalant) {
        } else if (d == kKeyNaHalant) {
            *k++ = kKeyNa;
        } else if (d == kKeyInvisible && (e == 229 || e == 237)) {
            r[j + 1] = static_cast<uint8_t>(e + 1);
            *k++ = static_cast<uint8_t>(e + 1);
        } else {
            *k++ = d;
        }
    }
    return static_cast<size_t>(k - key);
}


// The work of one key: on the stack for a name, from the heap for a long text.
class KeyWork {
public:
    // For a glyph string of n bytes.
    explicit KeyWork(size_t n) {
        size_t need = (kIsciiPerGlyph + 2 * kIsciiPerGlyph + kIsciiPerGlyph + kKeyPerIscii * kIsciiPerGlyph) * n + 8;
        uint8_t *room = own_;
        if (need > sizeof own_) {
            heap_.reset(new uint8_t[need]);
            room = heap_.get();
        }
        iscii = room;
        shifted = iscii + kIsciiPerGlyph * n + 2;
        tail = shifted + 2 * kIsciiPerGlyph * n + 2;
        key = tail + kIsciiPerGlyph * n + 2;
    }

    uint8_t *iscii, *shifted, *tail, *key;

private:
    static constexpr size_t kShortGlyphs = 64;  // names have fewer
    uint8_t own_[(1 + 2 + 1 + kKeyPerIscii) * kIsciiPerGlyph * kShortGlyphs + 8];
    std::unique_ptr<uint8_t[]> heap_;
};

// The key of a glyph string of n bytes (NUL-terminated) into work.key; false when it cannot
// be made (a bilingual string that yields nothing).
bool KeyOf(char *src, size_t n, bool bilingual, KeyWork &work, size_t &length) {
    size_t k;
    if (!GlyphStringToIscii(src, n, bilingual, work.iscii, k)) return false;
    length = IsciiToKsclp(work.iscii, k, bilingual, work.shifted, work.tail, work.key);
    return true;
}

// Key of a glyph string cut to dstSize - 1 bytes, into dst when given.
int GlyphToKsclpExport(char *src, char *dst, unsigned int dstSize, bool bilingual) {
    if (!CheckConverterArguments(src, dstSize)) return 0;
    try {
        size_t n = std::strlen(src), length;
        KeyWork work(n);
        if (!KeyOf(src, n, bilingual, work, length)) return 0;
        if (length > dstSize - 1) length = dstSize - 1;
        if (dst) {
            std::memcpy(dst, work.key, length);
            dst[length] = '\0';
        }
        return ResultCount(length);
    } catch (const std::bad_alloc &) {
        LibraryLastError = kErrorNoMemory;
        return 0;
    }
}

// -1, 0 or 1 by the whole keys of a and b; 999 when an argument is missing or empty or a key
// cannot be made. The keys are made from copies: the strings stay as they are.
int Compare(const char *a, const char *b, bool bilingual) {
    if (!a || !b || !*a || !*b) {
        LibraryLastError = kErrorEmptyInput;
        return 999;
    }
    try {
        size_t lengthA, lengthB, n = std::strlen(a), m = std::strlen(b);
        std::string copyA(a, n), copyB(b, m);
        KeyWork workA(n), workB(m);
        if (!KeyOf(&copyA[0], n, bilingual, workA, lengthA) || lengthA == 0) return 999;
        if (!KeyOf(&copyB[0], m, bilingual, workB, lengthB) || lengthB == 0) return 999;
        int c = std::memcmp(workA.key, workB.key, lengthA < lengthB ? lengthA : lengthB);
        if (c == 0) c = lengthA < lengthB ? -1 : lengthA > lengthB ? 1 : 0;
        return c < 0 ? -1 : c > 0 ? 1 : 0;
    } catch (const std::bad_alloc &) {
        LibraryLastError = kErrorNoMemory;
        return 999;
    }
}

}  // namespace

size_t IsciiToKsclp(const uint8_t *iscii, size_t length, bool bilingual, uint8_t *shifted, uint8_t *tail,
                    uint8_t *key) {
    size_t m = ShiftAndMoveRepha(iscii, length, shifted, tail);
    size_t n = BuildKey(shifted, m, key);
    if (bilingual)
        for (size_t i = 0; i < n; i++)
            if (IsAsciiLetter(key[i])) key[i] = ConversionLookup.ksclpOfLetter[key[i]];
    return n;
}

extern "C" {

int TOVI_CDECL ToviMonolingualGlyph2KSCLP(char *src, char *dst, unsigned int dstSize) {
    return GlyphToKsclpExport(src, dst, dstSize, false);
}

int TOVI_CDECL ToviBilingualGlyph2KSCLP(char *src, char *dst, unsigned int dstSize) {
    return GlyphToKsclpExport(src, dst, dstSize, true);
}

char *TOVI_STDCALL ToviMonolingualGlyph2KSCLPVB(char *src) {
    return RunTwin(src, kSortKeyResult, true, ToviMonolingualGlyph2KSCLP);
}

char *TOVI_STDCALL ToviBilingualGlyph2KSCLPVB(char *src) {
    return RunTwin(src, kSortKeyResult, true, ToviBilingualGlyph2KSCLP);
}

int TOVI_CDECL ToviMonolingualGlyphCompare(const char *a, const char *b) { return Compare(a, b, false); }

int TOVI_CDECL ToviBilingualGlyphCompare(const char *a, const char *b) { return Compare(a, b, true); }

int TOVI_STDCALL ToviMonolingualGlyphCompareVB(const char *a, const char *b) { return Compare(a, b, false); }

int TOVI_STDCALL ToviBilingualGlyphCompareVB(const char *a, const char *b) { return Compare(a, b, true); }

}  // extern "C"
