#include "keyboard_bridge.h"

#include "glyph_widgets.h"
#include "tovi_library.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>

namespace {

constexpr unsigned int VK_SCROLL = 0x91;

KeyboardBridge *theBridge = nullptr;

bool isModifier(int key) {
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_CapsLock:
        return true;
    default:
        return false;
    }
}

// A text field that takes Kannada: it takes input and asks for no Latin-only text.
bool takesKannada(QWidget *w) {
    if (!w->testAttribute(Qt::WA_InputMethodEnabled) || !w->inputMethodQuery(Qt::ImEnabled).toBool() ||
        w->inputMethodQuery(Qt::ImReadOnly).toBool())
        return false;
    const Qt::InputMethodHints latin = Qt::ImhDigitsOnly | Qt::ImhFormattedNumbersOnly | Qt::ImhDialableCharactersOnly |
                                       Qt::ImhEmailCharactersOnly | Qt::ImhUrlCharactersOnly | Qt::ImhLatinOnly;
    return !(w->inputMethodHints() & latin);
}

}  // namespace

KeyboardBridge::KeyboardBridge(QObject *parent) : QObject(parent) { theBridge = this; }

KeyboardBridge::~KeyboardBridge() {
    stop();
    if (theBridge == this) theBridge = nullptr;
}

KeyboardBridge *KeyboardBridge::instance() { return theBridge; }

bool KeyboardBridge::start() {
    if (running_) return true;
    if (!ToviLibrary::hasDesktop() || !ToviLibrary::hasComposer()) return false;
    qApp->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *now) {
        endSyllable(old);
        endSyllable(now);
    });
    running_ = true;
    lastKannada_ = kannadaOn();
    return true;
}

void KeyboardBridge::stop() {
    if (!running_) return;
    qApp->removeEventFilter(this);
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    running_ = false;
}

bool KeyboardBridge::kannadaOn() { return (ToviLibrary::desktopKeyState(VK_SCROLL) & 0x01) != 0; }

void KeyboardBridge::endSyllable(QWidget *widget) {
    if (auto *glyphs = dynamic_cast<GlyphInput *>(widget)) glyphs->endSyllable();
    if (!widget || widget == unicodeTarget_) unicode_.reset();
}

bool KeyboardBridge::feedKey(QWidget *target, QKeyEvent *event) {
    if (!running_ || !target || isModifier(event->key())) return false;
    // Scroll Lock turns the desktop's toggle, as the switch exports do.
    if (event->key() == Qt::Key_ScrollLock) {
        if (!event->isAutoRepeat()) ToviLibrary::desktopKeyEvent(VK_SCROLL, event->type() == QEvent::KeyRelease);
        endSyllable(target);
        noteKannada();
        return false;
    }
    if (event->type() != QEvent::KeyPress) return false;
    // Shortcuts (Ctrl+C, Alt+F4) are the program's, not the composer's.
    const bool chord = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const int key = chord ? 0 : event->key() == Qt::Key_Backspace ? 8 : TypingComposer::keyOf(event->text());
    if (!kannadaOn() || key == 0) {
        // Any other key ends the syllable where it lands (a glyph box sees to its own).
        if (target == unicodeTarget_) unicode_.reset();
        return false;
    }
    if (auto *glyphs = dynamic_cast<GlyphInput *>(target)) return glyphs->typeKey(key);
    return typeUnicode(target, key);
}

// Types Unicode Kannada into a text field that is not a glyph box: the composer's erasures and
// insertion reach it as an input method's commit, which every Qt text field applies at its
// caret.
bool KeyboardBridge::typeUnicode(QWidget *target, int key) {
    if (!takesKannada(target)) return false;
    if (target != unicodeTarget_) {
        unicode_.reset();
        unicodeTarget_ = target;
    }
    const TypingComposer::Step step = unicode_.feed(key);
    if (!step.used) return false;
    QInputMethodEvent commit;
    commit.setCommitString(step.insert, -step.erase, step.erase);
    QApplication::sendEvent(target, &commit);
    return true;
}

void KeyboardBridge::noteKannada() {
    const bool on = kannadaOn();
    if (on == lastKannada_) return;
    lastKannada_ = on;
    emit kannadaChanged(on);
}

bool KeyboardBridge::eventFilter(QObject *watched, QEvent *event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // A click moves the caret or the focus: the syllable being typed ends.
        endSyllable(QApplication::focusWidget());
        break;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        // A key event travels from the focus widget to its parents; it is fed once, at the start.
        if (watched->isWidgetType() && watched == QApplication::focusWidget())
            return feedKey(static_cast<QWidget *>(watched), static_cast<QKeyEvent *>(event));
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
