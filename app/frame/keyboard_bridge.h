// The keyboard bridge: the program is the keyboard engine's host for its user-interface thread.
//
// Every key the user presses in a widget is first run through the virtual desktop's hook chain,
// with a desktop window holding the focus in place of the Qt widget. What the engine posts to
// that window (glyph codes, Backspaces) is delivered to the focus widget; a key the engine let
// pass goes on to Qt as usual. Scroll Lock switches Kannada typing on and off.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

class QKeyEvent;

class KeyboardBridge : public QObject {
    Q_OBJECT
public:
    explicit KeyboardBridge(QObject *parent = nullptr);
    ~KeyboardBridge() override;
    // The bridge of this program, or nullptr before one is made.
    static KeyboardBridge *instance();

    // Starts the engine (engine type 0: this thread only; monolingual glyphs; no tray icon)
    // and begins feeding keys. False when the library cannot start it.
    bool start();
    // Stops feeding keys and stops the engine.
    void stop();
    bool running() const { return running_; }

    // Whether Kannada typing is on (Scroll Lock toggled on).
    static bool kannadaOn();
    // The Windows virtual key of a Qt key event, or 0 for a key the engine never sees.
    static unsigned int virtualKey(const QKeyEvent *event);

    // Runs one key event through the hook chain and delivers what the engine typed to target.
    // Returns true when the engine swallowed the key.
    bool feedKey(QWidget *target, QKeyEvent *event);
    // Tells whether Kannada typing changed since the last look (kannadaChanged).
    void refresh() { noteKannada(); }

signals:
    void kannadaChanged(bool on);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void syncModifiers(const QKeyEvent *event, void *window);
    void drain(void *window);
    void deliver(QWidget *target, unsigned int code);
    void noteKannada();

    // Two desktop windows stand in for the Qt focus widget, taking turns: a key for another
    // widget than the last one goes to the other window, so the engine sees the focus change
    // and ends the syllable instead of carrying it into the new box.
    void *windows_[2] = {nullptr, nullptr};
    int current_ = 0;
    QPointer<QWidget> lastTarget_;
    bool running_ = false;
    bool engineStarted_ = false;
    bool delivering_ = false;
    bool lastKannada_ = false;
};
