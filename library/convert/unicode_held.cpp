// What an encoding can hold of a Unicode text: each syllable goes there and back.
#include "unicode_held.h"

#include <cstring>
#include <memory>
#include <unordered_map>

#include "iscii.h"
#include "iscii_typing.h"
#include "unicode.h"
#include "utf8.h"

#include "../base/last_error.h"

namespace {

constexpr int32_t kDanda = 0x0964;

// A syllable longer than this is not held past it: no writer forms one, and the search for
// what fails stays short.
constexpr size_t kLongestSyllable = 32;

struct Character {
    int32_t cp;  // -1: a byte that starts no well-formed sequence
    size_t offset, length;
};

void Decode(const uint8_t *s, size_t n, std::vector<Character> &out) {
    for (size_t i = 0, len; i < n; i += len) {
        const int32_t cp = ReadUtf8(s, n, i, len);
        out.push_back({cp, i, len});
    }
}

bool IsJoiner(int32_t cp) { return cp == kZwj || cp == kZwnj; }
bool IsKannada(int32_t cp) { return cp >= 0x0C80 && cp <= 0x0CFF; }
bool IsConsonant(int32_t cp) { return (cp >= 0x0C95 && cp <= 0x0CB9) || cp == 0x0CDE; }
// Signs that belong to the letter before them.
bool IsCombining(int32_t cp) {
    return (cp >= 0x0C81 && cp <= 0x0C83) || cp == kNukta || (cp >= 0x0CBE && cp <= 0x0CCD) || cp == 0x0CD5 ||
           cp == 0x0CD6 || cp == 0x0CE2 || cp == 0x0CE3 || cp == 0x0CF3;
}

void PutUtf8(int32_t cp, std::string &out) {
    uint8_t bytes[4];
    out.append(reinterpret_cast<const char *>(bytes), ::PutUtf8(bytes, static_cast<uint32_t>(cp)) - bytes);
}

// The text as a reader takes it: the two-part vowel signs in their parts, the nukta before a
// virama, no joiners (Kannada shows a halant the same with either, and glyph text has none)
// except the one that keeps RA before a virama from being the repha where it could be one.
// Glyph text writes the digits and the danda with ASCII, and reads them so.
void AsRead(const uint8_t *utf8, size_t n, bool glyphs, std::vector<Character> &chars, std::vector<int32_t> &r) {
    chars.clear();
    Decode(utf8, n, chars);
    r.clear();
    for (size_t i = 0; i < chars.size(); i++) {
        int32_t cp = chars[i].cp;
        int32_t before = i > 0 ? chars[i - 1].cp : 0, after = i + 1 < chars.size() ? chars[i + 1].cp : 0;
        bool raStarts = i < 2 || chars[i - 2].cp != kVirama;  // after a virama it is no repha anyway
        if (IsJoiner(cp) && !(cp == kZwj && before == kRa && after == kVirama && raStarts)) continue;
        if (glyphs && cp >= 0x0CE6 && cp <= 0x0CEF) cp = '0' + (cp - 0x0CE6);
        if (glyphs && cp == kDanda) cp = '.';
        switch (cp) {
        case 0x0CC0: r.insert(r.end(), {0x0CBF, 0x0CD5}); break;
        case 0x0CC7: r.insert(r.end(), {0x0CC6, 0x0CD5}); break;
        case 0x0CC8: r.insert(r.end(), {0x0CC6, 0x0CD6}); break;
        case 0x0CCA: r.insert(r.end(), {0x0CC6, 0x0CC2}); break;
        case 0x0CCB: r.insert(r.end(), {0x0CC6, 0x0CC2, 0x0CD5}); break;
        default: r.push_back(cp);
        }
    }
    for (size_t i = 1; i < r.size(); i++)
        if (r[i] == kNukta && r[i - 1] == kVirama) std::swap(r[i], r[i - 1]);
}

// Text converted to the encoding, and back.
void There(const std::string &text, HeldIn encoding, std::string &there) {
    const uint8_t *s = reinterpret_cast<const uint8_t *>(text.data());
    if (encoding == HeldIn::kIscii) UnicodeToIscii(s, text.size(), there = std::string());
    else UnicodeToGlyphs(s, text.size(), encoding == HeldIn::kBilingual, there);
}

bool CameBack(const std::string &text, const std::string &there, HeldIn encoding) {
    std::string back;
    const uint8_t *s = reinterpret_cast<const uint8_t *>(there.data());
    if (encoding == HeldIn::kIscii) IsciiToUnicode(s, there.size(), back);
    else GlyphsToUnicode(s, there.size(), encoding == HeldIn::kBilingual, back);
    return back == text || ReadAlike(reinterpret_cast<const uint8_t *>(back.data()), back.size(),
                                     reinterpret_cast<const uint8_t *>(text.data()), text.size(),
                                     encoding != HeldIn::kIscii);
}

// Whether a piece of text comes back from the encoding as itself.
bool ComesBack(const std::string &text, HeldIn encoding) {
    std::string there;
    There(text, encoding, there);
    return CameBack(text, there, encoding);
}

// Whether an ASCII character comes back, for each encoding: worked out once.
bool AsciiHeld(uint8_t c, HeldIn encoding) {
    struct Table {
        bool held[3][128];
        Table() {
            for (int e = 0; e < 3; e++)
                for (int c = 1; c < 128; c++) held[e][c] = ComesBack(std::string(1, static_cast<char>(c)), HeldIn(e));
        }
    };
    static const Table table;
    return c != 0 && table.held[static_cast<int>(encoding)][c];
}

// What a call has found of texts: whether each comes back, and what it converts to; forgotten
// when it is much, so memory stays small.
struct Known {
    HeldIn encoding;
    struct Text {
        bool held;
        std::string there;
    };
    std::unordered_map<std::string, Text> texts;
    const Text &Of(const std::string &text) {
        auto it = texts.find(text);
        if (it != texts.end()) return it->second;
        if (texts.size() >= 65536) texts.clear();
        Text &t = texts[text];
        There(text, encoding, t.there);
        t.held = CameBack(text, t.there, encoding);
        return t;
    }
    bool ComesBack(const std::string &text) { return Of(text).held; }
};

// The character of a syllable that keeps it from coming back: the first that does not come
// back together with those before it. Joiners are never the one (the text reads the same
// without them).
const Character *FirstUnheld(const std::vector<Character> &chars, size_t from, size_t to, Known &known) {
    std::string kept;
    for (size_t i = from; i < to; i++) {
        const Character &c = chars[i];
        PutUtf8(c.cp, kept);
        if (!IsJoiner(c.cp) && (i - from >= kLongestSyllable || !known.ComesBack(kept))) return &c;
    }
    return &chars[to - 1];  // the syllable fails as a whole only
}

// A syllable the encoding cannot hold: the character that keeps it from coming back, and
// where the syllable starts and ends (bytes).
struct UnheldSyllable {
    UnheldCharacter character;
    size_t from, to;
};

// Each syllable (and each other character) of a word on its own.
void FindUnheldSyllables(const uint8_t *utf8, size_t n, Known &known, std::vector<UnheldSyllable> &unheld) {
    std::vector<Character> chars;
    Decode(utf8, n, chars);
    for (size_t i = 0; i < chars.size();) {
        const Character &c = chars[i];
        UnheldSyllable alone{{c.offset, c.length, c.cp}, c.offset, c.offset + c.length};
        if (c.cp >= 0 && c.cp < 0x80) {
            if (!AsciiHeld(static_cast<uint8_t>(c.cp), known.encoding)) unheld.push_back(alone);
            i++;
            continue;
        }
        if (c.cp < 0 || !(IsKannada(c.cp) || IsJoiner(c.cp) || c.cp == kDanda)) {
            unheld.push_back(alone);  // no encoding here has it
            i++;
            continue;
        }
        // A syllable: a letter (or a sign with none before it) and the signs and joiners after
        // it, with each consonant that a virama links to the one before.
        size_t end = i + 1;
        while (end < chars.size() && (IsCombining(chars[end].cp) || IsJoiner(chars[end].cp) ||
                                      (IsConsonant(chars[end].cp) && chars[end - 1].cp == kVirama)))
            end++;
        size_t to = chars[end - 1].offset + chars[end - 1].length;
        if (!known.ComesBack(std::string(reinterpret_cast<const char *>(utf8) + c.offset, to - c.offset))) {
            const Character *first = FirstUnheld(chars, i, end, known);
            unheld.push_back({{first->offset, first->length, first->cp}, c.offset, to});
        }
        i = end;
    }
}

// A word the quick way: there (ISCII, or glyphs from what typing gave for each syllable) and
// back (the UTF-8 of each syllable), in buffers kept from word to word. The same steps as
// Known's, which the words that do not come back whole then take.
class QuickWords {
public:
    explicit QuickWords(HeldIn encoding) : encoding_(encoding) {}

    // Appends the word's conversion to `out` when it comes back whole; false, with nothing
    // appended, when it does not, or is too long for the quick way.
    bool Convert(const uint8_t *word, size_t n, std::string &out) {
        if (n > kShortUnicode) return false;
        size_t k = ShortUnicodeToIscii(word, n, iscii_);
        iscii_[k] = 0;
        const char *there = reinterpret_cast<const char *>(iscii_);
        size_t thereLength = k, backLength;
        if (encoding_ == HeldIn::kIscii) {
            back_.resize(kUnicodePerIscii * k + 8);
            backLength = IsciiToUnicode(iscii_, k, back_.data());
        } else {
            bool bilingual = encoding_ == HeldIn::kBilingual;
            glyphs_.clear();
            {
                TypedText typed(glyphs_, 0);
                TypeIsciiQuickly(iscii_, k, bilingual, true, false, typed);
            }
            there = glyphs_.data();  // glyphs_.c_str(): a NUL after it
            thereLength = glyphs_.size();
            back_.resize(kUnicodePerIscii * kIsciiPerGlyph * thereLength + kGlyphUtf8Slack);
            backLength = GlyphsToUtf8(reinterpret_cast<const uint8_t *>(glyphs_.c_str()), thereLength, bilingual,
                                      back_.data());
        }
        if (!(backLength == n && std::memcmp(back_.data(), word, n) == 0)) {
            bool glyphs = encoding_ != HeldIn::kIscii;
            AsRead(back_.data(), backLength, glyphs, chars_, readBack_);
            AsRead(word, n, glyphs, chars_, readWord_);
            if (readBack_ != readWord_) return false;
        }
        out.append(there, thereLength);
        return true;
    }

private:
    HeldIn encoding_;
    uint8_t iscii_[kIsciiPerUnicode * kShortUnicode + 1];
    std::string glyphs_;
    std::vector<uint8_t> back_;
    std::vector<Character> chars_;
    std::vector<int32_t> readBack_, readWord_;
};

// The text between two ASCII characters that are no letters: the converters carry those over
// as they are, and nothing of a syllable reaches across one, so each word is converted, and
// found held, on its own (and once, however often it comes).
bool EndsWord(uint8_t c) { return (c >= 1 && c <= 64) || (c >= 91 && c <= 96) || (c >= 123 && c <= 127); }

template <typename Word, typename Separator>
void ForEachWord(const uint8_t *utf8, size_t n, Word word, Separator separator) {
    for (size_t i = 0; i < n;) {
        if (EndsWord(utf8[i])) {
            separator(i);
            i++;
            continue;
        }
        size_t end = i + 1;
        while (end < n && !EndsWord(utf8[end])) end++;
        word(i, end);
        i = end;
    }
}

// The syllables of a word that does not come back to leave out, so that the rest does. Should
// the rest not come back either (a syllable that changes one beside it), the whole word goes,
// named by its first character that is no joiner.
void UnheldOfWord(const uint8_t *utf8, size_t n, Known &known, std::vector<UnheldSyllable> &unheld,
                  std::string &kept) {
    unheld.clear();
    FindUnheldSyllables(utf8, n, known, unheld);
    kept.clear();
    size_t at = 0;
    for (const UnheldSyllable &u : unheld) {
        kept.append(reinterpret_cast<const char *>(utf8) + at, u.from - at);
        at = u.to;
    }
    kept.append(reinterpret_cast<const char *>(utf8) + at, n - at);
    if (kept.empty() || known.ComesBack(kept)) return;
    std::vector<Character> chars;
    Decode(utf8, n, chars);
    const Character *first = &chars[0];
    for (const Character &c : chars)
        if (!IsJoiner(c.cp)) {
            first = &c;
            break;
        }
    unheld.assign(1, {{first->offset, first->length, first->cp}, 0, n});
    kept.clear();
}

}  // namespace

bool ReadAlike(const uint8_t *a, size_t na, const uint8_t *b, size_t nb, bool glyphs) {
    std::vector<Character> chars;
    std::vector<int32_t> readA, readB;
    AsRead(a, na, glyphs, chars, readA);
    AsRead(b, nb, glyphs, chars, readB);
    return readA == readB;
}

void FindUnheld(const uint8_t *utf8, size_t n, HeldIn encoding, std::vector<UnheldCharacter> &unheld) {
    int lastError = LibraryLastError;
    Known known{encoding, {}};
    std::vector<UnheldSyllable> syllables;
    std::string kept;
    ForEachWord(
        utf8, n,
        [&](size_t from, size_t to) {
            if (known.ComesBack(std::string(reinterpret_cast<const char *>(utf8) + from, to - from))) return;
            UnheldOfWord(utf8 + from, to - from, known, syllables, kept);
            for (UnheldSyllable &u : syllables) {
                u.character.offset += from;
                unheld.push_back(u.character);
            }
        },
        [&](size_t at) {
            if (!AsciiHeld(utf8[at], encoding)) unheld.push_back({at, 1, utf8[at]});
        });
    LibraryLastError = lastError;
}

namespace {

// The conversion of the words (and the ASCII between them) that ConvertHeld does: each word
// through `quickly` when it can, else the plain way.
template <typename Quickly>
void ConvertWords(const uint8_t *utf8, size_t n, HeldIn encoding, std::string &out, Quickly quickly) {
    int lastError = LibraryLastError;
    // Room made once for what most text gives (a glyph or ISCII code for each Kannada letter or
    // sign, which takes three bytes of UTF-8).
    out.resize(n / 2 + 64);
    Known known{encoding, {}};
    std::vector<UnheldSyllable> syllables;
    std::string word;
    {
        TypedText text(out, 0);
        text.length = 0;
        auto put = [&](const std::string &s) {
            std::memcpy(text.Room(s.size()), s.data(), s.size());
            text.length += s.size();
        };
        ForEachWord(
            utf8, n,
            [&](size_t from, size_t to) {
                if (quickly(utf8 + from, to - from, text)) return;
                word.assign(reinterpret_cast<const char *>(utf8) + from, to - from);
                const Known::Text &w = known.Of(word);
                if (w.held) return put(w.there);
                // Each syllable that would not come back is left out whole.
                std::string kept;
                UnheldOfWord(utf8 + from, to - from, known, syllables, kept);
                put(known.Of(kept).there);
            },
            [&](size_t at) {
                if (AsciiHeld(utf8[at], encoding)) text.Push(utf8[at]);
            });
    }
    LibraryLastError = lastError;
}

}  // namespace

void ConvertHeld(const uint8_t *utf8, size_t n, HeldIn encoding, std::string &out) {
    std::unique_ptr<QuickWords> quick(new QuickWords(encoding));
    std::string word;
    ConvertWords(utf8, n, encoding, out, [&](const uint8_t *w, size_t length, TypedText &text) {
        if (ConvertHeldWord(w, length, encoding, text)) return true;
        word.clear();
        if (!quick->Convert(w, length, word)) return false;
        std::memcpy(text.Room(word.size()), word.data(), word.size());
        text.length += word.size();
        return true;
    });
}

void ConvertHeldPlainly(const uint8_t *utf8, size_t n, HeldIn encoding, std::string &out) {
    ConvertWords(utf8, n, encoding, out, [](const uint8_t *, size_t, TypedText &) { return false; });
}
