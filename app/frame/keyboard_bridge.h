// The keyboard bridge: Kannada typing in the program's text fields.
//
// Scroll Lock switches Kannada typing on and off (its toggle lives in the library's desktop,
// where the program's switch exports turn it). While it is on, a letter key or Backspace in a
// glyph box goes through that box's own composer, which types glyph codes at its caret; in any
// other text field (a file dialog, the printer dialog) it goes through the bridge's composer,
// which types Unicode Kannada there. Fields that ask for Latin (e-mail, digits) and widgets that
// take no text get the keys as typed. A syllable ends whenever the focus moves or a mouse button
// goes down. Each copy of the program types on its own, whatever other programs do.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include "typing_composer.h"

class QKeyEvent;

class KeyboardBridge : public QObject {
    Q_OBJECT
public:
    explicit KeyboardBridge(QObject *parent = nullptr);
    ~KeyboardBridge() override;
    // The bridge of this program, or nullptr before one is made.
    static KeyboardBridge *instance();

    // Begins feeding keys. False when the library has no composer or desktop.
    bool start();
    void stop();
    bool running() const { return running_; }

    // Whether Kannada typing is on (Scroll Lock toggled on).
    static bool kannadaOn();

    // Types one key event into target while Kannada typing is on; true when it was typed (the
    // event is then the bridge's).
    bool feedKey(QWidget *target, QKeyEvent *event);
    // Tells whether Kannada typing changed since the last look (kannadaChanged).
    void refresh() { noteKannada(); }

signals:
    void kannadaChanged(bool on);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void endSyllable(QWidget *widget);
    bool typeUnicode(QWidget *target, int key);
    void noteKannada();

    // The composer of the text fields that are not glyph boxes; it serves one at a time.
    TypingComposer unicode_{TypingComposer::Output::Unicode};
    QPointer<QWidget> unicodeTarget_;
    bool running_ = false;
    bool lastKannada_ = false;
};
