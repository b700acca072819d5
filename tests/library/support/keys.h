// Typing a string of keys through the virtual desktop's key events, as a person would: a small
// letter is its key, a capital is its key with Shift held, a space is the Space key, a digit
// its key, "\b" is Backspace, "\r" Enter, "\t" Tab; any other character is ignored.
#pragma once

#include <string>

#include "kannada-tovi-desktop.h"

inline void PressKey(unsigned vk) {
    ToviDesktopKeyEvent(vk, 0);
    ToviDesktopKeyEvent(vk, 1);
}

inline void TypeKeys(const std::string &keys) {
    for (char c : keys) {
        if (c >= 'a' && c <= 'z') {
            PressKey(static_cast<unsigned>(c - 32));
        } else if (c >= 'A' && c <= 'Z') {
            ToviDesktopKeyEvent(0x10, 0);  // Shift
            PressKey(static_cast<unsigned>(c));
            ToviDesktopKeyEvent(0x10, 1);
        } else if (c == ' ' || (c >= '0' && c <= '9')) {
            PressKey(static_cast<unsigned>(c));
        } else if (c == '\b') {
            PressKey(0x08);
        } else if (c == '\r') {
            PressKey(0x0D);
        } else if (c == '\t') {
            PressKey(0x09);
        }
    }
}
