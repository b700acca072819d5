// Positions and sizes of the windows are given in twips, 1440 to the inch. Qt lays widgets
// out in device-independent pixels of 96 to the inch, so 15 twips make one pixel.
#pragma once

#include <QRect>
#include <cmath>

constexpr int kTwipsPerPixel = 15;

inline int twips(int t) { return static_cast<int>(std::lround(t / double(kTwipsPerPixel))); }
inline QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twips(left), twips(top), twips(width), twips(height));
}
