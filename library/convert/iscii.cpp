// Glyph strings to ISCII and back, and the four exports with their twins.
#include "iscii.h"

#include <cstdlib>
#include <cstring>
#include <memory>

#include "../engine/shared_state.h"
#include "../include/kannada-tovi.h"
#include "conversion_data.h"
#include "glyph_mapping.h"

char *IsciiResultBuffer = nullptr;

namespace {

constexpr uint8_t kHalantGlyph = 239;
constexpr uint8_t kNuktaGlyph = 251;
constexpr uint8_t kLengthMark = 195;
constexpr uint8_t kConnector = 192;  // the connecting piece that means nothing alone

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

// One position of a normalisation pass; s[n] is the terminator, which matches nothing.
void NormaliseAt(uint8_t *s, size_t j) {
    if (Is(s[j], kSubscript) && Is(s[j + 1], kSignPiece)) std::swap(s[j], s[j + 1]);
    if (Is(s[j], kSubscript) && Is(s[j + 1], kSubscript) && Is(s[j + 2], kRotatedPiece)) {
        uint8_t c = s[j + 2];
        s[j + 2] = s[j + 1];
        s[j + 1] = s[j];
        s[j] = c;
    }
    if (j >= 1 && Is(s[j], kSubscript) && s[j - 1] == kHalantGlyph) std::swap(s[j - 1], s[j]);
    if (s[j] == kNuktaGlyph && s[j + 1] == kLengthMark) std::swap(s[j], s[j + 1]);
}

// Appends the non-zero ISCII columns of matched rows.
struct IsciiWriter {
    uint8_t *out;
    size_t k = 0;
    void Put(uint8_t c) {
        out[k] = c;
        k += c != 0;
    }
};
struct IsciiCounter {
    size_t k = 0;
    void Put(uint8_t c) { k += c != 0; }
};

template <size_t Glyphs, size_t Rows>
const uint8_t *MatchRow(const uint8_t (&table)[Rows][Glyphs + 2], const uint8_t *s) {
    for (size_t r = 1; r < Rows; r++)
        if (std::memcmp(table[r], s, Glyphs) == 0) return table[r] + Glyphs;
    return nullptr;
}

// The longest match: at each position the longest glyph sequence that a table row holds.
template <typename Sink>
void MatchGlyphs(const uint8_t *s, size_t n, bool bilingualLetters, Sink &sink) {
    const ConversionIndex &x = ConversionLookup;
    const ConversionTables &t = Conversion;
    size_t j = 0;
    while (j < n) {
        uint8_t g = s[j];
        size_t left = n - j;
        if (bilingualLetters && x.letterOfMono[g] && IsMonolingualLatinCode(g)) {
            sink.Put(x.letterOfMono[g]);
            j++;
            continue;
        }
        if (uint8_t longer = x.longerGlyphRows[g]) {
            const uint8_t *iscii = nullptr;
            size_t used = 0;
            if ((longer & 4) && left >= 5 && (iscii = MatchRow<5>(t.fiveGlyph, s + j))) used = 5;
            else if ((longer & 2) && left >= 4 && (iscii = MatchRow<4>(t.fourGlyph, s + j))) used = 4;
            else if ((longer & 1) && left >= 3 && (iscii = MatchRow<3>(t.threeGlyph, s + j))) used = 3;
            if (used) {
                sink.Put(iscii[0]);
                sink.Put(iscii[1]);
                j += used;
                continue;
            }
        }
        if (left >= 2) {
            if (uint8_t r = x.twoGlyphRow[g][s[j + 1]]) {
                sink.Put(t.twoGlyph[r][2]);
                sink.Put(t.twoGlyph[r][3]);
                j += 2;
                continue;
            }
        }
        j++;
        // The monolingual export takes subscripts straight to their table and drops the
        // connecting piece; the bilingual one looks every glyph up in <OneGlyph> first.
        bool subscriptOnly = !bilingualLetters && (Is(g, kSubscript) || g == 249 || g == 250);
        if (!bilingualLetters && g == kConnector) continue;
        if (!subscriptOnly) {
            if (uint8_t r = x.oneGlyphRow[g]) {
                sink.Put(t.oneGlyph[r][1]);
                sink.Put(t.oneGlyph[r][2]);
                continue;
            }
        }
        if (uint8_t r = x.ottaksharaRow[g]) {
            sink.Put(t.ottakshara[r][1]);
            sink.Put(t.ottakshara[r][2]);
            sink.Put(t.ottakshara[r][3]);
        }
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

// A twin's work: checks the argument, sizes the result with a query on a scratch copy (so the
// query does not touch the caller's string), then converts the caller's string into a fresh
// result buffer.
template <typename Convert>
char *RunTwin(char *src, size_t querySizePerByte, char *(*renew)(size_t), void (*drop)(), Convert convert) {
    size_t n = src ? std::strlen(src) : 0;
    if (n == 0) {
        LibraryLastError = kErrorEmptyInput;
        return nullptr;
    }
    if (n > 10000) return nullptr;
    std::unique_ptr<char[]> scratch(new (std::nothrow) char[n + 3]());
    if (!scratch) {
        LibraryLastError = kErrorNoMemory;
        return nullptr;
    }
    std::memcpy(scratch.get(), src, n);
    int need = convert(scratch.get(), nullptr, static_cast<unsigned int>(querySizePerByte * n));
    scratch.reset();
    if (need < 0) need = 0;
    char *result = renew(static_cast<size_t>(need) + 3);
    if (!result) {
        LibraryLastError = kErrorNoMemory;
        return nullptr;
    }
    if (convert(src, result, static_cast<unsigned int>(need + 3)) == 0) {
        drop();
        return nullptr;
    }
    return result;
}

char *RenewIsciiResultBuffer(size_t size) {
    std::free(IsciiResultBuffer);
    IsciiResultBuffer = static_cast<char *>(std::calloc(size, 1));
    return IsciiResultBuffer;
}

void DropIsciiResultBuffer() {
    std::free(IsciiResultBuffer);
    IsciiResultBuffer = nullptr;
}

// The shared argument checks of the four exports: -4 for an empty source, -3 for dstSize 0.
bool CheckArguments(const char *src, unsigned int dstSize) {
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

// Glyph to ISCII into the caller's dst. `terminatorCounted` gives the monolingual export's
// result (output length + 1); the bilingual one returns the length and fails on no output.
int GlyphToIsciiExport(char *src, char *dst, unsigned int dstSize, bool bilingual) {
    if (!CheckArguments(src, dstSize)) return 0;
    size_t n = std::strlen(src);
    if (bilingual) ToviBilingual2MonolingualGlyph(src, src, static_cast<unsigned int>(n + 3));
    uint8_t *s = reinterpret_cast<uint8_t *>(src);
    n = NormaliseGlyphs(s, std::strlen(src));
    size_t k;
    bool fits = true;
    if (!dst) {
        k = CountIsciiOfGlyphs(s, n, bilingual);
    } else if (dstSize > kIsciiPerGlyph * n) {
        k = NormalisedGlyphsToIscii(s, n, bilingual, reinterpret_cast<uint8_t *>(dst));
    } else {
        // The output might not fit: convert aside and copy only when it does, so nothing is
        // ever written past dstSize.
        std::string iscii(kIsciiPerGlyph * n + 1, '\0');
        k = NormalisedGlyphsToIscii(s, n, bilingual, reinterpret_cast<uint8_t *>(&iscii[0]));
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

}  // namespace

size_t NormaliseGlyphs(uint8_t *s, size_t n) {
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
    if (reordered)
        for (int pass = 0; pass < 3; pass++)
            for (size_t j = 0; j < m; j++) NormaliseAt(s, j);
    return m;
}

size_t NormalisedGlyphsToIscii(const uint8_t *s, size_t n, bool bilingualLetters, uint8_t *out) {
    IsciiWriter writer{out};
    MatchGlyphs(s, n, bilingualLetters, writer);
    out[writer.k] = 0;
    OrderIscii(out, writer.k);
    return writer.k;
}

size_t CountIsciiOfGlyphs(const uint8_t *s, size_t n, bool bilingualLetters) {
    IsciiCounter counter;
    MatchGlyphs(s, n, bilingualLetters, counter);
    return counter.k;
}

bool GlyphStringToIscii(char *src, bool bilingual, std::string &out) {
    size_t n = std::strlen(src);
    if (bilingual) ToviBilingual2MonolingualGlyph(src, src, static_cast<unsigned int>(n + 3));
    uint8_t *s = reinterpret_cast<uint8_t *>(src);
    n = NormaliseGlyphs(s, std::strlen(src));
    size_t start = out.size();
    out.resize(start + kIsciiPerGlyph * n + 1);
    size_t k = NormalisedGlyphsToIscii(s, n, bilingual, reinterpret_cast<uint8_t *>(&out[start]));
    out.resize(start + k);
    if (bilingual) {
        ToviMonolingual2BilingualGlyph(src, src, static_cast<unsigned int>(n + 3));
        if (k == 0) {
            LibraryLastError = kErrorNoOutput;
            return false;
        }
    }
    return true;
}

bool DeliverResult(const std::string &result, char *dst, unsigned int dstSize) {
    if (!dst) return true;
    if (result.size() >= dstSize) {
        LibraryLastError = kErrorDestinationSize;
        return false;
    }
    std::memcpy(dst, result.data(), result.size());
    dst[result.size()] = '\0';
    return true;
}

extern "C" {

int TOVI_CDECL ToviMonolingualGlyph2ISCII(char *src, char *dst, unsigned int dstSize) {
    return GlyphToIsciiExport(src, dst, dstSize, false);
}

int TOVI_CDECL ToviBilingualGlyph2ISCII(char *src, char *dst, unsigned int dstSize) {
    return GlyphToIsciiExport(src, dst, dstSize, true);
}

char *TOVI_STDCALL ToviMonolingualGlyph2ISCIIVB(char *src) {
    return RunTwin(src, kIsciiPerGlyph, RenewIsciiResultBuffer, DropIsciiResultBuffer,
                   ToviMonolingualGlyph2ISCII);
}

char *TOVI_STDCALL ToviBilingualGlyph2ISCIIVB(char *src) {
    return RunTwin(src, kIsciiPerGlyph, RenewIsciiResultBuffer, DropIsciiResultBuffer,
                   ToviBilingualGlyph2ISCII);
}

}  // extern "C"
