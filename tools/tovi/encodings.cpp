#include "encodings.h"

#include <cstring>
#include <vector>

#include "kannada-tovi.h"

namespace {

// A converter of the library: source, destination, its size.
using Converter = int (*)(char *src, char *dst, unsigned int dstSize);

// The plain converters with that signature.
int MonoToBilingual(char *s, char *d, unsigned n) { return static_cast<int>(ToviMonolingual2BilingualGlyph(s, d, n)); }
int BilingualToMono(char *s, char *d, unsigned n) { return ToviBilingual2MonolingualGlyph(s, d, n); }
int IsciiToMono(char *s, char *d, unsigned n) { return ToviISCII2MonolingualGlyph(s, d, n); }
int IsciiToUnicode(char *s, char *d, unsigned n) { return ToviISCII2Unicode(s, d, n); }
int MonoToUnicode(char *s, char *d, unsigned n) { return ToviMonolingualGlyph2Unicode(s, d, n); }
int BilingualToUnicode(char *s, char *d, unsigned n) { return ToviBilingualGlyph2Unicode(s, d, n); }
int UnicodeToMono(char *s, char *d, unsigned n) { return ToviUnicode2MonolingualGlyph(s, d, n); }
int UnicodeToBilingual(char *s, char *d, unsigned n) { return ToviUnicode2BilingualGlyph(s, d, n); }
int UnicodeToIscii(char *s, char *d, unsigned n) { return ToviUnicode2ISCII(s, d, n); }

// How a conversion finds what the target cannot hold.
enum class Check {
    kNone,
    kUnicode,          // asks the library about the text's Unicode
    kLettersInMono,    // bilingual text's Latin letters that monolingual glyph text has no code for
    kGlyphsInBilingual // monolingual glyphs that bilingual glyph text has not (their codes are letters there)
};

// A conversion: to Unicode first (for ISCII and glyph text meeting each other, so that the
// text is read as characters), the check, then one or two converters.
struct Route {
    Converter toUnicode;
    Check check;
    int heldIn;  // for Check::kUnicode: the encoding asked about
    Converter first, then;
    bool firstChangesSource;
};

Route RouteOf(Encoding from, Encoding to) {
    const Check none = Check::kNone, unicode = Check::kUnicode;
    const int mono = TOVI_MONOLINGUAL_GLYPHS, bilingual = TOVI_BILINGUAL_GLYPHS, iscii = TOVI_ISCII;
    switch (from) {
    case Encoding::kUnicode:
        switch (to) {
        case Encoding::kMono: return {nullptr, unicode, mono, UnicodeToMono, nullptr, false};
        case Encoding::kBilingual: return {nullptr, unicode, bilingual, UnicodeToBilingual, nullptr, false};
        case Encoding::kIscii: return {nullptr, unicode, iscii, UnicodeToIscii, nullptr, false};
        default: return {nullptr, unicode, mono, UnicodeToMono, ToviMonolingualGlyph2KSCLP, false};
        }
    case Encoding::kIscii:
        switch (to) {
        case Encoding::kMono: return {IsciiToUnicode, unicode, mono, UnicodeToMono, nullptr, false};
        case Encoding::kBilingual: return {IsciiToUnicode, unicode, bilingual, UnicodeToBilingual, nullptr, false};
        case Encoding::kKsclp: return {nullptr, none, 0, IsciiToMono, ToviMonolingualGlyph2KSCLP, false};
        default: return {nullptr, none, 0, IsciiToUnicode, nullptr, false};
        }
    default: {
        bool b = from == Encoding::kBilingual;
        switch (to) {
        case Encoding::kMono: return {nullptr, Check::kLettersInMono, 0, BilingualToMono, nullptr, false};
        case Encoding::kBilingual: return {nullptr, Check::kGlyphsInBilingual, 0, MonoToBilingual, nullptr, false};
        case Encoding::kIscii: return {b ? BilingualToUnicode : MonoToUnicode, unicode, iscii, UnicodeToIscii, nullptr, false};
        case Encoding::kKsclp:
            return {nullptr, none, 0, b ? ToviBilingualGlyph2KSCLP : ToviMonolingualGlyph2KSCLP, nullptr, true};
        default: return {nullptr, none, 0, b ? BilingualToUnicode : MonoToUnicode, nullptr, false};
        }
    }
    }
}

bool IsLetter(unsigned c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The bytes that a glyph-to-glyph conversion cannot carry over, worked out once from the
// library: Latin letters that monolingual text has no code for (their codes are Kannada
// glyphs), and those glyphs, which the bilingual encoding has only as the letters.
struct LostBytes {
    bool lettersInMono[256] = {}, glyphsInBilingual[256] = {};
    LostBytes() {
        for (unsigned c = 'A'; c <= 'z'; c++) {
            char letter[2] = {static_cast<char>(c), 0};
            lettersInMono[c] = IsLetter(c) && ToviUnicodeUnheld(letter, TOVI_MONOLINGUAL_GLYPHS, nullptr, nullptr, 0) > 0;
        }
        for (unsigned c = 128; c < 256; c++) {
            char glyph[2] = {static_cast<char>(c), 0}, bilingual[4] = {};
            ToviMonolingual2BilingualGlyph(glyph, bilingual, sizeof bilingual);
            glyphsInBilingual[c] = lettersInMono[static_cast<unsigned char>(bilingual[0])];
        }
    }
};

// Characters of a text as its encoding counts them: UTF-8 sequences, or bytes.
size_t Characters(const std::string &text, size_t bytes, bool utf8) {
    if (!utf8) return bytes;
    size_t n = 0;
    for (size_t i = 0; i < bytes; i++) n += (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
    return n;
}

}  // namespace

bool ParseEncoding(const std::string &name, Encoding &encoding) {
    static const struct {
        const char *name;
        Encoding encoding;
    } kNames[] = {{"mono", Encoding::kMono}, {"bilingual", Encoding::kBilingual}, {"iscii", Encoding::kIscii},
                  {"unicode", Encoding::kUnicode}, {"ksclp", Encoding::kKsclp}};
    for (const auto &n : kNames)
        if (name == n.name) {
            encoding = n.encoding;
            return true;
        }
    return false;
}

bool Conversion::Run(std::string &text, bool leaveOut, std::string &out, Unheld &unheld, std::string &error) {
    out.clear();
    unheld = Unheld();
    unheld.characters = Characters(text, text.size(), from_ == Encoding::kUnicode);
    if (text.empty()) return true;
    if (from_ == to_) return out = text, true;
    Route route = RouteOf(from_, to_);
    std::string *source = &text;
    if (route.toUnicode) {
        if (!Step(route.toUnicode, false, text, between_, error)) return false;
        source = &between_;
        unheld.characters = Characters(between_, between_.size(), true);
        if (between_.empty()) return true;
    }
    if (route.check == Check::kUnicode) {
        int offset = 0, code = 0;
        unheld.count = ToviUnicodeUnheld(source->c_str(), route.heldIn, &offset, &code, 1);
        if (unheld.count > 0) unheld.column = Characters(*source, static_cast<size_t>(offset), true), unheld.code = code;
    } else if (route.check != Check::kNone) {
        static const LostBytes lost;
        const bool *table = route.check == Check::kLettersInMono ? lost.lettersInMono : lost.glyphsInBilingual;
        std::string kept;
        for (size_t i = 0; i < text.size(); i++) {
            unsigned char c = static_cast<unsigned char>(text[i]);
            if (!table[c]) {
                kept.push_back(text[i]);
            } else if (unheld.count++ == 0) {
                unheld.column = i;
                unheld.code = c;
                unheld.codePoint = false;
            }
        }
        if (leaveOut) text.swap(kept);  // the converter would carry them over as something else
    }
    if (unheld.count > 0 && !leaveOut) return true;
    if (source->empty()) return true;
    if (!Step(route.first, route.firstChangesSource, *source, out, error)) return false;
    if (route.then && !out.empty()) {
        std::string glyphs;
        glyphs.swap(out);
        if (!Step(route.then, true, glyphs, out, error)) return false;
    }
    return true;
}

// One converter over `text` into the output buffer, which doubles while it is too small. A
// converter that changes its source works on a copy, so that a second try reads the text as
// it was. A sort key is cut to the room there is, so a key that fills the room is made again
// with more.
bool Conversion::Step(Converter convert, bool changesSource, std::string &text, std::string &out,
                      std::string &error) {
    if (room_.size() < 2 * text.size() + 64) room_.resize(2 * text.size() + 64);
    for (;;) {
        char *source = &text[0];
        if (changesSource) {
            scratch_ = text;
            source = &scratch_[0];
        }
        room_[0] = '\0';
        int n = convert(source, &room_[0], static_cast<unsigned int>(room_.size()));
        int code = n > 0 ? 0 : ToviGetLastError();
        bool key = convert == ToviMonolingualGlyph2KSCLP || convert == ToviBilingualGlyph2KSCLP;
        bool cut = key && n > 0 && static_cast<size_t>(n) + 1 >= room_.size();
        if (code == -3 || cut) {
            room_.resize(2 * room_.size());
            continue;
        }
        if (n > 0 || code == -5) {
            out.assign(room_.c_str());
            return true;
        }
        error = code == -6 ? "out of memory" : "the library could not convert it (error " + std::to_string(code) + ")";
        return false;
    }
}
