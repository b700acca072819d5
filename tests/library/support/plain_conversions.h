// The conversions written as plainly as they can be: each step a pass of its own over the
// whole text, every table read by a scan from its first row, every ISCII key typed through a
// composer. The converters must give the same byte for byte (conversion_reference_test.cpp);
// these share nothing with them but the tables, the glyph classes and the composer.
#pragma once

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "base/conversion_data.h"
#include "base/glyph_classes.h"
#include "compose/composer.h"

namespace plain {

using Bytes = std::string;
inline uint8_t At(const Bytes &s, size_t i) { return i < s.size() ? static_cast<uint8_t>(s[i]) : 0; }
inline bool IsLetter(uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
inline bool Consonant(uint8_t c) { return c >= 179 && c <= 216; }
inline bool Subscript(uint8_t g) { return g >= 204 && g <= 238; }

// ---- Glyph encodings -----------------------------------------------------------------------

// The other column of the first <Mono2Bilingual> row whose column `from` holds c (no row: 0),
// found by a scan once for every code.
inline uint8_t Mapped(uint8_t c, int from) {
    static const auto mapped = [] {
        std::array<std::array<uint8_t, 256>, 2> m{};
        for (int f = 0; f < 2; f++)
            for (int code = 1; code < 256; code++)
                for (int r = kMono2BilingualRows; r >= 1; r--) {
                    const uint8_t *row = Conversion.mono2Bilingual[r];
                    if (row[0] && row[1] && row[f] == code) m[f][code] = row[1 - f];
                }
        return m;
    }();
    return mapped[from][c];
}

inline Bytes ToBilingual(const Bytes &mono) {
    Bytes out;
    for (uint8_t c : mono) out.push_back(static_cast<char>(Mapped(c, 0) ? Mapped(c, 0) : c));
    return out;
}

inline Bytes ToMonolingual(const Bytes &bilingual) {
    Bytes out;
    for (uint8_t c : bilingual) {
        uint8_t g = Mapped(c, 1);
        if (!g) {
            out.push_back(static_cast<char>(c));
            continue;
        }
        uint8_t before = out.empty() ? 0 : static_cast<uint8_t>(out.back());
        if (!out.empty() && g == 115 && (before == 114 || before == 162 || before == 166 || before == 169)) g = 252;
        if (out.size() >= 2 && Subscript(before) && g == 230) g = 231;
        if (out.size() >= 2 && IsJoinerGlyph(before)) {
            uint8_t joiner = JoinerGlyph(static_cast<uint8_t>(out[out.size() - 2]), g);
            if (joiner) out.back() = static_cast<char>(joiner);
            else out.pop_back();
        }
        out.push_back(static_cast<char>(g));
    }
    return out;
}

// ---- Glyphs to ISCII -----------------------------------------------------------------------

// Joiners out; then three passes, each applying its four rules at every subscript and nukta
// glyph in turn: a sign piece goes in front of a subscript, a turned piece in front of two, the
// halant glyph after a subscript, the length mark in front of the nukta glyph.
inline Bytes Normalised(const Bytes &glyphs) {
    Bytes s;
    for (uint8_t g : glyphs)
        if (!IsJoinerGlyph(g)) s.push_back(static_cast<char>(g));
    auto piece = [](uint8_t g) { return g == 195 || g == 248 || g == 200 || g == 202; };
    auto turned = [](uint8_t g) { return g == 248 || g == 202 || g == 200; };
    for (int pass = 0; pass < 3; pass++)
        for (size_t j = 0; j < s.size(); j++) {
            auto g = [&](size_t i) { return At(s, i); };
            if (Subscript(g(j)) && piece(g(j + 1))) std::swap(s[j], s[j + 1]);
            if (Subscript(g(j)) && Subscript(g(j + 1)) && turned(g(j + 2))) std::rotate(&s[j], &s[j + 2], &s[j + 3]);
            if (j >= 1 && Subscript(g(j)) && g(j - 1) == 239) std::swap(s[j - 1], s[j]);
            if (g(j) == 251 && g(j + 1) == 195) std::swap(s[j], s[j + 1]);
        }
    return s;
}

// How Latin-letter codes read: dropped (the monolingual export), letters (the bilingual one),
// the ones that are no Kannada glyph (the monolingual bridge), letters (the bilingual bridge).
enum Latin { kDropped, kLetters, kUnambiguous, kBridge };

// The first row of a table whose `column` holds the code (none for 0), found by a scan once
// for every code.
inline const uint8_t *FirstRow(const uint8_t *rows, int count, int width, uint8_t key, int column = 0) {
    struct Found {
        const uint8_t *rows;
        int column;
        std::array<const uint8_t *, 256> first;
    };
    static std::vector<Found> found;
    auto table = std::find_if(found.begin(), found.end(), [&](const Found &f) { return f.rows == rows && f.column == column; });
    if (table == found.end()) {
        table = found.insert(found.end(), Found{rows, column, {}});
        for (int r = count; r >= 1; r--)
            if (rows[r * width + column]) table->first[rows[r * width + column]] = rows + r * width;
    }
    const std::array<const uint8_t *, 256> &first = table->first;
    return first[key];
}
#define PLAIN_ROW(table, ...) FirstRow(&Conversion.table[0][0], sizeof Conversion.table / sizeof Conversion.table[0] - 1, sizeof Conversion.table[0], __VA_ARGS__)

inline Bytes ToIsciiOnce(const Bytes &s, Latin latin);

// The longest glyph sequence a row holds at each place, then the ISCII order.
inline Bytes ToIscii(const Bytes &s, Latin latin) {
    // The ISCII and sort key exports read the same: the last text's is kept.
    static Bytes lastText, lastIscii;
    static Latin lastLatin = kDropped;
    if (latin == lastLatin && s == lastText) return lastIscii;
    lastText = s;
    lastLatin = latin;
    return lastIscii = ToIsciiOnce(s, latin);
}

inline Bytes ToIsciiOnce(const Bytes &s, Latin latin) {
    const bool bilingual = latin == kLetters || latin == kBridge, bridge = latin == kUnambiguous || latin == kBridge;
    Bytes out;
    for (size_t j = 0; j < s.size();) {
        uint8_t g = At(s, j);
        if (bridge && g == 73 && At(s, j + 1) == 198) {
            out += "\xAA\xE9";
            j += 2;
            continue;
        }
        const uint8_t *letterRow = PLAIN_ROW(iscii2Bilingual, g, 1);
        uint8_t letter = letterRow ? letterRow[0] : 0;
        if (!IsMonolingualLatinCode(g)) letter = 0;
        if (letter && (bilingual || (latin == kUnambiguous && !PLAIN_ROW(oneGlyph, g) && !PLAIN_ROW(ottakshara, g)))) {
            out.push_back(static_cast<char>(letter));
            j++;
            continue;
        }
        size_t used = 0;
        const uint8_t *columns = nullptr;
        auto scan = [&](const uint8_t *rows, int count, size_t glyphs) {
            for (int r = 1; r <= count && !used && j + glyphs <= s.size(); r++) {
                const uint8_t *row = rows + r * (glyphs + 2);
                if (row[0] == g && std::equal(row, row + glyphs, s.begin() + static_cast<long>(j),
                                              [](uint8_t a, char b) { return a == static_cast<uint8_t>(b); }))
                    used = glyphs, columns = row + glyphs;
            }
        };
        scan(&Conversion.fiveGlyph[0][0], kFiveGlyphRows, 5);
        scan(&Conversion.fourGlyph[0][0], kFourGlyphRows, 4);
        scan(&Conversion.threeGlyph[0][0], kThreeGlyphRows, 3);
        scan(&Conversion.twoGlyph[0][0], kTwoGlyphRows, 2);
        int count = 2;
        if (!used) {  // the glyph alone
            used = 1;
            bool subscriptOnly = !bilingual && (Subscript(g) || g == 249 || g == 250);
            const uint8_t *one = PLAIN_ROW(oneGlyph, g), *sub = PLAIN_ROW(ottakshara, g);
            if (!bilingual && g == 192) columns = nullptr;
            else if (!subscriptOnly && one) columns = one + 1;
            else if (sub) columns = sub + 1, count = 3;
        }
        for (int c = 0; columns && c < count; c++)
            if (columns[c]) out.push_back(static_cast<char>(columns[c]));
        j += used;
    }
    for (size_t l = 1; l < out.size(); l++) {
        auto c = [&](size_t i) { return At(out, i); };
        if (c(l) == 232 && c(l - 1) >= 218 && c(l - 1) <= 230 && Consonant(c(l + 1))) std::rotate(&out[l - 1], &out[l], &out[l + 2]);
        if (c(l) == 233 && c(l - 1) >= 218 && c(l - 1) <= 232) std::swap(out[l - 1], out[l]);
    }
    return out;
}

// ---- Glyphs read as the keyboard types them, and ISCII to UTF-8 -------------------------------

inline Bytes AsTyped(const Bytes &glyphs) {
    Bytes s;
    for (uint8_t g : glyphs)
        if (!IsJoinerGlyph(g) && !(g == 245 && !s.empty() && (At(s, s.size() - 1) == 190 || At(s, s.size() - 1) == 191)))
            s.push_back(static_cast<char>(g));
    for (size_t i = 0; i + 1 < s.size(); i++) {
        uint8_t g = At(s, i), next = At(s, i + 1);
        bool archaic = g == 249 || g == 250;
        if ((archaic && (next == 195 || next == 248 || next == 200 || next == 202)) || (g == 239 && (next == 249 || next == 250)) ||
            (g == 235 && next == 198 && i > 0 && At(s, i - 1) == 201))
            std::swap(s[i], s[i + 1]);
    }
    return s;
}

inline void OrderArchaic(Bytes &s) {
    for (size_t p = 1; p + 2 < s.size(); p++) {
        if (At(s, p) != 232 || At(s, p + 1) != 217 || (At(s, p + 2) != 207 && At(s, p + 2) != 210)) continue;
        size_t from = p;
        if (p >= 2 && At(s, p - 1) == 232 && At(s, p - 2) == 232) from = p - 2;
        else
            while (from > 0 && At(s, from - 1) >= 218 && At(s, from - 1) <= 230) from--;
        size_t n = std::min<size_t>(p - from, 8);
        std::rotate(&s[p - n], &s[p], &s[p + 3]);
        if (n) p += 2;
    }
}

inline void Utf8(uint32_t cp, Bytes &out) {
    if (cp < 0x80) out.push_back(static_cast<char>(cp));
    else if (cp < 0x800) out += {static_cast<char>(0xC0 | cp >> 6), static_cast<char>(0x80 | (cp & 0x3F))};
    else out += {static_cast<char>(0xE0 | cp >> 12), static_cast<char>(0x80 | (cp >> 6 & 0x3F)), static_cast<char>(0x80 | (cp & 0x3F))};
}

// The ISCII-91 Kannada letters, signs and digits (0: none).
inline uint32_t CodePoint(uint8_t c) {
    static const uint16_t kLetters[] = {0x0C81, 0x0C82, 0x0C83, 0x0C85, 0x0C86, 0x0C87, 0x0C88, 0x0C89, 0x0C8A, 0x0C8B, 0x0C8E,
                                        0x0C8F, 0x0C90, 0,      0x0C92, 0x0C93, 0x0C94, 0};  // 161 .. 178
    static const uint16_t kSigns[] = {0x0CBE, 0x0CBF, 0x0CC0, 0x0CC1, 0x0CC2, 0x0CC3, 0x0CC6, 0x0CC7,
                                      0x0CC8, 0,      0x0CCA, 0x0CCB, 0x0CCC, 0,      0x0CCD, 0x0CBC};  // 218 .. 233
    if (c >= 1 && c <= 160) return c;
    if (c >= 161 && c <= 178) return kLetters[c - 161];
    if (c >= 179 && c <= 198) return 0x0C95 + c - 179;
    if (c >= 200 && c <= 216 && c != 206 && c != 208 && c != 211) return c <= 205 ? 0x0CAA + c - 200 : c <= 207 ? 0x0CB0 : c <= 210 ? 0x0CB2 + c - 209 : 0x0CB5 + c - 212;
    if (c >= 218 && c <= 233) return kSigns[c - 218];
    if (c >= 241 && c <= 250) return 0x0CE6 + c - 241;
    return c == 234 ? 0x0964 : 0;
}

// Every code read in its context: a repha goes in front of the cluster it follows, a shown
// halant keeps the consonant after it apart, RA with a subscript keeps its form, and codes
// with the nukta or together make letters of their own.
inline Bytes IsciiToUtf8(const Bytes &s) {
    Bytes o;
    size_t clusterStart = 0;
    bool clusterOpen = false, linked = false;
    auto c = [&](size_t i) { return At(s, i); };
    auto consonant = [&](uint8_t x) { return Consonant(x) && CodePoint(x); };
    for (size_t i = 0; i < s.size(); i++) {
        uint8_t x = c(i), next = c(i + 1);
        if (x == 239) {  // ATR and the code after it: no text
            i++;
            continue;
        }
        uint32_t pair = x != 217 ? 0 : next == 207 ? 0x0CB1 : next == 210 ? 0x0CDE : next == 223 ? 0x0CC4 : 0;
        if (consonant(x) || pair == 0x0CB1 || pair == 0x0CDE) {
            if (!linked || !clusterOpen) clusterStart = o.size();
            clusterOpen = true;
            linked = false;
            Utf8(pair ? pair : CodePoint(x), o);
            i += pair != 0;
            continue;
        }
        if (x == 232) {
            if (i > 0 && c(i - 1) == 207 && !(i > 1 && c(i - 2) == 217) && clusterOpen && o.size() - clusterStart == 3 &&
                next >= 179 && next <= 217)
                Utf8(0x200D, o);
            Utf8(0x0CCD, o);
            if (next == 232) {
                bool repha = c(i + 2) == 208;
                uint8_t after = c(repha ? i + 3 : i + 2);
                bool loneNa = i > 0 && c(i - 1) == 198 && !(i > 1 && c(i - 2) == 232 && !(i > 2 && c(i - 3) == 232));
                if (consonant(after) || after == 217 || after == 199 || loneNa) Utf8(0x200C, o);
                i++;
                clusterOpen = clusterOpen && repha;
                linked = false;
            } else if (next == 233) {
                Utf8(0x200D, o);
                i++;
                clusterOpen = linked = false;
            } else {
                linked = clusterOpen && i > 0 && (consonant(c(i - 1)) || c(i - 1) == 233);
            }
            continue;
        }
        linked = false;
        if (x == 208) {  // the repha: RA + virama in front of the cluster, or a dead RA
            if (clusterOpen) {
                if (o.compare(clusterStart, 6, "\xE0\xB2\xB0\xE2\x80\x8D") == 0) o.erase(clusterStart + 3, 3);
                o.insert(clusterStart, "\xE0\xB2\xB0\xE0\xB3\x8D");
            } else {
                o += "\xE0\xB2\xB0\xE0\xB3\x8D";
            }
            clusterOpen = false;
            continue;
        }
        if (x == 199) {  // the dead NA
            o += "\xE0\xB2\xA8\xE0\xB3\x8D";
            clusterOpen = false;
            continue;
        }
        if (pair == 0x0CC4 || (x == 224 && next == 222)) {  // the vocalic RR sign, E + UU: the O sign
            Utf8(pair ? pair : 0x0CCA, o);
            i++;
            continue;
        }
        if (x == 217) {  // the invisible consonant alone
            Utf8(0x200D, o);
            clusterOpen = false;
            continue;
        }
        uint32_t nukta = next != 233 ? 0 : x == 166 ? 0x0C8C : x == 167 ? 0x0CE1 : x == 170 ? 0x0CE0 : x == 219 ? 0x0CE2 : x == 220 ? 0x0CE3 : x == 223 ? 0x0CC4 : 0;
        bool sign = x >= 218 && x <= 231;
        if (nukta) {
            Utf8(nukta, o);
            i++;
            if (!sign) clusterOpen = false;
            continue;
        }
        if (uint32_t cp = CodePoint(x)) Utf8(cp, o);
        if (!(sign || x == 233 || (x >= 161 && x <= 163))) clusterOpen = false;
    }
    return o;
}

// ---- Sort keys ----------------------------------------------------------------------------

// The key of ISCII: consonants and signs shifted to their collation places, each repha
// moved in front of its cluster as RA + halant, the inherent vowel after a bare consonant.
inline Bytes SortKey(const Bytes &iscii, bool bilingual) {
    auto keyConsonant = [](uint8_t d) { return d >= 201 && d <= 237; };
    auto keyVowel = [](uint8_t d) { return d >= 161 && d <= 177; };
    Bytes r;
    size_t wordStart = 0, clusterStart = 0;
    bool haveCluster = false;
    for (uint8_t c : iscii) {
        const uint8_t *row = PLAIN_ROW(sortCode, c);
        uint8_t d = c >= 179 && c <= 209 ? c + 22 : c >= 218 && c <= 231 ? c - 35 : row && row[1] ? row[1] : c;
        if (d == 230) {
            size_t j = haveCluster ? clusterStart : wordStart;
            r.insert(j, "\xE5\xB5");
            clusterStart = j;
            haveCluster = true;
            continue;
        }
        if (d < 161) {
            wordStart = r.size() + 1;
            haveCluster = false;
        } else if (r.size() > wordStart && (keyVowel(d) || keyConsonant(d)) &&
                   (keyVowel(At(r, r.size() - 1)) || (At(r, r.size() - 1) >= 182 && At(r, r.size() - 1) <= 195) ||
                    keyConsonant(At(r, r.size() - 1)))) {
            clusterStart = r.size();
            haveCluster = true;
        }
        r.push_back(static_cast<char>(d));
    }
    Bytes key;
    for (size_t j = 0; j < r.size(); j++) {
        uint8_t d = At(r, j), e = At(r, j + 1);
        if (keyConsonant(d) && d != 221 && ((e >= 201 && e <= 238) || keyVowel(e) || e < 161 || e > 243)) key += {static_cast<char>(d), '\xB6'};
        else if (d == 221) key.push_back('\xDC');
        else if (d == 243 && (e == 229 || e == 237)) key.push_back(static_cast<char>(r[j + 1] = static_cast<char>(e + 1)));
        else if (d != 181) key.push_back(static_cast<char>(d));
    }
    for (char &k : key) {
        const uint8_t *row = PLAIN_ROW(iscii2Ksclp, static_cast<uint8_t>(k));
        if (bilingual && IsLetter(static_cast<uint8_t>(k)) && row && row[1]) k = static_cast<char>(row[1]);
    }
    return key;
}

// ---- ISCII typed -----------------------------------------------------------------------------

inline uint8_t Stroke(uint8_t c) {
    const uint8_t *row = PLAIN_ROW(strokes, c);
    return row ? row[1] : 0;
}

// The keys of the ISCII code at s[i] (as a writer types them), and how many codes they take.
inline size_t Keys(const Bytes &s, size_t i, Bytes &keys) {
    uint8_t c = At(s, i), next = At(s, i + 1), sign = At(s, i + 2);
    keys.assign(1, static_cast<char>(Stroke(c)));
    if (c == 217 && (next == 207 || next == 210 || next == 223)) return keys = {static_cast<char>(Stroke(next)), 'X'}, 2;
    if (!Consonant(c) || next != 233 || !keys[0]) return 1;
    bool subscript = i > 0 && At(s, i - 1) == 232, own = std::strchr("rLjP", keys[0]) != nullptr;
    if (!subscript && own) return 1;
    if (sign >= 218 && sign <= 231 && sign != 223 && Stroke(sign)) return keys += {static_cast<char>(Stroke(sign)), 'X'}, 3;
    if (subscript) return keys += " X", 2;
    return 1;
}

// ISCII to glyphs: each code's keys typed through a composer of its own, erasures and all; a
// code that stands for itself, or a letter kept, ends the syllable.
inline Bytes TypeIscii(Bytes &src, bool bilingual, bool keepLetters) {
    ComposerState composer = NewComposerState();
    composer.options.bilingual = bilingual;
    Bytes out, keys;
    auto encode = [&](uint8_t code) { return static_cast<char>(bilingual && Mapped(code, 0) ? Mapped(code, 0) : code); };
    auto end = [&] {
        PushKey(composer, kStateBoundary, ' ');
        ResetAllFlags(composer);
        composer.postedCount = 0;
    };
    for (size_t i = 0; i < src.size(); i++) {
        uint8_t c = At(src, i);
        if (IsLetter(c)) {
            const uint8_t *codeRow = PLAIN_ROW(iscii2Bilingual, c, 0);
            uint8_t code = codeRow ? codeRow[1] : 0;
            const uint8_t *letterRow = PLAIN_ROW(iscii2Bilingual, code, 1);
            uint8_t letter = letterRow ? letterRow[0] : 0;
            bool kannada = PLAIN_ROW(oneGlyph, code) || PLAIN_ROW(ottakshara, code);
            if (!keepLetters || !code || (!bilingual && (kannada || !IsMonolingualLatinCode(code) || !letter))) continue;
            if (bilingual) src[i] = static_cast<char>(code);
            end();
            out.push_back(encode(code));
            continue;
        }
        uint8_t plain = (c >= 1 && c <= 64) || (c >= 91 && c <= 96) || (c >= 123 && c <= 126) ? c
                        : c >= 241 && c <= 250                                               ? c - 193
                        : c == 199 ? 242 : c == 234 ? '.' : 0;
        if (plain) {
            end();
            out.push_back(encode(plain));
            continue;
        }
        if (c >= 164 && c <= 177) ResetAllFlags(composer);
        if (composer.postedCount > (1 << 30)) composer.postedCount = 0;
        i += Keys(src, i, keys) - 1;
        for (char key : keys) {
            if (!key) break;
            if (const ComposerActions *typed = FeedKey(composer, static_cast<uint8_t>(key))) {
                out.resize(out.size() - std::min<size_t>(out.size(), static_cast<size_t>(typed->erase)));
                out.append(reinterpret_cast<const char *>(typed->insert), static_cast<size_t>(typed->insertLength));
            }
        }
    }
    return out;
}

// ---- The exports -----------------------------------------------------------------------------

// A call of an export: its result, the last error, its output (with the terminator; compared
// where the call succeeds), and its source afterwards.
struct Outcome {
    int result;
    int error;
    Bytes output;
    Bytes source;
};

// The end of an export: -5 without output (where the export says so), -3 where it does not fit
// `room` (0: a size query), else its length (`counted`: and the terminator).
inline Outcome Deliver(const Bytes &output, const Bytes &source, size_t room, bool failsEmpty, bool counted = false) {
    if (failsEmpty && output.empty()) return {0, -5, "", source};
    if (room && output.size() >= room) return {0, -3, "", source};
    return {static_cast<int>(output.size() + counted), 12345, room ? output + '\0' : "", source};
}

inline Outcome GlyphToIscii(const Bytes &src, size_t room, bool bilingual) {
    Bytes normalised = Normalised(bilingual ? ToMonolingual(src) : src);
    Bytes iscii = ToIscii(normalised, bilingual ? kLetters : kDropped);
    return Deliver(iscii, bilingual ? ToBilingual(normalised) : normalised, room, bilingual, !bilingual);
}

inline Outcome GlyphToUnicode(const Bytes &src, size_t room, bool bilingual) {
    Bytes iscii = bilingual ? ToIscii(Normalised(ToMonolingual(src)), kBridge) : ToIscii(Normalised(AsTyped(src)), kUnambiguous);
    if (!bilingual) OrderArchaic(iscii);
    return Deliver(IsciiToUtf8(iscii), src, room, true);
}

inline Outcome IsciiToGlyph(const Bytes &src, size_t room, bool bilingual) {
    Bytes source = src;
    Bytes glyphs = TypeIscii(source, bilingual, bilingual);
    return Deliver(glyphs, source, room, false);
}

inline Outcome IsciiToUnicode(const Bytes &src, size_t room) { return Deliver(IsciiToUtf8(src), src, room, true); }

inline Outcome Ksclp(const Bytes &src, size_t room, bool bilingual) {
    Bytes normalised = Normalised(bilingual ? ToMonolingual(src) : src);
    Bytes iscii = ToIscii(normalised, bilingual ? kLetters : kDropped), source = bilingual ? ToBilingual(normalised) : normalised;
    if (bilingual && iscii.empty()) return {0, -5, "", source};
    Bytes key = SortKey(iscii, bilingual);
    if (room && key.size() > room - 1) key.resize(room - 1);
    return {static_cast<int>(key.size()), 12345, room ? key + '\0' : "", source};
}

}  // namespace plain
