#include "glyph_classes.h"

namespace {

bool IsNarrowSubscript(uint8_t g) {
    return (g >= 204 && g <= 222) || (g >= 224 && g <= 227) || (g >= 232 && g <= 238);
}
bool IsWideMark(uint8_t g) { return g == 200 || g == 202 || g == 223 || g == 228 || g == 229; }

}  // namespace

bool IsMonolingualLatinCode(uint8_t g) {
    return (g >= 127 && g <= 161) || g == 173 || g == 179 || g == 180 || g == 183 || g == 190 ||
           g == 191 || (g >= 241 && g <= 245) || (g >= 249 && g <= 251) || g >= 253;
}

uint8_t JoinerGlyph(uint8_t before, uint8_t after) {
    if (IsNarrowSubscript(before) || IsWideMark(before)) {
        if (IsWideMark(after)) return 246;
        if (IsNarrowSubscript(after)) return 247;
    }
    return (before == 230 || before == 231) ? 246 : 0;
}
