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

namespace {

constexpr uint32_t kZwnj = 0x200C;
constexpr uint32_t kZwj = 0x200D;
constexpr uint32_t kNukta = 0x0CBC;
constexpr uint32_t kVirama = 0x0CCD;
constexpr uint32_t kRa = 0x0CB0;
constexpr uint32_t kNa = 0x0CA8;
constexpr uint32_t kRra = 0x0CB1;
constexpr uint32_t kLlla = 0x0CDE;
constexpr uint32_t kVocalicRrSign = 0x0CC4;
constexpr uint32_t kLengthMark = 0x0CD5;
constexpr uint32_t kAiLengthMark = 0x0CD6;

constexpr uint8_t kIsciiNa = 198;
constexpr uint8_t kIsciiDeadNa = 199;
constexpr uint8_t kIsciiRa = 207;
constexpr uint8_t kIsciiRepha = 208;
constexpr uint8_t kIsciiLla = 210;
constexpr uint8_t kIsciiESign = 224;
constexpr uint8_t kIsciiUuSign = 222;
constexpr uint8_t kIsciiOSign = 228;

// The ISCII-91 Kannada correspondence, one code point per ISCII code (0: none).
struct Correspondence {
    uint16_t unicode[256];
    uint8_t iscii[128];  // of U+0C80 + i
    constexpr Correspondence() : unicode(), iscii() {
        for (int c = 1; c <= 160; c++) unicode[c] = static_cast<uint16_t>(c);  // ASCII, C1 controls, no-break space
        const uint16_t kannada[][2] = {
            {161, 0x0C81}, {162, 0x0C82}, {163, 0x0C83}, {164, 0x0C85}, {165, 0x0C86}, {166, 0x0C87},
            {167, 0x0C88}, {168, 0x0C89}, {169, 0x0C8A}, {170, 0x0C8B}, {171, 0x0C8E}, {172, 0x0C8F},
            {173, 0x0C90}, {175, 0x0C92}, {176, 0x0C93}, {177, 0x0C94}, {200, 0x0CAA}, {201, 0x0CAB},
            {202, 0x0CAC}, {203, 0x0CAD}, {204, 0x0CAE}, {205, 0x0CAF}, {207, 0x0CB0}, {209, 0x0CB2},
            {210, 0x0CB3}, {212, 0x0CB5}, {213, 0x0CB6}, {214, 0x0CB7}, {215, 0x0CB8}, {216, 0x0CB9},
            {218, 0x0CBE}, {219, 0x0CBF}, {220, 0x0CC0}, {221, 0x0CC1}, {222, 0x0CC2}, {223, 0x0CC3},
            {224, 0x0CC6}, {225, 0x0CC7}, {226, 0x0CC8}, {228, 0x0CCA}, {229, 0x0CCB}, {230, 0x0CCC},
            {232, 0x0CCD}, {233, 0x0CBC}};
        for (const auto &pair : kannada) {
            unicode[pair[0]] = pair[1];
            iscii[pair[1] - 0x0C80] = static_cast<uint8_t>(pair[0]);
        }
        for (int c = 179; c <= 198; c++) {  // KA .. NA
            unicode[c] = static_cast<uint16_t>(0x0C95 + c - 179);
            iscii[0x15 + c - 179] = static_cast<uint8_t>(c);
        }
        for (int c = 241; c <= 250; c++) {  // digits
            unicode[c] = static_cast<uint16_t>(0x0CE6 + c - 241);
            iscii[0x66 + c - 241] = static_cast<uint8_t>(c);
        }
        unicode[234] = 0x0964;  // the full stop is the danda
    }
};
constexpr Correspondence kMap;

// How IsciiToUnicode reads a code. Most are plain: their UTF-8 and a change of the cluster
// state (a consonant opens a cluster, a sign or modifier keeps it open, a halant keeps it and
// may link the next consonant to it, anything else ends it). The others, and plain codes in
// some places, are read in their context.
enum : uint8_t {
    kConsonantCode = 1,
    kKeepsCluster = 2,
    kHalantCode = 4,
};

// What stands around a code, as bits: a code is read in context when its `notPlainBy` bits
// meet those of the code after it. (A halant after RA is read in context too: the RA before
// it takes it along, see IsciiToUnicode.) The bits of the code before serve the cluster state.
enum : uint8_t {
    kBeforeNukta = 1,      // the next code is the nukta
    kBeforeUu = 2,         // ... the UU sign
    kBeforeHalant = 4,     // ... the halant
    kAlways = 8,           // always set
    kAfterLinking = 32,    // the code before is a consonant or the nukta: a halant after it may link
};

// A code as IsciiToUnicode reads it, in eight bytes.
struct IsciiForm {
    uint8_t utf8[4] = {};  // up to three bytes, then zeros
    uint8_t length = 0;
    uint8_t kind = 0;
    uint8_t notPlainBy = kAlways;
    uint8_t unused = 0;
};

struct Utf8Forms {
    IsciiForm of[256];
    uint8_t asNext[256];      // the bits of a code as the one after another
    uint8_t asPrevious[256];  // ... as the one before
    constexpr Utf8Forms() : of(), asNext(), asPrevious() {
        for (int c = 0; c < 256; c++) {
            uint32_t cp = kMap.unicode[c];
            IsciiForm &f = of[c];
            if (cp == 0) {
            } else if (cp < 0x80) {
                f.length = 1;
                f.utf8[0] = static_cast<uint8_t>(cp);
            } else if (cp < 0x800) {
                f.length = 2;
                f.utf8[0] = static_cast<uint8_t>(0xC0 | (cp >> 6));
                f.utf8[1] = static_cast<uint8_t>(0x80 | (cp & 0x3F));
            } else {
                f.length = 3;
                f.utf8[0] = static_cast<uint8_t>(0xE0 | (cp >> 12));
                f.utf8[1] = static_cast<uint8_t>(0x80 | ((cp >> 6) & 0x3F));
                f.utf8[2] = static_cast<uint8_t>(0x80 | (cp & 0x3F));
            }
            bool consonant = c >= 179 && c <= 216 && cp != 0;
            if (c == 0) {
            } else if (c <= 160 || (c >= 171 && c <= 177) || c == 164 || c == 165 || c == 168 || c == 169 ||
                       (c >= 241 && c <= 250) || c == 234 || c == 206 || c == 211 || c == 178 || c == 240 ||
                       c >= 251) {
                f.notPlainBy = 0;
            } else if (consonant) {
                f.kind = kConsonantCode;
                f.notPlainBy = 0;
            } else if ((c >= 161 && c <= 163) || (c >= 218 && c <= 231) || c == 233) {
                f.kind = kKeepsCluster;
                f.notPlainBy = 0;
            }
            asPrevious[c] = consonant || c == kIsciiNukta ? kAfterLinking : 0;
            asNext[c] = kAlways;
        }
        for (int c : {166, 167, 170, 219, 220, 223}) of[c].notPlainBy = kBeforeNukta;
        of[224].notPlainBy = kBeforeUu;
        // The halant before a consonant; before a halant or nukta, or after RA, it is read in
        // context.
        of[kIsciiHalant].kind = kKeepsCluster | kHalantCode;
        of[kIsciiHalant].notPlainBy = kBeforeHalant | kBeforeNukta;
        // RA is plain; before a halant it goes to the context reading with the halant.
        of[kIsciiRa].notPlainBy = kBeforeHalant;
        asNext[kIsciiNukta] |= kBeforeNukta;
        asNext[kIsciiUuSign] |= kBeforeUu;
        asNext[kIsciiHalant] |= kBeforeHalant;
    }
};
constexpr Utf8Forms kUtf8;

bool IsConsonantCode(uint8_t c) { return IsIsciiConsonant(c) && kMap.unicode[c] != 0; }

uint8_t *PutUtf8(uint8_t *o, uint32_t cp) {
    if (cp < 0x80) {
        *o++ = static_cast<uint8_t>(cp);
    } else if (cp < 0x800) {
        *o++ = static_cast<uint8_t>(0xC0 | (cp >> 6));
        *o++ = static_cast<uint8_t>(0x80 | (cp & 0x3F));
    } else {
        *o++ = static_cast<uint8_t>(0xE0 | (cp >> 12));
        *o++ = static_cast<uint8_t>(0x80 | ((cp >> 6) & 0x3F));
        *o++ = static_cast<uint8_t>(0x80 | (cp & 0x3F));
    }
    return o;
}

// The vowels and signs that ISCII writes as a code + nukta.
uint32_t WithNukta(uint8_t c) {
    switch (c) {
    case 166: return 0x0C8C;  // vocalic L
    case 167: return 0x0CE1;  // vocalic LL
    case 170: return 0x0CE0;  // vocalic RR
    case 219: return 0x0CE2;  // the vocalic L sign
    case 220: return 0x0CE3;  // the vocalic LL sign
    case 223: return kVocalicRrSign;
    default: return 0;
    }
}

// ---- UTF-8 to code points ---------------------------------------------------------------

// Decodes UTF-8 into `cps` (push_back); a byte that does not start a well-formed sequence is
// skipped. Four zeros follow, so that look-ahead needs no test.
template <typename CodePoints>
void Decode(const uint8_t *s, size_t n, CodePoints &cps) {
    size_t i = 0;
    while (i < n) {
        uint8_t b = s[i];
        uint32_t cp;
        size_t len;
        if (b < 0x80) {
            cp = b;
            len = 1;
        } else if (b >= 0xC2 && b <= 0xDF) {
            cp = b & 0x1F;
            len = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            cp = b & 0x0F;
            len = 3;
        } else if (b >= 0xF0 && b <= 0xF4) {
            cp = b & 0x07;
            len = 4;
        } else {
            i++;
            continue;
        }
        bool ok = i + len <= n;
        for (size_t k = 1; ok && k < len; k++) {
            if ((s[i + k] & 0xC0) != 0x80) ok = false;
            else cp = (cp << 6) | (s[i + k] & 0x3F);
        }
        // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
        if (ok && ((len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
                   (len == 4 && (cp < 0x10000 || cp > 0x10FFFF))))
            ok = false;
        if (!ok) {
            i++;
            continue;
        }
        cps.push_back(cp);
        i += len;
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

// Where IsciiToUnicode stands: the output so far and the consonant cluster a repha would go
// in front of (where its output starts, whether one is open, so that its signs and modifiers
// may follow, whether a halant links the next consonant to it).
struct IsciiReading {
    uint8_t *o;
    uint8_t *clusterStart;
    bool clusterOpen;
    bool linked;
};

// The UTF-8 of RA + ZWJ at the start of a cluster, and the cluster's end after the joiner
// is taken out.
uint8_t *DropRaJoiner(uint8_t *cluster, uint8_t *end) {
    static const uint8_t kRaJoiner[6] = {0xE0, 0xB2, 0xB0, 0xE2, 0x80, 0x8D};
    if (end - cluster < 6 || std::memcmp(cluster, kRaJoiner, 6) != 0) return end;
    std::memmove(cluster + 3, cluster + 6, static_cast<size_t>(end - cluster - 6));
    return end - 3;
}

// A code that is not plain there, at s[i]; returns the index of the last code it reads.
#if defined(__GNUC__)
__attribute__((noinline))
#endif
size_t ReadInContext(const uint8_t *s, size_t n, size_t i, IsciiReading &st) {
    uint8_t c = s[i];
    uint8_t next = i + 1 < n ? s[i + 1] : 0;
    if (c == 239) return i + 1;  // ATR and the attribute or script code after it: no text
    bool consonant = IsConsonantCode(c);
    uint32_t pairCp = 0;
    if (c == kIsciiInvisible) {
        if (next == kIsciiRa) pairCp = kRra;
        else if (next == kIsciiLla) pairCp = kLlla;
        else if (next == 223) pairCp = kVocalicRrSign;
    }
    if (consonant || pairCp == kRra || pairCp == kLlla) {
        if (!st.linked || !st.clusterOpen) st.clusterStart = st.o;
        st.clusterOpen = true;
        st.linked = false;
        if (pairCp) {
            st.o = PutUtf8(st.o, pairCp);
            return i + 1;
        }
        st.o = PutUtf8(st.o, kMap.unicode[c]);
        return i;
    }
    if (c == kIsciiHalant) {
        bool afterConsonant = i > 0 && (IsConsonantCode(s[i - 1]) || s[i - 1] == kIsciiNukta);
        // RA that opens a cluster and takes a subscript: the joiner keeps it from being
        // shown as the repha.
        if (i > 0 && s[i - 1] == kIsciiRa && !(i > 1 && s[i - 2] == kIsciiInvisible) && st.clusterOpen &&
            st.o - st.clusterStart == 3 && next >= 179 && next <= 217)
            st.o = PutUtf8(st.o, kZwj);
        st.o = PutUtf8(st.o, kVirama);
        if (next == kIsciiHalant) {
            // The halant shown: the zero-width non-joiner keeps a consonant after it from
            // joining; after a lone NA it also tells it from the dead NA of 199. A repha
            // right after it belongs to this cluster.
            bool repha = i + 2 < n && s[i + 2] == kIsciiRepha;
            size_t a = repha ? i + 3 : i + 2;
            uint8_t after = a < n ? s[a] : 0;
            bool consonantAfter = IsConsonantCode(after) || after == kIsciiInvisible || after == kIsciiDeadNa;
            bool loneNa = i > 0 && s[i - 1] == kIsciiNa &&  // not joined by a halant, a shown one aside
                          !(i > 1 && s[i - 2] == kIsciiHalant && !(i > 2 && s[i - 3] == kIsciiHalant));
            if (consonantAfter || loneNa) st.o = PutUtf8(st.o, kZwnj);
            i++;
            st.clusterOpen = st.clusterOpen && repha;
            st.linked = false;
        } else if (next == kIsciiNukta) {
            st.o = PutUtf8(st.o, kZwj);
            i++;
            st.clusterOpen = st.linked = false;
        } else {
            st.linked = st.clusterOpen && afterConsonant;
        }
        return i;
    }
    st.linked = false;
    if (c == kIsciiRepha) {
        if (st.clusterOpen) {
            // RA + VIRAMA in front of the cluster: six bytes moved in ahead of it. A cluster
            // that starts with RA + joiner + virama needs the joiner no more: the repha is
            // the one in front.
            st.o = DropRaJoiner(st.clusterStart, st.o);
            std::memmove(st.clusterStart + 6, st.clusterStart, static_cast<size_t>(st.o - st.clusterStart));
            PutUtf8(PutUtf8(st.clusterStart, kRa), kVirama);
            st.o += 6;
        } else {
            st.o = PutUtf8(PutUtf8(st.o, kRa), kVirama);  // a repha with no cluster: a dead RA
        }
        st.clusterOpen = false;
        return i;
    }
    if (c == kIsciiDeadNa) {
        st.o = PutUtf8(PutUtf8(st.o, kNa), kVirama);
        st.clusterOpen = false;
        return i;
    }
    if (pairCp == kVocalicRrSign) {
        st.o = PutUtf8(st.o, pairCp);
        return i + 1;
    }
    if (c == kIsciiInvisible) {
        st.o = PutUtf8(st.o, kZwj);
        st.clusterOpen = false;
        return i;
    }
    if (next == kIsciiNukta && WithNukta(c)) {
        st.o = PutUtf8(st.o, WithNukta(c));
        i++;
        if (!IsIsciiVowelSign(c)) st.clusterOpen = false;
        return i;
    }
    if (c == kIsciiESign && next == kIsciiUuSign) {  // E + UU is the O sign
        st.o = PutUtf8(st.o, 0x0CCA);
        return i + 1;
    }
    uint32_t cp = kMap.unicode[c];
    if (cp) st.o = PutUtf8(st.o, cp);
    // Signs, the nukta and the modifiers stay with the cluster; anything else ends it.
    if (!(IsIsciiVowelSign(c) || c == kIsciiNukta || (c >= 161 && c <= 163))) st.clusterOpen = false;
    return i;
}

// The cluster state before s[i], where the codes from s[known] on are plain and `known` is
// where the state was last worked out; `o` is where the output of s[i] goes. It is followed
// from the last plain code that ends a cluster (none is open after it, and where it started
// no longer matters) or else from s[known].
IsciiReading ClusterStateAt(const uint8_t *s, size_t known, size_t i, IsciiReading state, uint8_t *o) {
    size_t from = i;
    uint8_t *at = o;
    while (from > known && kUtf8.of[s[from - 1]].kind != 0) at -= kUtf8.of[s[--from]].length;
    if (from > known) state = IsciiReading{at, at, false, false};
    unsigned previous = from > 0 ? kUtf8.asPrevious[s[from - 1]] : 0;
    for (size_t q = from; q < i; q++) {
        uint8_t c = s[q];
        unsigned kind = kUtf8.of[c].kind;
        bool consonant = (kind & kConsonantCode) != 0;
        if (consonant && !(state.linked && state.clusterOpen)) state.clusterStart = state.o;
        state.o += kUtf8.of[c].length;
        state.linked = (kind & kHalantCode) && state.clusterOpen && (previous & kAfterLinking);
        state.clusterOpen = consonant || ((kind & kKeepsCluster) && state.clusterOpen);
        previous = kUtf8.asPrevious[c];
    }
    return state;
}

}  // namespace

size_t IsciiToUnicode(const uint8_t *s, size_t n, uint8_t *out) {
    uint8_t *o = out;
    // Where the cluster state (see IsciiReading) was last worked out: before s[known].
    size_t known = 0;
    IsciiReading state{out, out, false, false};
    for (size_t i = 0; i < n; i++) {
        const IsciiForm &form = kUtf8.of[s[i]];
        // The code after it: 0 after the last one.
        if (!(form.notPlainBy & kUtf8.asNext[i + 1 < n ? s[i + 1] : 0])) {
            // A plain code: its UTF-8 (three bytes written, of which its length stand). Only the
            // codes read in context need the cluster state: it is worked out for them.
            std::memcpy(o, form.utf8, 3);
            o += form.length;
            continue;
        }
        for (;;) {
            if (s[i] == kIsciiRa && i + 1 < n && s[i + 1] == kIsciiHalant) {
                // RA is plain; the halant after it is read in context.
                std::memcpy(o, form.utf8, 3);
                o += form.length;
                i++;
            }
            state = ClusterStateAt(s, known, i, state, o);
            i = ReadInContext(s, n, i, state);
            o = state.o;
            known = i + 1;
            // A halant after an RA that the context reading took is read in context too.
            if (i + 1 >= n || s[i] != kIsciiRa || s[i + 1] != kIsciiHalant) break;
            i++;
        }
    }
    return static_cast<size_t>(o - out);
}

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

void IsciiToUnicode(const uint8_t *iscii, size_t length, std::string &out) {
    out.resize(kUnicodePerIscii * length);
    out.resize(IsciiToUnicode(iscii, length, reinterpret_cast<uint8_t *>(&out[0])));
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

// The ISCII an export converts at a time, about.
constexpr size_t kIsciiPiece = 16384;

// ISCII to UTF-8: every code has its text, so nothing is left out.
int IsciiToUnicodeExport(const char *src, char *dst, unsigned int dstSize) {
    if (!CheckConverterArguments(src, dstSize)) return 0;
    const uint8_t *s = reinterpret_cast<const uint8_t *>(src);
    size_t n = std::strlen(src);
    // In pieces that meet where each reads as it reads alone (IsciiJoins): counted first, unless
    // the most the text can give fits dst, then written, each straight into dst where the most
    // it can give fits, else aside (the conversion writes a little past what it gives).
    std::unique_ptr<uint8_t[]> aside;
    size_t asideSize = 0;
    auto convert = [&](uint8_t *out, size_t room) {
        size_t total = 0;
        for (size_t start = 0; start < n;) {
            size_t end = start + kIsciiPiece;
            while (end < n && !((IsciiJoins(s + end - 2, 2) & kIsciiMayBeFollowed) &&
                                (IsciiJoins(s + end, end + 1 < n ? 2 : 1) & kIsciiMayFollow)))
                end++;
            if (end > n) end = n;
            size_t most = kUnicodePerIscii * (end - start);
            if (out && total + most < room) {
                total += IsciiToUnicode(s + start, end - start, out + total);
            } else {
                if (most > asideSize) aside.reset(new uint8_t[asideSize = most]);
                size_t length = IsciiToUnicode(s + start, end - start, aside.get());
                if (out) std::memcpy(out + total, aside.get(), length);
                total += length;
            }
            start = end;
        }
        return total;
    };
    bool direct = dst && dstSize > kUnicodePerIscii * n;
    size_t total = convert(direct ? reinterpret_cast<uint8_t *>(dst) : nullptr, dstSize);
    if (total == 0) {
        LibraryLastError = kErrorNoOutput;
        return 0;
    }
    if (dst) {
        if (total >= dstSize) {
            LibraryLastError = kErrorDestinationSize;
            return 0;
        }
        if (!direct) convert(reinterpret_cast<uint8_t *>(dst), dstSize);
        dst[total] = '\0';
    }
    return ResultCount(total);
}

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
