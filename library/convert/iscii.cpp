// Glyph strings to ISCII and back, and the four exports with their twins.
#include "iscii.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "../engine/composer.h"
#include "../engine/shared_state.h"
#include "../include/kannada-tovi.h"
#include "conversion_data.h"
#include "glyph_mapping.h"

char *IsciiResultBuffer = nullptr;

namespace {

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

LatinCodes Latin(bool bilingual) { return bilingual ? LatinCodes::kLetters : LatinCodes::kDropped; }

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
        k = CountIsciiOfGlyphs(s, n, Latin(bilingual));
    } else if (dstSize > kIsciiPerGlyph * n) {
        k = NormalisedGlyphsToIscii(s, n, Latin(bilingual), reinterpret_cast<uint8_t *>(dst));
    } else {
        // The output might not fit: convert aside and copy only when it does, so nothing is
        // ever written past dstSize.
        std::string iscii(kIsciiPerGlyph * n + 1, '\0');
        k = NormalisedGlyphsToIscii(s, n, Latin(bilingual), reinterpret_cast<uint8_t *>(&iscii[0]));
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

// The composer types in the encoding of the shared font type; the conversion works in the
// monolingual one. A bilingual byte is taken back with the context rules of the bilingual
// mapping, which see the bytes already produced.
void AppendMonolingual(std::string &out, uint8_t b, bool fromBilingual) {
    if (fromBilingual && ConversionLookup.hasBilingual2Mono[b]) {
        uint8_t g = ConversionLookup.bilingual2Mono[b];
        uint8_t last = out.empty() ? 0 : static_cast<uint8_t>(out.back());
        if (g == 115 && (last == 114 || last == 162 || last == 166 || last == 169)) g = 252;
        if (g == 230 && out.size() >= 2 && IsSubscriptGlyph(last)) g = 231;
        b = g;
    }
    out.push_back(static_cast<char>(b));
}

// Ends the syllable being composed, before a character that is not a letter of the layout.
void EndSyllable() {
    FeedKey(' ');
    ToviResetAllFlags();
}

// Copies a monolingual glyph string, putting the joiner glyph between two subscripts (also
// across the halant glyph) as typing does; bilingual output maps every byte afterwards.
void InsertJoiners(const std::string &glyphs, bool bilingual, std::string &out) {
    out.reserve(out.size() + glyphs.size() + glyphs.size() / 4);
    size_t start = out.size();
    for (char ch : glyphs) {
        uint8_t g = static_cast<uint8_t>(ch);
        size_t k = out.size() - start;
        if (IsSubscriptGlyph(g) && k >= 1) {
            uint8_t before = static_cast<uint8_t>(out[out.size() - 1]);
            uint8_t joiner = 0;
            if (k >= 2 && before == kHalantGlyph && IsSubscriptGlyph(static_cast<uint8_t>(out[out.size() - 2])))
                joiner = JoinerGlyph(static_cast<uint8_t>(out[out.size() - 2]), g);
            else if (IsSubscriptGlyph(before))
                joiner = JoinerGlyph(before, g);
            if (joiner) out.push_back(static_cast<char>(joiner));
        }
        out.push_back(static_cast<char>(g));
    }
    if (bilingual)
        for (size_t i = start; i < out.size(); i++)
            out[i] = static_cast<char>(ConversionLookup.mono2Bilingual[static_cast<uint8_t>(out[i])]);
}

// ISCII to glyph into the caller's dst; the result is the output length.
int IsciiToGlyphExport(char *src, char *dst, unsigned int dstSize, bool bilingual) {
    if (!CheckArguments(src, dstSize)) return 0;
    try {
        std::string glyphs;
        IsciiToGlyphString(src, bilingual, bilingual, bilingual, glyphs);
        if (!DeliverResult(glyphs, dst, dstSize)) return 0;
        return static_cast<int>(glyphs.size());
    } catch (const std::bad_alloc &) {
        LibraryLastError = kErrorNoMemory;
        return 0;
    }
}

}  // namespace

void IsciiToGlyphString(char *src, bool bilingual, bool keepLetters, bool rewriteLetters, std::string &out) {
    const ConversionIndex &x = ConversionLookup;
    const bool typedBilingual = Shared->fontType == 0;
    std::string glyphs;  // monolingual, without joiners
    ToviResetAllFlags();
    for (uint8_t *p = reinterpret_cast<uint8_t *>(src); *p; p++) {
        uint8_t c = *p;
        if (IsAsciiLetter(c)) {
            // A letter is no key of the layout here: it ends the syllable and stands for
            // itself. A letter without a row is dropped.
            uint8_t code = x.monoOfLetter[c];
            if (!keepLetters || !code) continue;
            // Monolingual text cannot hold the letters whose codes are Kannada glyphs as well.
            if (!bilingual && !x.letterOfPlainLatinCode[code]) continue;
            if (rewriteLetters) *p = code;
            EndSyllable();
            glyphs.push_back(static_cast<char>(code));
            continue;
        }
        uint8_t plain = 0;
        if ((c >= 1 && c <= 64) || (c >= 91 && c <= 96) || (c >= 123 && c <= 126)) plain = c;
        else if (c >= 241 && c <= 250) plain = static_cast<uint8_t>(c - 193);  // ISCII digits
        else if (c == 199) plain = 242;  // NA with halant has a glyph of its own
        else if (c == 234) plain = '.';
        if (plain) {
            EndSyllable();
            glyphs.push_back(static_cast<char>(plain));
            continue;
        }
        uint8_t key = x.strokeKey[c];
        if (!key) continue;
        // Once the key engine is switched, "a" is the long-a key after a consonant: the AA
        // sign has to be typed with it, or it would be lost.
        if (key == 'A' && Shared->keyEngineSwitch && IsIsciiVowelSign(c)) key = 'a';
        if (IsIsciiVowel(c) && c <= 177) ToviResetAllFlags();
        const char *typed = FeedKey(key);
        if (!typed) continue;
        for (const uint8_t *t = reinterpret_cast<const uint8_t *>(typed); *t; t++) {
            // A Backspace takes back the glyph typed before it; with nothing before it, it
            // erases nothing.
            if (*t == 8) {
                if (!glyphs.empty()) glyphs.pop_back();
            } else {
                AppendMonolingual(glyphs, *t, typedBilingual);
            }
        }
    }
    InsertJoiners(glyphs, bilingual, out);
}

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

size_t NormalisedGlyphsToIscii(const uint8_t *s, size_t n, LatinCodes latin, uint8_t *out) {
    IsciiWriter writer{out};
    MatchGlyphs(s, n, latin, writer);
    out[writer.k] = 0;
    OrderIscii(out, writer.k);
    return writer.k;
}

size_t CountIsciiOfGlyphs(const uint8_t *s, size_t n, LatinCodes latin) {
    IsciiCounter counter;
    MatchGlyphs(s, n, latin, counter);
    return counter.k;
}

bool GlyphStringToIscii(char *src, bool bilingual, std::unique_ptr<uint8_t[]> &iscii, size_t &length) {
    size_t n = std::strlen(src);
    if (bilingual) ToviBilingual2MonolingualGlyph(src, src, static_cast<unsigned int>(n + 3));
    uint8_t *s = reinterpret_cast<uint8_t *>(src);
    n = NormaliseGlyphs(s, std::strlen(src));
    iscii.reset(new uint8_t[kIsciiPerGlyph * n + 1]);
    length = NormalisedGlyphsToIscii(s, n, Latin(bilingual), iscii.get());
    if (bilingual) {
        ToviMonolingual2BilingualGlyph(src, src, static_cast<unsigned int>(n + 3));
        if (length == 0) {
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
    try {
        return GlyphToIsciiExport(src, dst, dstSize, false);
    } catch (const std::bad_alloc &) {
        LibraryLastError = kErrorNoMemory;
        return 0;
    }
}

int TOVI_CDECL ToviBilingualGlyph2ISCII(char *src, char *dst, unsigned int dstSize) {
    try {
        return GlyphToIsciiExport(src, dst, dstSize, true);
    } catch (const std::bad_alloc &) {
        LibraryLastError = kErrorNoMemory;
        return 0;
    }
}

int TOVI_CDECL ToviISCII2MonolingualGlyph(const char *src, char *dst, unsigned int dstSize) {
    // The monolingual conversion leaves its source as it is.
    if (!CheckArguments(src, dstSize)) return 0;
    try {
        std::string copy(src);
        return IsciiToGlyphExport(&copy[0], dst, dstSize, false);
    } catch (const std::bad_alloc &) {
        LibraryLastError = kErrorNoMemory;
        return 0;
    }
}

int TOVI_CDECL ToviISCII2BilingualGlyph(char *src, char *dst, unsigned int dstSize) {
    return IsciiToGlyphExport(src, dst, dstSize, true);
}

char *TOVI_STDCALL ToviMonolingualGlyph2ISCIIVB(char *src) {
    return RunTwin(src, kIsciiPerGlyph, RenewIsciiResultBuffer, DropIsciiResultBuffer,
                   ToviMonolingualGlyph2ISCII);
}

char *TOVI_STDCALL ToviBilingualGlyph2ISCIIVB(char *src) {
    return RunTwin(src, kIsciiPerGlyph, RenewIsciiResultBuffer, DropIsciiResultBuffer,
                   ToviBilingualGlyph2ISCII);
}

char *TOVI_STDCALL ToviISCII2MonolingualGlyphVB(char *src) {
    return RunTwin(src, 5, RenewGlyphResultBuffer, DropGlyphResultBuffer, ToviISCII2MonolingualGlyph);
}

char *TOVI_STDCALL ToviISCII2BilingualGlyphVB(char *src) {
    return RunTwin(src, 5, RenewGlyphResultBuffer, DropGlyphResultBuffer, ToviISCII2BilingualGlyph);
}

}  // extern "C"
