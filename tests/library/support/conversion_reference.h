// The glyph-to-ISCII and ISCII-to-Unicode conversions as they were first written: plain scans
// of the tables, one pass per step, kept here unchanged as the reference that the library's
// converters must agree with byte for byte (see conversion_reference_test.cpp).
#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "base/conversion_data.h"
#include "base/glyph_classes.h"
#include "convert/iscii.h"
#include "convert/unicode.h"
#include "base/last_error.h"
#include "base/shared_state.h"
#include "kannada-tovi.h"

namespace reference {

// ---- Glyphs to ISCII ----------------------------------------------------------------------

constexpr uint8_t kHalantGlyph = 239;
constexpr uint8_t kNuktaGlyph = 251;
constexpr uint8_t kLengthMark = 195;

// Glyph classes the normalisation looks at.
enum : uint8_t {
    kSubscript = 1,     // 204-238
    kSignPiece = 2,     // 195, 248, 200, 202: go in front of a subscript
    kRotatedPiece = 4,  // 248, 202, 200: go in front of two subscripts
    kReordered = 8,     // a glyph that can start a reordering: a subscript or the nukta glyph
};

struct GlyphClasses {
    uint8_t of[256];
    constexpr GlyphClasses() : of() {
        for (int g = 204; g <= 238; g++) of[g] = kSubscript | kReordered;
        of[kLengthMark] = kSignPiece;
        of[248] = of[200] = of[202] = kSignPiece | kRotatedPiece;
        of[kNuktaGlyph] = kReordered;
    }
};
constexpr GlyphClasses kClass;

bool Is(uint8_t g, uint8_t cls) { return (kClass.of[g] & cls) != 0; }

// One position of a normalisation pass, at a glyph that can start a change; s[n] is the
// terminator, which matches nothing.
// Returns whether anything moved.
bool NormaliseAt(uint8_t *s, size_t j) {
    bool moved = false;
    if (Is(s[j], kSubscript) && Is(s[j + 1], kSignPiece)) {
        std::swap(s[j], s[j + 1]);
        moved = true;
    }
    if (Is(s[j], kSubscript) && Is(s[j + 1], kSubscript) && Is(s[j + 2], kRotatedPiece)) {
        uint8_t c = s[j + 2];
        s[j + 2] = s[j + 1];
        s[j + 1] = s[j];
        s[j] = c;
        moved = true;
    }
    if (j >= 1 && Is(s[j], kSubscript) && s[j - 1] == kHalantGlyph) {
        std::swap(s[j - 1], s[j]);
        moved = true;
    }
    if (s[j] == kNuktaGlyph && s[j + 1] == kLengthMark) {
        std::swap(s[j], s[j + 1]);
        moved = true;
    }
    return moved;
}

// Appends the non-zero ISCII columns of matched rows. A single glyph's entry is written as
// three bytes of which its count stand: the output has room for three per glyph.
struct IsciiWriter {
    uint8_t *out;
    size_t k = 0;
    void Put(uint8_t c) {
        out[k] = c;
        k += c != 0;
    }
    void PutSingle(const uint8_t *entry) {
        std::memcpy(out + k, entry + 1, 3);
        k += entry[0];
    }
};
struct IsciiCounter {
    size_t k = 0;
    void Put(uint8_t c) { k += c != 0; }
    void PutSingle(const uint8_t *entry) { k += entry[0]; }
};

template <size_t Glyphs, size_t Rows>
const uint8_t *MatchRow(const uint8_t (&table)[Rows][Glyphs + 2], const uint8_t *s) {
    for (size_t r = 1; r < Rows; r++)
        if (std::memcmp(table[r], s, Glyphs) == 0) return table[r] + Glyphs;
    return nullptr;
}

// The longest match: at each position the longest glyph sequence that a table row holds.
template <typename Sink>
void MatchGlyphs(const uint8_t *s, size_t n, LatinCodes latin, Sink &sink) {
    const ConversionIndex &x = ConversionLookup;
    const ConversionTables &t = Conversion;
    const bool bilingual = latin == LatinCodes::kLetters || latin == LatinCodes::kBridge;
    const bool bridge = latin == LatinCodes::kUnambiguous || latin == LatinCodes::kBridge;
    const uint8_t *letters = bilingual ? x.letterOfLatinCode
                             : latin == LatinCodes::kUnambiguous ? x.letterOfPlainLatinCode
                                                                 : nullptr;
    const uint8_t(*single)[4] = x.singleGlyphIscii[bilingual ? 1 : 0];
    size_t j = 0;
    while (j < n) {
        uint8_t g = s[j];
        if (bridge && g == 73 && s[j + 1] == 198) {
            sink.Put(170);
            sink.Put(kIsciiNukta);
            j += 2;
            continue;
        }
        if (letters && letters[g]) {
            sink.Put(letters[g]);
            j++;
            continue;
        }
        // s[n] is the terminator, which no row holds.
        if (uint8_t starts = x.glyphPairRows[g][s[j + 1]]) {
            size_t left = n - j;
            const uint8_t *iscii = nullptr;
            size_t used = 0;
            if ((starts & 4) && left >= 5 && (iscii = MatchRow<5>(t.fiveGlyph, s + j))) used = 5;
            else if ((starts & 2) && left >= 4 && (iscii = MatchRow<4>(t.fourGlyph, s + j))) used = 4;
            else if ((starts & 1) && left >= 3 && (iscii = MatchRow<3>(t.threeGlyph, s + j))) used = 3;
            else if (starts & 8) {
                iscii = t.twoGlyph[x.twoGlyphRow[g][s[j + 1]]] + 2;
                used = 2;
            }
            if (used) {
                sink.Put(iscii[0]);
                sink.Put(iscii[1]);
                j += used;
                continue;
            }
        }
        sink.PutSingle(single[g]);
        j++;
    }
}

// ISCII order: a vowel sign travels behind the consonants that a halant joins to its
// consonant, and the nukta goes in front of a sign or halant. out[k] is 0.
void OrderIscii(uint8_t *out, size_t k) {
    for (size_t l = 1; l < k; l++) {
        if (out[l] == kIsciiHalant && out[l - 1] >= 218 && out[l - 1] <= 230 && IsIsciiConsonant(out[l + 1])) {
            uint8_t sign = out[l - 1];
            out[l - 1] = kIsciiHalant;
            out[l] = out[l + 1];
            out[l + 1] = sign;
        }
        if (out[l] == kIsciiNukta && out[l - 1] >= 218 && out[l - 1] <= 232) std::swap(out[l - 1], out[l]);
    }
}

inline size_t CountIsciiOfGlyphs(const uint8_t *s, size_t n, LatinCodes latin);
inline size_t NormalisedGlyphsToIscii(const uint8_t *s, size_t n, LatinCodes latin, uint8_t *out);

inline size_t NormaliseGlyphs(uint8_t *s, size_t n) {
    size_t m = 0;
    bool reordered = false;
    for (size_t i = 0; i < n; i++) {
        uint8_t g = s[i];
        if (IsJoinerGlyph(g)) continue;
        reordered |= Is(g, kReordered);
        s[m++] = g;
    }
    s[m] = 0;
    // Only a subscript or the nukta glyph starts a change; a string without either is done.
    if (!reordered) return m;
    // Three passes. A change at j writes positions j - 1 .. j + 2, which only the rules at
    // j - 3 .. j + 3 read: the second and third passes look only there (and further on while
    // they change something themselves), which gives what full passes would.
    std::vector<size_t> changed, next;
    for (size_t j = 0; j < m; j++)
        if (Is(s[j], kReordered) && NormaliseAt(s, j)) changed.push_back(j);
    for (int pass = 1; pass < 3 && !changed.empty(); pass++) {
        next.clear();
        size_t from = 0;
        for (size_t c : changed) {
            size_t j = std::max(from, c >= 3 ? c - 3 : 0);
            size_t last = c + 3;
            for (; j <= last && j < m; j++)
                if (Is(s[j], kReordered) && NormaliseAt(s, j)) {
                    next.push_back(j);
                    last = std::max(last, j + 3);
                }
            from = j;
        }
        changed.swap(next);
    }
    return m;
}

inline size_t NormalisedGlyphsToIscii(const uint8_t *s, size_t n, LatinCodes latin, uint8_t *out) {
    IsciiWriter writer{out};
    MatchGlyphs(s, n, latin, writer);
    out[writer.k] = 0;
    OrderIscii(out, writer.k);
    return writer.k;
}

inline size_t CountIsciiOfGlyphs(const uint8_t *s, size_t n, LatinCodes latin) {
    IsciiCounter counter;
    MatchGlyphs(s, n, latin, counter);
    return counter.k;
}

// The glyph-to-ISCII export (ToviMonolingualGlyph2ISCII, ToviBilingualGlyph2ISCII).
inline bool DeliverResult(const std::string &result, char *dst, unsigned int dstSize) {
    if (!dst) return true;
    if (result.size() >= dstSize) {
        LibraryLastError = kErrorDestinationSize;
        return false;
    }
    std::memcpy(dst, result.data(), result.size());
    dst[result.size()] = '\0';
    return true;
}

inline LatinCodes Latin(bool bilingual) { return bilingual ? LatinCodes::kLetters : LatinCodes::kDropped; }

inline bool CheckArguments(const char *src, unsigned int dstSize) {
    if (!src || !*src) {
        LibraryLastError = kErrorEmptyInput;
        return false;
    }
    if (dstSize == 0) {
        LibraryLastError = kErrorDestinationSize;
        return false;
    }
    return true;
}

inline int GlyphToIsciiExport(char *src, char *dst, unsigned int dstSize, bool bilingual) {
    if (!CheckArguments(src, dstSize)) return 0;
    size_t n = std::strlen(src);
    if (bilingual) ToviBilingual2MonolingualGlyph(src, src, static_cast<unsigned int>(n + 3));
    uint8_t *s = reinterpret_cast<uint8_t *>(src);
    n = reference::NormaliseGlyphs(s, std::strlen(src));
    size_t k;
    bool fits = true;
    if (!dst) {
        k = reference::CountIsciiOfGlyphs(s, n, Latin(bilingual));
    } else if (dstSize > kIsciiPerGlyph * n) {
        k = reference::NormalisedGlyphsToIscii(s, n, Latin(bilingual), reinterpret_cast<uint8_t *>(dst));
    } else {
        // The output might not fit: convert aside and copy only when it does, so nothing is
        // ever written past dstSize.
        std::string iscii(kIsciiPerGlyph * n + 1, '\0');
        k = reference::NormalisedGlyphsToIscii(s, n, Latin(bilingual), reinterpret_cast<uint8_t *>(&iscii[0]));
        iscii.resize(k);
        fits = DeliverResult(iscii, dst, dstSize);
    }
    if (bilingual) ToviMonolingual2BilingualGlyph(src, src, static_cast<unsigned int>(n + 3));
    if (!fits) return 0;
    if (!bilingual) return static_cast<int>(k + 1);
    if (k == 0) {
        LibraryLastError = kErrorNoOutput;
        return 0;
    }
    return static_cast<int>(k);
}

// The glyph-to-ISCII step of the KSCLP keys.
inline bool GlyphStringToIscii(char *src, bool bilingual, std::unique_ptr<uint8_t[]> &iscii, size_t &length) {
    size_t n = std::strlen(src);
    if (bilingual) ToviBilingual2MonolingualGlyph(src, src, static_cast<unsigned int>(n + 3));
    uint8_t *s = reinterpret_cast<uint8_t *>(src);
    n = reference::NormaliseGlyphs(s, std::strlen(src));
    iscii.reset(new uint8_t[kIsciiPerGlyph * n + 1]);
    length = reference::NormalisedGlyphsToIscii(s, n, Latin(bilingual), iscii.get());
    if (bilingual) {
        ToviMonolingual2BilingualGlyph(src, src, static_cast<unsigned int>(n + 3));
        if (length == 0) {
            LibraryLastError = kErrorNoOutput;
            return false;
        }
    }
    return true;
}

// ---- ISCII to Unicode ---------------------------------------------------------------------

namespace unicode {

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
constexpr uint8_t kIsciiInvisible = 217;
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

// How IsciiToUnicode treats a code: most need only their UTF-8 and a change of the cluster
// state; the rest look at their neighbours.
enum IsciiKind : uint8_t { kOther, kEndsCluster, kConsonantCode, kStaysWithCluster };

struct Utf8Forms {
    uint8_t bytes[256][4];  // length, then up to three bytes
    uint8_t kind[256];
    // A code of kind kStaysWithCluster or kEndsCluster that means something else before this
    // byte (the E sign before UU, a vowel or the vocalic R sign before the nukta); 0 none.
    uint8_t unlessBefore[256];
    constexpr Utf8Forms() : bytes(), kind(), unlessBefore() {
        for (int c = 1; c < 256; c++) {
            uint32_t cp = kMap.unicode[c];
            uint8_t *b = bytes[c];
            if (cp == 0) {
            } else if (cp < 0x80) {
                b[0] = 1;
                b[1] = static_cast<uint8_t>(cp);
            } else if (cp < 0x800) {
                b[0] = 2;
                b[1] = static_cast<uint8_t>(0xC0 | (cp >> 6));
                b[2] = static_cast<uint8_t>(0x80 | (cp & 0x3F));
            } else {
                b[0] = 3;
                b[1] = static_cast<uint8_t>(0xE0 | (cp >> 12));
                b[2] = static_cast<uint8_t>(0x80 | ((cp >> 6) & 0x3F));
                b[3] = static_cast<uint8_t>(0x80 | (cp & 0x3F));
            }
            if (c <= 160 || (c >= 171 && c <= 177) || c == 164 || c == 165 || c == 168 || c == 169 ||
                (c >= 241 && c <= 250) || c == 234 || c == 206 || c == 211 || c == 178 || c == 240 || c >= 251)
                kind[c] = kEndsCluster;
            else if (c >= 179 && c <= 216 && cp != 0)
                kind[c] = kConsonantCode;
            else if ((c >= 161 && c <= 163) || (c >= 218 && c <= 231) || c == 233)
                kind[c] = kStaysWithCluster;
        }
        kind[166] = kind[167] = kind[170] = kEndsCluster;
        for (int c : {166, 167, 170, 219, 220, 223}) unlessBefore[c] = 233;
        unlessBefore[224] = 222;
    }
};
constexpr Utf8Forms kUtf8;

// Writes a code's UTF-8; `o` has room for three bytes.
inline uint8_t *PutForm(uint8_t *o, uint8_t c) {
    const uint8_t *form = kUtf8.bytes[c];
    std::memcpy(o, form + 1, 3);
    return o + form[0];
}

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

// The vowel and sign that ISCII writes as a code + nukta.
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

inline size_t IsciiToUnicode(const uint8_t *s, size_t n, uint8_t *out) {
    uint8_t *o = out;
    // The consonant cluster a repha would go in front of: where its output starts, whether
    // one is open (its signs and modifiers may follow), whether a halant links the next
    // consonant to it.
    uint8_t *clusterStart = out;
    bool clusterOpen = false;
    bool linked = false;
    for (size_t i = 0; i < n; i++) {
        uint8_t c = s[i];
        // Codes without context: their UTF-8, and the cluster state worked out without
        // branches (the kinds alternate too freely to predict).
        uint8_t kind = kUtf8.kind[c];
        uint8_t unless = kUtf8.unlessBefore[c];
        if (kind != kOther && !(unless && i + 1 < n && s[i + 1] == unless)) {
            uint8_t *before = o;
            o = PutForm(o, c);
            bool consonant = kind == kConsonantCode;
            bool fresh = consonant && !(linked && clusterOpen);
            clusterStart = fresh ? before : clusterStart;
            clusterOpen = consonant || (kind == kStaysWithCluster && clusterOpen);
            linked = false;
            continue;
        }
        uint8_t next = i + 1 < n ? s[i + 1] : 0;
        if (c == 239) {  // ATR and the attribute or script code after it: no text
            i++;
            continue;
        }
        bool consonant = IsConsonantCode(c);
        uint32_t pairCp = 0;
        if (c == kIsciiInvisible) {
            if (next == kIsciiRa) pairCp = kRra;
            else if (next == kIsciiLla) pairCp = kLlla;
            else if (next == 223) pairCp = kVocalicRrSign;
        }
        if (consonant || pairCp == kRra || pairCp == kLlla) {
            if (!linked || !clusterOpen) clusterStart = o;
            clusterOpen = true;
            linked = false;
            if (pairCp) {
                o = PutUtf8(o, pairCp);
                i++;
            } else {
                o = PutUtf8(o, kMap.unicode[c]);
            }
            continue;
        }
        if (c == kIsciiHalant) {
            bool afterConsonant = i > 0 && (IsConsonantCode(s[i - 1]) || s[i - 1] == kIsciiNukta);
            // RA that opens a cluster and takes a subscript: the joiner keeps it from being
            // shown as the repha.
            if (i > 0 && s[i - 1] == kIsciiRa && !(i > 1 && s[i - 2] == kIsciiInvisible) && clusterOpen &&
                o - clusterStart == 3 && next >= 179 && next <= 217)
                o = PutUtf8(o, kZwj);
            o = PutUtf8(o, kVirama);
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
                if (consonantAfter || loneNa) o = PutUtf8(o, kZwnj);
                i++;
                clusterOpen = clusterOpen && repha;
                linked = false;
            } else if (next == kIsciiNukta) {
                o = PutUtf8(o, kZwj);
                i++;
                clusterOpen = linked = false;
            } else {
                linked = clusterOpen && afterConsonant;
            }
            continue;
        }
        linked = false;
        if (c == kIsciiRepha) {
            if (clusterOpen) {
                // RA + VIRAMA in front of the cluster: six bytes moved in ahead of it; the
                // joiner after the cluster's RA is needed no more.
                static const uint8_t kRaJoiner[6] = {0xE0, 0xB2, 0xB0, 0xE2, 0x80, 0x8D};
                if (o - clusterStart >= 6 && std::memcmp(clusterStart, kRaJoiner, 6) == 0) {
                    std::memmove(clusterStart + 3, clusterStart + 6, static_cast<size_t>(o - clusterStart - 6));
                    o -= 3;
                }
                std::memmove(clusterStart + 6, clusterStart, static_cast<size_t>(o - clusterStart));
                PutUtf8(PutUtf8(clusterStart, kRa), kVirama);
                o += 6;
            } else {
                o = PutUtf8(PutUtf8(o, kRa), kVirama);  // a repha with no cluster: a dead RA
            }
            clusterOpen = false;
            continue;
        }
        if (c == kIsciiDeadNa) {
            o = PutUtf8(PutUtf8(o, kNa), kVirama);
            clusterOpen = false;
            continue;
        }
        if (pairCp == kVocalicRrSign) {
            o = PutUtf8(o, pairCp);
            i++;
            continue;
        }
        if (c == kIsciiInvisible) {
            o = PutUtf8(o, kZwj);
            clusterOpen = false;
            continue;
        }
        if (next == kIsciiNukta && WithNukta(c)) {
            o = PutUtf8(o, WithNukta(c));
            i++;
            if (!IsIsciiVowelSign(c)) clusterOpen = false;
            continue;
        }
        if (c == kIsciiESign && next == kIsciiUuSign) {  // E + UU is the O sign
            o = PutUtf8(o, 0x0CCA);
            i++;
            continue;
        }
        uint32_t cp = kMap.unicode[c];
        if (cp) o = PutUtf8(o, cp);
        // Signs, the nukta and the modifiers stay with the cluster; anything else ends it.
        if (!(IsIsciiVowelSign(c) || c == kIsciiNukta || (c >= 161 && c <= 163))) clusterOpen = false;
    }
    return static_cast<size_t>(o - out);
}

// ---- Glyphs to Unicode (ToviMonolingualGlyph2Unicode, ToviBilingualGlyph2Unicode) ----------

// A glyph that no normalisation, table row, ordering or repha reaches across: ASCII other
// than letters. Glyph text is converted in pieces that end after one, so the work stays in
// the cache; the result is the same as in one piece.
bool EndsPiece(uint8_t g) { return (g >= 1 && g <= 64) || (g >= 91 && g <= 96) || (g >= 123 && g <= 126); }

constexpr size_t kPieceSize = 16384;

// A work buffer that keeps its memory from piece to piece and grows without clearing.
struct WorkBuffer {
    std::unique_ptr<uint8_t[]> bytes;
    size_t size = 0;
    uint8_t *Room(size_t n) {
        if (n > size) {
            bytes.reset(new uint8_t[n]);
            size = n;
        }
        return bytes.get();
    }
};

int GlyphToUnicodeExport(const char *src, char *dst, unsigned int dstSize, bool bilingual) {
    if (!CheckArguments(src, dstSize)) return 0;
    const uint8_t *text = reinterpret_cast<const uint8_t *>(src);
    size_t n = std::strlen(src);
    // Bilingual text reads its Latin letters as the bilingual ISCII conversion does. In
    // monolingual text a Latin-letter code that is also a Kannada glyph is the glyph.
    LatinCodes latin = bilingual ? LatinCodes::kBridge : LatinCodes::kUnambiguous;
    WorkBuffer glyphBuffer, isciiBuffer, utf8Buffer;
    size_t total = 0;
    for (size_t start = 0; start < n;) {
        size_t end = start + kPieceSize < n ? start + kPieceSize : n;
        if (end < n) {
            size_t cut = end;
            while (cut > start && !EndsPiece(text[cut - 1])) cut--;
            if (cut == start)  // no place to cut before: the piece goes on to the next one
                while (end < n && !EndsPiece(text[end - 1])) end++;
            else
                end = cut;
        }
        size_t m = end - start;
        uint8_t *glyphs = glyphBuffer.Room(m + 3);
        std::memcpy(glyphs, text + start, m);
        glyphs[m] = 0;
        if (bilingual) {
            char *g = reinterpret_cast<char *>(glyphs);
            ToviBilingual2MonolingualGlyph(g, g, static_cast<unsigned int>(m + 3));
            m = std::strlen(g);
        }
        if (!bilingual) m = ::ReadAsTyped(glyphs, m);
        m = reference::NormaliseGlyphs(glyphs, m);
        uint8_t *iscii = isciiBuffer.Room(kIsciiPerGlyph * m + 1);
        size_t k = reference::NormalisedGlyphsToIscii(glyphs, m, latin, iscii);
        if (!bilingual) ::OrderArchaicSubscripts(iscii, k);
        // Straight into dst when the most this piece can give fits; else aside, and copied
        // when it fits.
        size_t most = kUnicodePerIscii * k;
        if (dst && total + most < dstSize) {
            total += IsciiToUnicode(iscii, k, reinterpret_cast<uint8_t *>(dst) + total);
        } else {
            uint8_t *utf8 = utf8Buffer.Room(most + 1);
            size_t length = IsciiToUnicode(iscii, k, utf8);
            if (dst) {
                if (total + length >= dstSize) {
                    LibraryLastError = kErrorDestinationSize;
                    return 0;
                }
                std::memcpy(dst + total, utf8, length);
            }
            total += length;
        }
        start = end;
    }
    if (total == 0) {
        LibraryLastError = kErrorNoOutput;
        return 0;
    }
    if (total > INT_MAX) {
        LibraryLastError = kErrorDestinationSize;
        return 0;
    }
    if (dst) dst[total] = '\0';
    return static_cast<int>(total);
}

}  // namespace unicode

using unicode::GlyphToUnicodeExport;
using unicode::IsciiToUnicode;

}  // namespace reference
