#include "pin_code_box.h"

#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QKeySequence>

PinCodeBox::PinCodeBox(QWidget *parent) : GlyphLineEdit(parent) {}

void PinCodeBox::typeGlyph(QChar glyph) {
    const bool taken = accepts(glyph);
    engineTyped_.append(taken);
    if (taken) GlyphLineEdit::typeGlyph(glyph);
}

void PinCodeBox::typeBackspace() {
    if (!engineTyped_.isEmpty() && !engineTyped_.takeLast()) return;  // its code never got in
    GlyphLineEdit::typeBackspace();
}

void PinCodeBox::keyPressEvent(QKeyEvent *event) {
    switch (event->key()) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
    case Qt::Key_CapsLock:
    case Qt::Key_ScrollLock:
        // A modifier does not end the syllable the engine is typing.
        GlyphLineEdit::keyPressEvent(event);
        return;
    default:
        break;
    }
    // A key the engine let through: whatever it typed before is final.
    engineTyped_.clear();
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
