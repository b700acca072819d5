// The text encodings tovi converts between, and the conversion of a text through the
// library's plain converters.
#pragma once

#include <string>

enum class Encoding { kMono, kBilingual, kIscii, kUnicode, kKsclp };

// "mono", "bilingual", "iscii", "unicode", "ksclp"; false for any other name.
bool ParseEncoding(const std::string &name, Encoding &encoding);

// What a conversion found that the target cannot hold. Positions count characters of the text
// as it was read: UTF-8 characters of Unicode text; bytes of glyph text converted to glyphs;
// the characters of its Unicode reading for glyph text and ISCII converted through Unicode.
struct Unheld {
    int count = 0;         // characters the target cannot hold
    size_t column = 0;     // where the first of them is, from 0
    long code = 0;         // its code point, or its byte in an 8-bit encoding (-1: not UTF-8)
    bool codePoint = true;
    size_t characters = 0;  // characters of the whole text
};

// One conversion between two encodings. Its output buffer grows as texts need and is kept
// from text to text, so each text is converted once.
class Conversion {
public:
    Conversion(Encoding from, Encoding to) : from_(from), to_(to) {}

    // Converts `text` into `out`. A character the target cannot hold is left out when
    // `leaveOut`; otherwise the conversion stops there with `out` empty. False with a message
    // when the library fails.
    bool Run(std::string &text, bool leaveOut, std::string &out, Unheld &unheld, std::string &error);
    bool Run(std::string &text, std::string &out, std::string &error) {
        Unheld unheld;
        return Run(text, true, out, unheld, error);
    }

private:
    bool Step(int (*convert)(char *, char *, unsigned int), bool changesSource, std::string &text,
              std::string &out, std::string &error);

    Encoding from_, to_;
    std::string room_, scratch_, between_;
};

