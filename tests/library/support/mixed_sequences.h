// Key sequences that mix conjuncts, the X forms, capitals and Backspaces ("\b"), for the
// engines typing Unicode: each must leave what `tovi type --unicode` prints for it.
#pragma once

#include <string>

inline const char *const kMixedSequences[] = {
    "kfkfy",      "ki",        "kannaDa",    "namaskAra", "kfSa",      "rXi",       "LXa",
    "jXfja",      "PXu",       "sUryaMdu",   "hRdaya",    "kfkfy\b",   "kfkfkfki",  "kannaDa\b\bi",
    "rXfka\b",    "vidyA\bE",  "kSatriya",   "Tovi ki\b", "sfnEha \b", "gAMdhi\b\b\bo",
};

// The keys as `tovi type` reads them: Backspace as {BS}.
inline std::string ToviKeys(const std::string &keys) {
    std::string out;
    for (char k : keys) out += k == '\b' ? std::string("{BS}") : std::string(1, k);
    return out;
}
