#include "pin_code_box.h"

#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QKeySequence>

PinCodeBox::PinCodeBox(QWidget *parent) : GlyphLineEdit(parent) {}

void PinCodeBox::keyPressEvent(QKeyEvent *event) {
    // Pasting or cutting would change the box by other means than the allowed keys.
    if (event == QKeySequence::Paste || event == QKeySequence::Cut) {
        event->accept();
        return;
    }
    // A printable character other than the allowed ones is dropped; control keys (Tab,
    // Return, Backspace, the arrows) keep their meaning.
    if (!(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))) {
        for (QChar c : event->text()) {
            if (c.unicode() >= 32 && c.unicode() != 127 && !accepts(c)) {
                event->accept();
                return;
            }
        }
    }
    GlyphLineEdit::keyPressEvent(event);
}

void PinCodeBox::inputMethodEvent(QInputMethodEvent *event) {
    for (QChar c : event->commitString()) {
        if (!accepts(c)) {
            event->accept();
            return;
        }
    }
    GlyphLineEdit::inputMethodEvent(event);
}

// The editing menu would paste anything; the box has none.
void PinCodeBox::contextMenuEvent(QContextMenuEvent *event) { event->accept(); }
