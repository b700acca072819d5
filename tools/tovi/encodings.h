// The text encodings tovi converts between, and one line's conversion through the library's
// plain converters (no length limit).
#pragma once

#include <string>

enum class Encoding { kMono, kBilingual, kIscii, kUnicode, kKsclp };

// "mono", "bilingual", "iscii", "unicode", "ksclp"; false for any other name.
bool ParseEncoding(const std::string &name, Encoding &encoding);

// Converts one line (without its end). An empty line, or one of which nothing survives,
// gives an empty result. False with a message when the line cannot be converted.
bool ConvertLine(const std::string &text, Encoding from, Encoding to, std::string &out, std::string &error);

