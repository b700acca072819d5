// The key sequences of the composer's edge cases with the codes they leave in the focused text box
// (monolingual font type, a fresh composer, Scroll Lock on). "\b" is Backspace, a capital is
// typed with Shift, a space is the Space key, a digit its key. Run through the hook of the virtual desktop
// (keyboard_hook_test).
#pragma once

#include <vector>

using Codes = std::vector<int>;

struct EdgeCase {
    const char *keys;
    Codes codes;
};

// The composer's edge cases, monolingual font type.
inline const EdgeCase kEdgeCases[] = {
    {"k", {80, 192}},
    {"ki", {81}},
    {"kA", {80, 193}},
    {"ka", {80, 192}},
    {"kf", {80, 239}},
    {"kfk", {80, 192, 204}},
    {"kfki", {81, 204}},
    {"kff", {80, 239}},
    {"kfkf", {80, 239, 204}},
    {"kfkfy", {80, 192, 204, 246, 229}},
    // A chain of three subscripts has a joiner between each pair; a vowel erases and retypes
    // the chain, joiners and all, leaving nothing of the old one behind.
    {"kfkfkfki", {81, 204, 247, 204, 247, 204}},
    {"kfkfkfr", {80, 192, 204, 247, 204, 231}},
    {"kfxO", {80, 201, 235, 198, 195}},
    {"kfxu", {80, 192, 235, 196}},
    {"jfzA", {101, 213, 193}},
    {"kfkY", {80, 201, 204, 246, 202}},
    {"kfkR", {80, 192, 204, 248}},
    {"rX", {190}},
    {"rXi", {190, 194}},
    {"RX", {73, 198}},
    {"kRX", {80, 192, 241}},
    {"jX", {100, 251}},
    {"jXf", {101, 243, 239}},
    {"jXfk", {100, 251, 204}},
    {"kfkfy\b", {80, 192, 204}},
    // More of the state machine, worked out from its steps.
    {"kffk", {80, 239, 80, 192}},
    {"kfkfkfk", {80, 192, 204, 247, 204, 247, 204}},
    {"kfr", {80, 192, 230}},
    {"kfkfr", {80, 192, 204, 231}},  // 204 then 231 take no joiner
    {"kfkI", {81, 204, 195}},
    {"kfxo", {80, 201, 235, 198}},
    {"kfxUA", {80, 192, 235, 198, 68}},
    {"nX", {242}},
    {"PX", {165, 115, 243, 192}},
    {"PXi", {166, 252, 251}},
    {"LXf", {191, 245, 239}},
    {"kX", {80, 192, 243}},
    // "X" after a consonant opens a syllable of its own (it is not vowel-like).
    {"kfrX", {80, 192, 230, 243}},
    {"mU", {170, 192, 196, 198}},
    {"vu", {170, 192, 197}},
    {"Z i", {89, 32, 69}},
    // "X" after a syllable that Backspace took back, or after a digit, changes nothing before.
    {"kr\bX", {80, 192, 243}},
    {"r1X", {103, 192, '1', 243}},
    {"ai", {67, 69}},
};

