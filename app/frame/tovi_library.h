// The one door from the address book into the Kannada-Tovi library.
//
// Every export is resolved by name with QLibrary at its first use, so the program starts (and
// tells what is missing) even when the library on this machine lacks an export. The program
// never calls the library anywhere else.
#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

#include <optional>

namespace ToviLibrary {

// Whether the library file itself could be loaded; the reason when not.
bool isLoaded();
QString loadError();
// Whether an export of that name is present.
bool has(const char *exportName);

// ---- The three exports the address book's own module binds ------------------------------
// The KSCLP sort key of a monolingual glyph string; nullopt when the call cannot be made.
// A null result of the library is an empty key.
std::optional<QByteArray> monolingualGlyph2KSCLP(const QByteArray &glyphs);
// The Kannada switch. Both return false when the export is missing.
bool turnOnScrollLock();
bool turnOffScrollLock();

// ---- Engine host ----------------------------------------------------------------------------
bool startKeyboardEngine(int engineType, int fontType, int showTrayIcon);
bool stopKeyboardEngine();
int lastError();

// ---- Unicode bridge -------------------------------------------------------------------------
bool hasUnicodeBridge();
// Glyph codes (U+0000-U+00FF) to Kannada script; nullopt when the bridge is absent or fails.
std::optional<QString> glyphToUnicode(const QString &glyphs);
// Unicode text back to glyph codes; nullopt when the bridge is absent or fails.
std::optional<QString> unicodeToGlyph(const QString &text);
// The characters of Unicode text that monolingual glyph text cannot hold (those unicodeToGlyph
// leaves out), in text order; empty when it holds the whole text. nullopt when the library
// cannot tell.
std::optional<QVector<char32_t>> unheldInGlyphs(const QString &text);

// ---- The composer of one text field (kannada-tovi-composer.h) ------------------------------
bool hasComposer();
// Outputs: 0 monolingual glyph codes, 2 UTF-8. nullptr when the composer is missing.
void *composerNew(int output);
void composerFree(void *composer);
// What one key asks of the text before the caret: erase, then insert (raw bytes of the
// output); preedit is the length of the text the composer may still change.
struct ComposerStep {
    bool used = false;
    int erase = 0;
    QByteArray insert;
    int preedit = 0;
};
ComposerStep composerFeed(void *composer, int key);
void composerReset(void *composer);

// ---- Virtual desktop (the engine's view of windows and keys) -----------------------------
struct DesktopMessage {
    void *window = nullptr;
    unsigned int message = 0;
    quintptr wParam = 0;
    qintptr lParam = 0;
};

bool hasDesktop();
void *desktopCreateWindow(const char *className);
void desktopDestroyWindow(void *window);
void desktopSetFocus(void *window);
void *desktopGetFocus();
// 1 when a hook swallowed the event, 0 when it passed, -1 when the desktop is absent.
int desktopKeyEvent(unsigned int virtualKey, bool keyUp);
bool desktopTakeMessage(void *window, DesktopMessage *out);
int desktopKeyState(unsigned int virtualKey);
void desktopSetToggle(unsigned int virtualKey, bool on);

}  // namespace ToviLibrary
