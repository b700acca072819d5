#include "menu_label.h"

#include <QMouseEvent>

MenuLabel::MenuLabel(const QString &glyphs, QWidget *parent) : GlyphLabel(glyphs, parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_TranslucentBackground);
    setStyleSheet(QStringLiteral("background: transparent;"));
}

void MenuLabel::mouseMoveEvent(QMouseEvent *) { emit mouseMoved(); }

void MenuLabel::mousePressEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton) return;
    pressed_ = true;
    emit mousePressed();
}

void MenuLabel::mouseReleaseEvent(QMouseEvent *event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click) emit clicked();
}
