#include "arrow_button.h"

#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

QIcon arrowIcon(ArrowButton::Kind kind, const QColor &color) {
    const int side = 16;
    QPixmap pixmap(side * 2, side * 2);  // drawn at twice the size, sharp on dense screens
    pixmap.setDevicePixelRatio(2.0);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    const bool left = kind == ArrowButton::Kind::First || kind == ArrowButton::Kind::Previous;
    const bool bar = kind == ArrowButton::Kind::First || kind == ArrowButton::Kind::Last;
    const qreal top = 3, bottom = side - 3, mid = side / 2.0;
    const qreal tipX = left ? (bar ? 5.5 : 4) : (bar ? side - 5.5 : side - 4);
    const qreal baseX = left ? tipX + 7 : tipX - 7;
    QPainterPath triangle;
    triangle.moveTo(tipX, mid);
    triangle.lineTo(baseX, top);
    triangle.lineTo(baseX, bottom);
    triangle.closeSubpath();
    p.drawPath(triangle);
    if (bar) p.drawRect(QRectF(left ? tipX - 2.5 : tipX + 0.5, top, 2, bottom - top));
    return QIcon(pixmap);
}

}  // namespace

ArrowButton::ArrowButton(Kind kind, QWidget *parent) : QPushButton(parent), kind_(kind) {
    setIcon(arrowIcon(kind, palette().color(QPalette::ButtonText)));
    setIconSize(QSize(16, 16));
    setAutoDefault(false);
    static const char *const tips[] = {"First", "Previous", "Next", "Last"};
    setToolTip(QString::fromLatin1(tips[static_cast<int>(kind)]));
}
