// A label of the home-made menus (a title of the bar or an entry of a menu window): it tells
// when the mouse moves over it, when a button goes down on it and when it is clicked.
#pragma once

#include "glyph_widgets.h"

class MenuLabel : public GlyphLabel {
    Q_OBJECT
public:
    explicit MenuLabel(const QString &glyphs, QWidget *parent = nullptr);

signals:
    void mouseMoved();
    void mousePressed();
    // Pressed and released over the label.
    void clicked();

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool pressed_ = false;
};
