// The PIN code box of the address entry window: it takes only the full stop, the slash and the
// digits (codes 46 to 57) and Backspace; every other key press is dropped.
#pragma once

#include "glyph_widgets.h"

#include <QVector>

class PinCodeBox : public GlyphLineEdit {
    Q_OBJECT
public:
    explicit PinCodeBox(QWidget *parent = nullptr);

    static bool accepts(QChar c) { return c.unicode() >= 46 && c.unicode() <= 57; }

    void typeGlyph(QChar glyph) override;
    void typeBackspace() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    // What the keyboard engine typed into the box since the last key of the user's own: for
    // each code whether the box took it. The engine takes a syllable back with Backspaces; a
    // Backspace for a code the box dropped must not erase a digit that is there.
    QVector<bool> engineTyped_;
};
