// Glyph strings to UTF-8 Kannada and back, through ISCII.
#include "unicode.h"

#include <climits>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "../base/conversion_data.h"
#include "../base/glyph_classes.h"
#include "../base/last_error.h"
#include "../include/kannada-tovi.h"
#include "iscii.h"
#include "results.h"
#include "unicode_held.h"
#include "unicode_forms.h"
#include "utf8.h"

namespace {
// ---- UTF-8 to code points ---------------------------------------------------------------

// Decodes UTF-8 into `cps` (push_back); a byte that does not start a well-formed sequence is
// skipped. Four zeros follow, so that look-ahead needs no test.
template <typename CodePoints>
void Decode(const uint8_t *s, size_t n, CodePoints &cps) {
    for (size_t i = 0, len; i < n; i += len) {
        const int32_t cp = ReadUtf8(s, n, i, len);
        if (cp >= 0) cps.push_back(static_cast<uint32_t>(cp));
    }
    for (int k = 0; k < 4; k++) cps.push_back(0);
}

// ---- Code points to ISCII -----------------------------------------------------------------

bool IsKannada(uint32_t cp) { return cp >= 0x0C80 && cp <= 0x0CFF; }

// The ISCII of a consonant letter; RRA and U+0CDE are the invisible consonant with RA and
// LLA, as glyph text gives them. 0 for anything else.
int ConsonantIscii(uint32_t cp, uint8_t out[2]) {
    if (cp == kRra || cp == kLlla) {
        out[0] = kIsciiInvisible;
        out[1] = cp == kRra ? kIsciiRa : kIsciiLla;
        return 2;
    }
    if (!IsKannada(cp)) return 0;
    uint8_t c = kMap.iscii[cp - 0x0C80];
    if (!IsConsonantCode(c)) return 0;
    out[0] = c;
    return 1;
}

bool IsConsonant(uint32_t cp) {
    uint8_t scratch[2];
    return ConsonantIscii(cp, scratch) != 0;
}

bool IsVowelSignCp(uint32_t cp) {
    return (cp >= 0x0CBE && cp <= 0x0CCC && cp != 0x0CC5 && cp != 0x0CC9) || cp == kLengthMark ||
           cp == kAiLengthMark || cp == 0x0CE2 || cp == 0x0CE3;
}

// Where ISCII bytes go: a string, or room known to be large enough.
struct IsciiRoom {
    uint8_t *bytes;
    size_t length = 0;
    bool empty() const { return length == 0; }
    char &back() { return reinterpret_cast<char &>(bytes[length - 1]); }
    void push_back(char c) { bytes[length++] = static_cast<uint8_t>(c); }
    void append(const char *s, size_t n) {
        std::memcpy(bytes + length, s, n);
        length += n;
    }
    IsciiRoom &operator+=(const char *s) {
        append(s, std::strlen(s));
        return *this;
    }
};

// A vowel sign, composing the split forms (I + length mark, E + UU, E + length marks, O +
// length mark) with the sign written before it.
template <typename Out>
void PutSign(uint32_t cp, Out &out) {
    uint8_t last = out.empty() ? 0 : static_cast<uint8_t>(out.back());
    auto replaceLast = [&](uint8_t c) { out.back() = static_cast<char>(c); };
    switch (cp) {
    case kLengthMark:
        if (last == 219) replaceLast(220);
        else if (last == kIsciiESign) replaceLast(225);
        else if (last == kIsciiOSign) replaceLast(229);
        return;
    case kAiLengthMark:
        if (last == kIsciiESign) replaceLast(226);
        return;
    case 0x0CC2:
        if (last == kIsciiESign) return replaceLast(kIsciiOSign);
        break;
    case kVocalicRrSign: out += "\xD9\xDF"; return;  // 217 223
    case 0x0CE2: out += "\xDB\xE9"; return;          // 219 233
    case 0x0CE3: out += "\xDC\xE9"; return;          // 220 233
    default: break;
    }
    if (uint8_t c = kMap.iscii[cp - 0x0C80]) out.push_back(static_cast<char>(c));
}

// One syllable that starts with a consonant at cps[i]; returns the index after it.
template <typename Out>
size_t PutSyllable(const uint32_t *cps, size_t i, Out &out) {
    bool repha = false;
    if (cps[i] == kRa && cps[i + 1] == kVirama && IsConsonant(cps[i + 2])) {
        repha = true;  // written after the syllable in ISCII, as it is typed
        i += 2;
    }
    bool linked = false;  // a halant joins this consonant to the one before
    for (;;) {
        uint32_t c = cps[i];
        if (c == kRa && cps[i + 1] == kZwj && cps[i + 2] == kVirama && IsConsonant(cps[i + 3])) {
            out += "\xCF\xE8";  // RA + halant: RA with the subscript, not the repha
            i += 3;
            linked = true;
            continue;
        }
        uint8_t code[2];
        int n = ConsonantIscii(c, code);
        out.append(reinterpret_cast<const char *>(code), n);
        i++;
        bool nukta = false;
        if (cps[i] == kNukta) {
            out.push_back(static_cast<char>(kIsciiNukta));
            nukta = true;
            i++;
        }
        if (cps[i] != kVirama) break;
        uint32_t next = cps[i + 1];
        if (IsConsonant(next)) {
            out.push_back(static_cast<char>(kIsciiHalant));
            i++;
            linked = true;
            continue;
        }
        if (next == kZwnj || next == kZwj) {
            // Either joiner after the virama shows the halant (Kannada has no half forms),
            // and the cluster ends.
            out += "\xE8\xE8";
            i += 2;
            break;
        }
        // A dead consonant shows its halant, as the halant glyph reads; NA has a glyph of its
        // own for it.
        if (c == kNa && !nukta && !repha && !linked) out.back() = static_cast<char>(kIsciiDeadNa);
        else out += "\xE8\xE8";
        i++;
        break;
    }
    while (IsVowelSignCp(cps[i])) PutSign(cps[i++], out);
    if (repha) out.push_back(static_cast<char>(kIsciiRepha));
    return i;
}

// ---- Glyph strings and the exports --------------------------------------------------------

// The output of a bridge export: -5 when there is none, -3 when it does not fit dstSize.
int Deliver(const uint8_t *result, size_t length, char *dst, unsigned int dstSize) {
    if (length == 0) {
        LibraryLastError = kErrorNoOutput;
        return 0;
    }
    if (dst) {
        if (length >= dstSize) {
            LibraryLastError = kErrorDestinationSize;
            return 0;
        }
        std::memcpy(dst, result, length);
        dst[length] = '\0';
    }
    return ResultCount(length);
}

// From Unicode: the characters the encoding cannot hold are left out, then the rest converted.
int FromUnicodeExport(const char *src, char *dst, unsigned int dstSize, HeldIn encoding) {
    if (!CheckConverterArguments(src, dstSize)) return 0;
    std::string out;
    ConvertHeld(reinterpret_cast<const uint8_t *>(src), std::strlen(src), encoding, out);
    return Deliver(reinterpret_cast<const uint8_t *>(out.data()), out.size(), dst, dstSize);
}

template <typename Convert>
int Guarded(Convert convert) {
    try {
        return convert();
    } catch (const std::bad_alloc &) {
        LibraryLastError = kErrorNoMemory;
        return 0;
    }
}

}  // namespace


namespace {

// The ISCII of n code points (four zeros after them), after what `out` holds.
template <typename Out>
void CodePointsToIscii(const uint32_t *cps, size_t n, Out &out) {
    size_t i = 0;
    while (i < n) {
        uint32_t cp = cps[i];
        if (cp == 0) break;
        if (IsConsonant(cp)) {
            i = PutSyllable(cps, i, out);
            continue;
        }
        i++;
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp == 0x0C8C || cp == 0x0CE0 || cp == 0x0CE1) {
            out.push_back(static_cast<char>(cp == 0x0C8C ? 166 : cp == 0x0CE0 ? 170 : 167));
            out.push_back(static_cast<char>(kIsciiNukta));
        } else if (IsVowelSignCp(cp)) {
            PutSign(cp, out);
        } else if (cp == kVirama) {
            out += "\xE8\xE8";  // no consonant before to join: the halant shows
            if (cps[i] == kZwnj) i++;
        } else if (cp == 0x0CBD) {
            out += "\xEA\xE9";  // avagraha: full stop + nukta
        } else if (cp == 0x0964) {
            out.push_back(static_cast<char>(234));
        } else if (cp == kZwj) {
            // The invisible consonant, but not before RA, LLA or the vocalic R sign: with
            // those it writes RRA, U+0CDE and the vocalic RR sign.
            uint32_t next = cps[i];
            if (next != kRa && next != 0x0CB3 && next != 0x0CC3) out.push_back(static_cast<char>(kIsciiInvisible));
        } else if (IsKannada(cp) && kMap.iscii[cp - 0x0C80]) {
            out.push_back(static_cast<char>(kMap.iscii[cp - 0x0C80]));
        }
    }
}

// Code points in room known to be large enough.
struct CodePointRoom {
    uint32_t *cps;
    size_t length = 0;
    void push_back(uint32_t cp) { cps[length++] = cp; }
};

}  // namespace

void UnicodeToIscii(const uint8_t *utf8, size_t length, std::string &out) {
    std::vector<uint32_t> cps;
    cps.reserve(length + 4);
    Decode(utf8, length, cps);
    out.reserve(out.size() + 2 * (cps.size() - 4));
    CodePointsToIscii(cps.data(), cps.size() - 4, out);
}

size_t ShortUnicodeToIscii(const uint8_t *utf8, size_t length, uint8_t *out) {
    uint32_t cps[kShortUnicode + 4];
    CodePointRoom room{cps};
    Decode(utf8, length, room);
    IsciiRoom iscii{out};
    CodePointsToIscii(cps, room.length - 4, iscii);
    return iscii.length;
}


void UnicodeToGlyphs(const uint8_t *utf8, size_t length, bool bilingual, std::string &out) {
    std::string iscii;
    UnicodeToIscii(utf8, length, iscii);
    // The bilingual encoding has no glyph of the dead NA (its code is the letter Q there): NA
    // with the halant shown stands for it.
    if (bilingual)
        for (size_t at = 0; (at = iscii.find(static_cast<char>(kIsciiDeadNa), at)) != std::string::npos; at += 3)
            iscii.replace(at, 1, "\xC6\xE8\xE8");
    out.clear();
    IsciiToGlyphString(&iscii[0], bilingual, true, false, out);
}

namespace {

constexpr int kMonolingualGlyphs = 1, kBilingualGlyphs = 2, kIscii = 3;


int UnheldExport(const char *utf8, int encoding, int *offsets, int *codePoints, int capacity) {
    if (!utf8 || encoding < kMonolingualGlyphs || encoding > kIscii) {
        LibraryLastError = kErrorEmptyInput;
        return -1;
    }
    HeldIn in = encoding == kIscii ? HeldIn::kIscii : encoding == kBilingualGlyphs ? HeldIn::kBilingual
                                                                                    : HeldIn::kMonolingual;
    std::vector<UnheldCharacter> unheld;
    size_t n = std::strlen(utf8);
    if (n > INT_MAX) {
        LibraryLastError = kErrorDestinationSize;
        return -1;
    }
    FindUnheld(reinterpret_cast<const uint8_t *>(utf8), n, in, unheld);
    for (size_t i = 0; i < unheld.size() && static_cast<int>(i) < capacity; i++) {
        if (offsets) offsets[i] = static_cast<int>(unheld[i].offset);
        if (codePoints) codePoints[i] = unheld[i].codePoint;
    }
    return static_cast<int>(unheld.size());
}

}  // namespace

extern "C" {

int TOVI_CDECL ToviMonolingualGlyph2Unicode(const char *src, char *dst, unsigned int dstSize) {
    return Guarded([&] { return GlyphToUnicodeExport(src, dst, dstSize, false); });
}

int TOVI_CDECL ToviBilingualGlyph2Unicode(const char *src, char *dst, unsigned int dstSize) {
    return Guarded([&] { return GlyphToUnicodeExport(src, dst, dstSize, true); });
}

int TOVI_CDECL ToviUnicode2MonolingualGlyph(const char *src, char *dst, unsigned int dstSize) {
    return Guarded([&] { return FromUnicodeExport(src, dst, dstSize, HeldIn::kMonolingual); });
}

int TOVI_CDECL ToviUnicode2BilingualGlyph(const char *src, char *dst, unsigned int dstSize) {
    return Guarded([&] { return FromUnicodeExport(src, dst, dstSize, HeldIn::kBilingual); });
}

int TOVI_CDECL ToviUnicode2ISCII(const char *src, char *dst, unsigned int dstSize) {
    return Guarded([&] { return FromUnicodeExport(src, dst, dstSize, HeldIn::kIscii); });
}

int TOVI_CDECL ToviISCII2Unicode(const char *src, char *dst, unsigned int dstSize) {
    return Guarded([&] { return IsciiToUnicodeExport(src, dst, dstSize); });
}

int TOVI_CDECL ToviUnicodeUnheld(const char *utf8, int encoding, int *offsets, int *codePoints, int capacity) {
    try {
        return UnheldExport(utf8, encoding, offsets, codePoints, capacity);
    } catch (const std::bad_alloc &) {
        LibraryLastError = kErrorNoMemory;
        return -1;
    }
}

}  // extern "C"
