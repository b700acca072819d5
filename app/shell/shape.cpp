#include "shape.h"

#include <QPainter>

Shape::Shape(QWidget *parent) : QWidget(parent), fill_(palette().color(QPalette::Button)), border_(Qt::black) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Shape::setFillColor(const QColor &color) {
    fill_ = color;
    update();
}

void Shape::setBorderColor(const QColor &color) {
    border_ = color;
    update();
}

void Shape::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.fillRect(rect(), fill_);
    p.setPen(border_);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}
