#include "keyboard_bridge.h"

#include "glyph_widgets.h"
#include "kannada-tovi-us-keyboard.h"
#include "tovi_library.h"

#include <QApplication>
#include <QKeyEvent>
#include <QVector>
#include <QWidget>

namespace {

constexpr unsigned int WM_KEYDOWN = 0x100;
constexpr unsigned int WM_KEYUP = 0x101;
constexpr unsigned int WM_CHAR = 0x102;
constexpr unsigned int VK_BACK = 0x08;
constexpr unsigned int VK_SHIFT = 0x10;
constexpr unsigned int VK_CAPITAL = 0x14;
constexpr unsigned int VK_SCROLL = 0x91;

KeyboardBridge *theBridge = nullptr;

}  // namespace

KeyboardBridge::KeyboardBridge(QObject *parent) : QObject(parent) { theBridge = this; }

KeyboardBridge::~KeyboardBridge() {
    stop();
    if (theBridge == this) theBridge = nullptr;
}

KeyboardBridge *KeyboardBridge::instance() { return theBridge; }

bool KeyboardBridge::start() {
    if (running_) return true;
    if (!ToviLibrary::hasDesktop()) return false;
    engineStarted_ = ToviLibrary::startKeyboardEngine(0, 1, 0);
    // -1: another host of this desktop runs the engine already; its hook sees our keys too.
    if (!engineStarted_ && ToviLibrary::lastError() != -1) return false;
    for (void *&w : windows_) w = ToviLibrary::desktopCreateWindow("KeldaVasiFocus");
    current_ = 0;
    lastTarget_ = nullptr;
    ToviLibrary::desktopSetFocus(windows_[current_]);
    qApp->installEventFilter(this);
    running_ = true;
    lastKannada_ = kannadaOn();
    return true;
}

void KeyboardBridge::stop() {
    if (!running_) return;
    qApp->removeEventFilter(this);
    if (engineStarted_) ToviLibrary::stopKeyboardEngine();
    engineStarted_ = false;
    for (void *&w : windows_) {
        ToviLibrary::desktopDestroyWindow(w);
        w = nullptr;
    }
    running_ = false;
}

bool KeyboardBridge::kannadaOn() { return (ToviLibrary::desktopKeyState(VK_SCROLL) & 0x01) != 0; }

unsigned int KeyboardBridge::virtualKey(const QKeyEvent *event) {
    const int key = event->key();
    // Letters, digits, space and punctuation: Qt names a key by the ASCII character it types
    // (capitals for the letters, the symbols for shifted keys).
    ToviUsKeyboard::Key printable{};
    if (key >= 0x20 && key <= 0x7E && ToviUsKeyboard::KeyOf(static_cast<unsigned char>(key), printable))
        return printable.vk;
    switch (key) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 0x09;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 0x0D;
    case Qt::Key_Escape: return 0x1B;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return 0x11;
    case Qt::Key_Alt: return 0x12;
    case Qt::Key_CapsLock: return VK_CAPITAL;
    case Qt::Key_ScrollLock: return VK_SCROLL;
    case Qt::Key_PageUp: return 0x21;
    case Qt::Key_PageDown: return 0x22;
    case Qt::Key_End: return 0x23;
    case Qt::Key_Home: return 0x24;
    case Qt::Key_Left: return 0x25;
    case Qt::Key_Up: return 0x26;
    case Qt::Key_Right: return 0x27;
    case Qt::Key_Down: return 0x28;
    case Qt::Key_Insert: return 0x2D;
    case Qt::Key_Delete: return 0x2E;
    default: return 0;
    }
}

// The desktop's Shift and Caps Lock follow what Qt reports with the key.
void KeyboardBridge::syncModifiers(const QKeyEvent *event, void *window) {
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool desktopShift = ToviLibrary::desktopKeyState(VK_SHIFT) & 0x80;
    if (shift != desktopShift && event->key() != Qt::Key_Shift) {
        ToviLibrary::desktopKeyEvent(VK_SHIFT, !shift);
        drain(window);
    }
    // Qt does not report Caps Lock; the letter it typed tells: a capital without Shift, or a
    // small letter with it.
    const QString text = event->text();
    if (text.size() == 1 && text.at(0).isLetter() && text.at(0).unicode() < 128) {
        const bool caps = text.at(0).isUpper() != shift;
        ToviLibrary::desktopSetToggle(VK_CAPITAL, caps);
    }
}

// Drops whatever waits in a desktop window's queue.
void KeyboardBridge::drain(void *window) {
    ToviLibrary::DesktopMessage m;
    while (ToviLibrary::desktopTakeMessage(window, &m)) {
    }
}

void KeyboardBridge::deliver(QWidget *target, unsigned int code) {
    if (!target) return;
    if (auto *glyphs = dynamic_cast<GlyphInput *>(target)) {
        if (code == VK_BACK)
            glyphs->typeBackspace();
        else
            glyphs->typeGlyph(QChar(static_cast<ushort>(code & 0xFF)));
        return;
    }
    // Any other widget gets the character as a key press of its own.
    delivering_ = true;
    const Qt::Key key = code == VK_BACK ? Qt::Key_Backspace : Qt::Key_unknown;
    const QString text = code == VK_BACK ? QString(QChar(8)) : QString(QChar(static_cast<ushort>(code & 0xFF)));
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
    delivering_ = false;
}

bool KeyboardBridge::feedKey(QWidget *target, QKeyEvent *event) {
    const unsigned int vk = virtualKey(event);
    if (!running_ || vk == 0) return false;
    const bool up = event->type() == QEvent::KeyRelease;
    // Shortcuts (Ctrl+C, Alt+F4) are the program's, not the engine's.
    const Qt::KeyboardModifiers chord = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (chord && vk != 0x11 && vk != 0x12) return false;

    lastKannada_ = kannadaOn();
    if (target != lastTarget_) {
        current_ ^= 1;
        lastTarget_ = target;
    }
    void *window = windows_[current_];
    ToviLibrary::desktopSetFocus(window);
    drain(window);
    syncModifiers(event, window);
    const bool swallowed = ToviLibrary::desktopKeyEvent(vk, up) == 1;

    // What the engine typed arrives as character messages (a Backspace also as its key). A key
    // the engine let pass is queued last, as its own key and character messages: Qt handles
    // that key itself, so those are dropped.
    QVector<ToviLibrary::DesktopMessage> messages;
    ToviLibrary::DesktopMessage m;
    while (ToviLibrary::desktopTakeMessage(window, &m)) messages.append(m);
    if (!swallowed) {
        for (qsizetype i = messages.size() - 1; i >= 0; --i) {
            const auto &k = messages.at(i);
            if ((k.message == WM_KEYDOWN || k.message == WM_KEYUP) && k.wParam == vk) {
                messages.resize(i);
                break;
            }
        }
    }
    for (const auto &c : messages)
        if (c.message == WM_CHAR) deliver(target, static_cast<unsigned int>(c.wParam));
    noteKannada();
    return swallowed;
}

void KeyboardBridge::noteKannada() {
    const bool on = kannadaOn();
    if (on == lastKannada_) return;
    lastKannada_ = on;
    emit kannadaChanged(on);
}

bool KeyboardBridge::eventFilter(QObject *watched, QEvent *event) {
    if (delivering_ || (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease))
        return QObject::eventFilter(watched, event);
    // A key event travels from the focus widget to its parents; it is fed once, at the start.
    QWidget *focus = QApplication::focusWidget();
    if (!watched->isWidgetType() || watched != focus) return QObject::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    // A held key repeats as presses only, as on the desktop the engine was made for.
    if (key->type() == QEvent::KeyRelease && key->isAutoRepeat()) return false;
    return feedKey(focus, key);
}
