#include "side_picture.h"

#include "glyph_text.h"

#include <QPainter>

namespace SidePicture {

// The Kannada vowels a, aa, i, ii, u, uu, e, o one below the other.
QPixmap make(int width, int height) {
    static const char vowels[] = "CDEFGHJM";
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setFont(GlyphText::font(15));
    const int count = static_cast<int>(sizeof vowels) - 1;
    const int step = height / count;
    for (int i = 0; i < count; ++i) {
        const QRect cell(0, i * step, width, step);
        p.setPen(Qt::NoPen);
        p.setBrush(i % 2 ? QColor(0xF6, 0xC3, 0x43, 60) : QColor(0xFF, 0xFF, 0xFF, 30));
        p.drawEllipse(cell.center(), width / 2 - 3, step / 2 - 2);
        p.setPen(QColor(0xF6, 0xE7, 0xC1));
        p.drawText(cell, Qt::AlignCenter, GlyphText::toDisplay(QString(QLatin1Char(vowels[i]))));
    }
    return pixmap;
}

}  // namespace SidePicture
