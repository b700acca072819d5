// The ISCII-91 Kannada correspondence and the forms ISCII to UTF-8 reads codes in, for the
// conversions between ISCII and Unicode.
#pragma once

#include <cstddef>
#include <cstdint>

#include "iscii.h"
#include "utf8.h"

namespace {

constexpr uint32_t kNa = 0x0CA8;
constexpr uint32_t kRra = 0x0CB1;
constexpr uint32_t kLlla = 0x0CDE;
constexpr uint32_t kVocalicRrSign = 0x0CC4;
constexpr uint32_t kLengthMark = 0x0CD5;
constexpr uint32_t kAiLengthMark = 0x0CD6;

constexpr uint8_t kIsciiNa = 198;
constexpr uint8_t kIsciiDeadNa = 199;
constexpr uint8_t kIsciiRa = 207;
constexpr uint8_t kIsciiRepha = 208;
constexpr uint8_t kIsciiLla = 210;
constexpr uint8_t kIsciiESign = 224;
constexpr uint8_t kIsciiUuSign = 222;
constexpr uint8_t kIsciiOSign = 228;

// The ISCII-91 Kannada correspondence, one code point per ISCII code (0: none).
struct Correspondence {
    uint16_t unicode[256];
    uint8_t iscii[128];  // of U+0C80 + i
    constexpr Correspondence() : unicode(), iscii() {
        for (int c = 1; c <= 160; c++) unicode[c] = static_cast<uint16_t>(c);  // ASCII, C1 controls, no-break space
        const uint16_t kannada[][2] = {
            {161, 0x0C81}, {162, 0x0C82}, {163, 0x0C83}, {164, 0x0C85}, {165, 0x0C86}, {166, 0x0C87},
            {167, 0x0C88}, {168, 0x0C89}, {169, 0x0C8A}, {170, 0x0C8B}, {171, 0x0C8E}, {172, 0x0C8F},
            {173, 0x0C90}, {175, 0x0C92}, {176, 0x0C93}, {177, 0x0C94}, {200, 0x0CAA}, {201, 0x0CAB},
            {202, 0x0CAC}, {203, 0x0CAD}, {204, 0x0CAE}, {205, 0x0CAF}, {207, 0x0CB0}, {209, 0x0CB2},
            {210, 0x0CB3}, {212, 0x0CB5}, {213, 0x0CB6}, {214, 0x0CB7}, {215, 0x0CB8}, {216, 0x0CB9},
            {218, 0x0CBE}, {219, 0x0CBF}, {220, 0x0CC0}, {221, 0x0CC1}, {222, 0x0CC2}, {223, 0x0CC3},
            {224, 0x0CC6}, {225, 0x0CC7}, {226, 0x0CC8}, {228, 0x0CCA}, {229, 0x0CCB}, {230, 0x0CCC},
            {232, 0x0CCD}, {233, 0x0CBC}};
        for (const auto &pair : kannada) {
            unicode[pair[0]] = pair[1];
            iscii[pair[1] - 0x0C80] = static_cast<uint8_t>(pair[0]);
        }
        for (int c = 179; c <= 198; c++) {  // KA .. NA
            unicode[c] = static_cast<uint16_t>(0x0C95 + c - 179);
            iscii[0x15 + c - 179] = static_cast<uint8_t>(c);
        }
        for (int c = 241; c <= 250; c++) {  // digits
            unicode[c] = static_cast<uint16_t>(0x0CE6 + c - 241);
            iscii[0x66 + c - 241] = static_cast<uint8_t>(c);
        }
        unicode[234] = 0x0964;  // the full stop is the danda
    }
};
constexpr Correspondence kMap;

// How IsciiToUnicode reads a code. Most are plain: their UTF-8 and a change of the cluster
// state (a consonant opens a cluster, a sign or modifier keeps it open, a halant keeps it and
// may link the next consonant to it, anything else ends it). The others, and plain codes in
// some places, are read in their context.
enum : uint8_t {
    kConsonantCode = 1,
    kKeepsCluster = 2,
    kHalantCode = 4,
};

// What stands around a code, as bits: a code is read in context when its `notPlainBy` bits
// meet those of the code after it. (A halant after RA is read in context too: the RA before
// it takes it along, see IsciiToUnicode.) The bits of the code before serve the cluster state.
enum : uint8_t {
    kBeforeNukta = 1,      // the next code is the nukta
    kBeforeUu = 2,         // ... the UU sign
    kBeforeHalant = 4,     // ... the halant
    kAlways = 8,           // always set
    kAfterLinking = 32,    // the code before is a consonant or the nukta: a halant after it may link
};

// A code as IsciiToUnicode reads it, in eight bytes.
struct IsciiForm {
    uint8_t utf8[4] = {};  // up to three bytes, then zeros
    uint8_t length = 0;
    uint8_t kind = 0;
    uint8_t notPlainBy = kAlways;
    uint8_t unused = 0;
};

struct Utf8Forms {
    IsciiForm of[256];
    uint8_t asNext[256];      // the bits of a code as the one after another
    uint8_t asPrevious[256];  // ... as the one before
    constexpr Utf8Forms() : of(), asNext(), asPrevious() {
        for (int c = 0; c < 256; c++) {
            uint32_t cp = kMap.unicode[c];
            IsciiForm &f = of[c];
            if (cp == 0) {
            } else if (cp < 0x80) {
                f.length = 1;
                f.utf8[0] = static_cast<uint8_t>(cp);
            } else if (cp < 0x800) {
                f.length = 2;
                f.utf8[0] = static_cast<uint8_t>(0xC0 | (cp >> 6));
                f.utf8[1] = static_cast<uint8_t>(0x80 | (cp & 0x3F));
            } else {
                f.length = 3;
                f.utf8[0] = static_cast<uint8_t>(0xE0 | (cp >> 12));
                f.utf8[1] = static_cast<uint8_t>(0x80 | ((cp >> 6) & 0x3F));
                f.utf8[2] = static_cast<uint8_t>(0x80 | (cp & 0x3F));
            }
            bool consonant = c >= 179 && c <= 216 && cp != 0;
            if (c == 0) {
            } else if (c <= 160 || (c >= 171 && c <= 177) || c == 164 || c == 165 || c == 168 || c == 169 ||
                       (c >= 241 && c <= 250) || c == 234 || c == 206 || c == 211 || c == 178 || c == 240 ||
                       c >= 251) {
                f.notPlainBy = 0;
            } else if (consonant) {
                f.kind = kConsonantCode;
                f.notPlainBy = 0;
            } else if ((c >= 161 && c <= 163) || (c >= 218 && c <= 231) || c == 233) {
                f.kind = kKeepsCluster;
                f.notPlainBy = 0;
            }
            asPrevious[c] = consonant || c == kIsciiNukta ? kAfterLinking : 0;
            asNext[c] = kAlways;
        }
        for (int c : {166, 167, 170, 219, 220, 223}) of[c].notPlainBy = kBeforeNukta;
        of[224].notPlainBy = kBeforeUu;
        // The halant before a consonant; before a halant or nukta, or after RA, it is read in
        // context.
        of[kIsciiHalant].kind = kKeepsCluster | kHalantCode;
        of[kIsciiHalant].notPlainBy = kBeforeHalant | kBeforeNukta;
        // RA is plain; before a halant it goes to the context reading with the halant.
        of[kIsciiRa].notPlainBy = kBeforeHalant;
        asNext[kIsciiNukta] |= kBeforeNukta;
        asNext[kIsciiUuSign] |= kBeforeUu;
        asNext[kIsciiHalant] |= kBeforeHalant;
    }
};
constexpr Utf8Forms kUtf8;

inline bool IsConsonantCode(uint8_t c) { return IsIsciiConsonant(c) && kMap.unicode[c] != 0; }

// The vowels and signs that ISCII writes as a code + nukta.
inline uint32_t WithNukta(uint8_t c) {
    switch (c) {
    case 166: return 0x0C8C;  // vocalic L
    case 167: return 0x0CE1;  // vocalic LL
    case 170: return 0x0CE0;  // vocalic RR
    case 219: return 0x0CE2;  // the vocalic L sign
    case 220: return 0x0CE3;  // the vocalic LL sign
    case 223: return kVocalicRrSign;
    default: return 0;
    }
}

}  // namespace
