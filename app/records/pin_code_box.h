// The PIN code box of the address entry window: it takes only the full stop, the slash and the
// digits (codes 46 to 57) and Backspace; every other key press is dropped.
#pragma once

#include "glyph_widgets.h"


class PinCodeBox : public GlyphLineEdit {
    Q_OBJECT
public:
    explicit PinCodeBox(QWidget *parent = nullptr);

    static bool accepts(QChar c) { return c.unicode() >= 46 && c.unicode() <= 57; }

    // Kannada typing does not reach the box: it takes the keys as typed.
    bool typeKey(int) override { return false; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
};
