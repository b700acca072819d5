// Whole texts through the library's converters, and texts cut at their spaces.
#pragma once

#include <string>
#include <vector>

#include "kannada-tovi.h"

using Export = int (*)(const char *, char *, unsigned int);

// What the converter gives for the whole text (nothing when it fails).
inline std::string Converted(Export convert, const std::string &text) {
    std::string out(16 * text.size() + 16, '\0');
    int n = convert(text.c_str(), &out[0], static_cast<unsigned>(out.size()));
    out.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return out;
}

// The pieces of a text between spaces (every encoding keeps the space).
inline std::vector<std::string> Pieces(const std::string &text) {
    std::vector<std::string> pieces(1);
    for (char c : text)
        if (c == ' ') pieces.emplace_back();
        else pieces.back().push_back(c);
    return pieces;
}
