#include "encodings.h"

#include <climits>
#include <cstring>

#include "kannada-tovi.h"
#include "lines.h"

namespace {

// A converter of the library: source, destination (null for a size query), its size.
using Converter = int (*)(char *src, char *dst, unsigned int dstSize);

// Runs a converter over a copy of `text` with a destination sized by its own size query.
// The library's -5 (nothing to give) is an empty result, not an error.
bool Run(Converter convert, const std::string &text, std::string &out, std::string &error) {
    out.clear();
    if (text.empty()) return true;
    std::string copy = text;
    // The size query is given room without limit: a key would be cut to a smaller one.
    int need = convert(&copy[0], nullptr, UINT_MAX);
    if (need <= 0) {
        if (ToviGetLastError() == -6) {
            error = "out of memory";
            return false;
        }
        return true;
    }
    copy = text;
    std::string result(static_cast<size_t>(need) + 2, '\0');
    int n = convert(&copy[0], &result[0], static_cast<unsigned int>(result.size()));
    if (n <= 0 && ToviGetLastError() == -6) {
        error = "out of memory";
        return false;
    }
    result.resize(std::strlen(result.c_str()));
    out = result;
    return true;
}

// The plain converters, with the signature of Run. Those that take a const source or an
// unsigned result are wrapped.
int MonoToBilingual(char *s, char *d, unsigned n) { return static_cast<int>(ToviMonolingual2BilingualGlyph(s, d, n)); }
int BilingualToMono(char *s, char *d, unsigned n) { return ToviBilingual2MonolingualGlyph(s, d, n); }
int IsciiToMono(char *s, char *d, unsigned n) { return ToviISCII2MonolingualGlyph(s, d, n); }
int MonoToUnicode(char *s, char *d, unsigned n) { return ToviMonolingualGlyph2Unicode(s, d, n); }
int BilingualToUnicode(char *s, char *d, unsigned n) { return ToviBilingualGlyph2Unicode(s, d, n); }
int UnicodeToMono(char *s, char *d, unsigned n) { return ToviUnicode2MonolingualGlyph(s, d, n); }
int UnicodeToBilingual(char *s, char *d, unsigned n) { return ToviUnicode2BilingualGlyph(s, d, n); }

// Glyph text of either encoding from any source encoding; ISCII and Unicode come as the
// glyphs the keyboard would type for them.
bool ToGlyphs(const std::string &text, Encoding from, bool bilingual, std::string &out, std::string &error) {
    switch (from) {
    case Encoding::kMono:
        if (!bilingual) return out = text, true;
        return Run(MonoToBilingual, text, out, error);
    case Encoding::kBilingual:
        if (bilingual) return out = text, true;
        return Run(BilingualToMono, text, out, error);
    case Encoding::kIscii:
        return Run(bilingual ? ToviISCII2BilingualGlyph : IsciiToMono, text, out, error);
    case Encoding::kUnicode:
        return Run(bilingual ? UnicodeToBilingual : UnicodeToMono, text, out, error);
    case Encoding::kKsclp:
        break;
    }
    error = "a sort key cannot be converted back";
    return false;
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

bool ConvertLine(const std::string &text, Encoding from, Encoding to, std::string &out, std::string &error) {
    if (text.find('\0') != std::string::npos) {
        error = "a zero byte in the text";
        return false;
    }
    if (from == Encoding::kUnicode && !IsValidUtf8(text)) {
        error = "invalid UTF-8";
        return false;
    }
    if (from == to) return out = text, true;
    // Bilingual text stays bilingual on its way to ISCII and sort keys (its Latin letters
    // count); everything else goes through monolingual glyphs.
    bool bilingual = from == Encoding::kBilingual || to == Encoding::kBilingual;
    std::string glyphs;
    switch (to) {
    case Encoding::kMono:
    case Encoding::kBilingual:
        return ToGlyphs(text, from, to == Encoding::kBilingual, out, error);
    case Encoding::kIscii:
        if (!ToGlyphs(text, from, bilingual, glyphs, error)) return false;
        return Run(bilingual ? ToviBilingualGlyph2ISCII : ToviMonolingualGlyph2ISCII, glyphs, out, error);
    case Encoding::kUnicode:
        if (!ToGlyphs(text, from, bilingual, glyphs, error)) return false;
        return Run(bilingual ? BilingualToUnicode : MonoToUnicode, glyphs, out, error);
    case Encoding::kKsclp:
        if (!ToGlyphs(text, from, bilingual, glyphs, error)) return false;
        return Run(bilingual ? ToviBilingualGlyph2KSCLP : ToviMonolingualGlyph2KSCLP, glyphs, out, error);
    }
    return false;
}
