// The key sequences of the composer's edge cases with the codes they leave in the focused text box
// (monolingual font type, a fresh composer, Scroll Lock on). "\b" is Backspace, a capital is
// typed with Shift, a space is the Space key. Run on a bare composer (composer_test) and
// through the hook of the virtual desktop (keyboard_hook_test).
#pragma once

#include <vector>

#include "compose/composer.h"

using Codes = std::vector<int>;

struct EdgeCase {
    const char *keys;
    Codes codes;
    int state;  // 0: not checked
};

// The composer's edge cases, monolingual font type.
inline const EdgeCase kEdgeCases[] = {
    {"k", {80, 192}, kStateConsonant},
    {"ki", {81}, kStateBoundary},
    {"kA", {80, 193}, kStateBoundary},
    {"ka", {80, 192}, kStateBoundary},
    {"kf", {80, 239}, kStateHalant},
    {"kfk", {80, 192, 204}, kStateConjunct},
    {"kfki", {81, 204}, kStateBoundary},
    {"kff", {80, 239}, kStateBoundary},
    {"kfkf", {80, 239, 204}, kStateConjunct},
    {"kfkfy", {80, 192, 204, 246, 229}, kStateConjunct},
    // A chain of three subscripts has a joiner between each pair; a vowel erases and retypes
    // the chain, joiners and all, leaving nothing of the old one behind.
    {"kfkfkfki", {81, 204, 247, 204, 247, 204}, kStateBoundary},
    {"kfkfkfr", {80, 192, 204, 247, 204, 231}, kStateConjunct},
    {"kfxO", {80, 201, 235, 198, 195}, 0},
    {"kfxu", {80, 192, 235, 196}, 0},
    {"jfzA", {101, 213, 193}, 0},
    {"kfkY", {80, 201, 204, 246, 202}, 0},
    {"kfkR", {80, 192, 204, 248}, 0},
    {"rX", {190}, kStateExtended},
    {"rXi", {190, 194}, kStateBoundary},
    {"RX", {73, 198}, kStateBoundary},
    {"kRX", {80, 192, 241}, kStateBoundary},
    {"jX", {100, 251}, kStateExtended},
    {"jXf", {101, 243, 239}, kStateExtendedHalant},
    {"jXfk", {100, 251, 204}, kStateExtendedChain},
    {"kfkfy\b", {80, 192, 204}, 0},
    // More of the state machine, worked out from its steps.
    {"kffk", {80, 239, 80, 192}, kStateConsonant},
    {"kfkfkfk", {80, 192, 204, 247, 204, 247, 204}, kStateConjunct},
    {"kfr", {80, 192, 230}, kStateConjunct},
    {"kfkfr", {80, 192, 204, 231}, kStateConjunct},  // 204 then 231 take no joiner
    {"kfkI", {81, 204, 195}, kStateBoundary},
    {"kfxo", {80, 201, 235, 198}, 0},
    {"kfxUA", {80, 192, 235, 198, 68}, 0},
    {"nX", {242}, kStateBoundary},
    {"PX", {165, 115, 243, 192}, kStateExtended},
    {"PXi", {166, 252, 251}, kStateBoundary},
    {"LXf", {191, 245, 239}, kStateHalant},
    {"kX", {80, 192, 243}, kStateBoundary},
    // "X" after a consonant opens a syllable of its own (it is not vowel-like).
    {"kfrX", {80, 192, 230, 243}, kStateBoundary},
    {"mU", {170, 192, 196, 198}, kStateBoundary},
    {"vu", {170, 192, 197}, kStateBoundary},
    {"Z i", {89, 32, 69}, 0},
    {"ai", {67, 69}, kStateBoundary},
};

