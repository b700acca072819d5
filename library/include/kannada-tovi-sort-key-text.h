/*
 * The text of a KSCLP sort key (header only, C++), as the address book stores it in its sort
 * columns and `tovi sortkey` prints it: each byte as capital hexadecimal digits without leading
 * zeros, so a byte below 16 gives one digit.
 */
#ifndef KANNADA_TOVI_SORT_KEY_TEXT_H
#define KANNADA_TOVI_SORT_KEY_TEXT_H

#include <string>
#include <string_view>

namespace ToviSortKeyText {

inline std::string Hex(std::string_view key) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(key.size() * 2);
    for (unsigned char b : key) {
        if (b >= 16) hex.push_back(kDigits[b >> 4]);
        hex.push_back(kDigits[b & 15]);
    }
    return hex;
}

}  // namespace ToviSortKeyText

#endif
