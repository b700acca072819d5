// What the program's windows share around their contents: the title row, and closing a window
// whether it stands on its own or sits in a frame of the main window.
#pragma once

class GlyphLabel;
class QAbstractButton;
class QHBoxLayout;
class QPushButton;
class QString;
class QWidget;

// The title row: the title as a Kannada label and, at its right, the small close button "X"
// (Command4; a Latin letter, not a glyph code).
struct WindowTitle {
    GlyphLabel *label;
    QPushButton *close;
    QHBoxLayout *row;
};
// The window's title bar names it too (nameWindow).
WindowTitle makeWindowTitle(QWidget *owner, const QString &title, const char *labelName = "Label1");
// Names a window in its title bar by its title (glyph codes) in Kannada script.
void nameWindow(QWidget *window, const QString &title);

// The keys of a window: Enter presses the push button that has the focus, or else the default
// button (shown as such; none: Enter does nothing); Escape presses the cancel button, or else
// closes the window. Keys that a box takes itself (Enter in a several-line box) stay the box's.
void setWindowKeys(QWidget *window, QAbstractButton *defaultButton, QAbstractButton *cancelButton = nullptr);

// Closes the window; inside the main window the frame around it closes, and both go.
void closeWindow(QWidget *window);
// The window, or the frame around it inside the main window.
QWidget *outerWindow(QWidget *window);
