/*
 * The keys of a US keyboard layout (header only, C++). The virtual desktop types with this
 * layout; a host that turns text into key events (tovi type) or its toolkit's keys into virtual
 * keys (the address book) reads the same table.
 */
#ifndef KANNADA_TOVI_US_KEYBOARD_H
#define KANNADA_TOVI_US_KEYBOARD_H

#include <cstring>

namespace ToviUsKeyboard {

// A virtual key and whether Shift is held with it.
struct Key {
    unsigned vk;
    bool shift;
};

// The punctuation keys: each key's character alone and with Shift.
struct Punctuation {
    unsigned vk;
    char plain, shifted;
};
inline constexpr Punctuation kPunctuation[] = {{0xBA, ';', ':'}, {0xBB, '=', '+'}, {0xBC, ',', '<'},
                                               {0xBD, '-', '_'}, {0xBE, '.', '>'}, {0xBF, '/', '?'},
                                               {0xC0, '`', '~'}, {0xDB, '[', '{'}, {0xDC, '\\', '|'},
                                               {0xDD, ']', '}'}, {0xDE, '\'', '"'}};
// What the digit keys 0-9 type with Shift.
inline constexpr char kShiftedDigits[] = ")!@#$%^&*(";

// The key that types the printable ASCII character c; false for any other character.
inline bool KeyOf(unsigned char c, Key &key) {
    if (c >= 'a' && c <= 'z') return key = {c - 32u, false}, true;
    if (c >= 'A' && c <= 'Z') return key = {c, true}, true;
    if (c >= '0' && c <= '9') return key = {c, false}, true;
    if (c == ' ') return key = {0x20, false}, true;
    if (const char *p = c ? std::strchr(kShiftedDigits, c) : nullptr)
        return key = {static_cast<unsigned>('0' + (p - kShiftedDigits)), true}, true;
    for (const Punctuation &o : kPunctuation) {
        if (c == static_cast<unsigned char>(o.plain)) return key = {o.vk, false}, true;
        if (c == static_cast<unsigned char>(o.shifted)) return key = {o.vk, true}, true;
    }
    return false;
}

// The character a digit or punctuation key types, or 0 for any other key.
inline int DigitOrPunctuation(unsigned vk, bool shift) {
    if (vk >= '0' && vk <= '9') return shift ? kShiftedDigits[vk - '0'] : static_cast<int>(vk);
    for (const Punctuation &o : kPunctuation)
        if (o.vk == vk) return shift ? o.shifted : o.plain;
    return 0;
}

}  // namespace ToviUsKeyboard

#endif
