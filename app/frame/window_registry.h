// Windows by name. The shell says how each window of the program is made and how a window is
// opened (a child of the main window, or on its own); a window that opens another asks here by
// that window's name. So no window includes another layer's windows, and none includes the shell.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace WindowRegistry {

// Makes the window, loaded but not shown; parent owns it (a window that stands on its own takes
// it as its owner only).
using Maker = std::function<QWidget *(QWidget *parent)>;
// Opens the window of that name the program's way and returns it; nullptr when it cannot.
using Opener = std::function<QWidget *(const QString &name)>;

// The shell's side.
void define(const QString &name, Maker make);
void setOpener(Opener open);

// A new window of that name; nullptr for a name nobody defined.
QWidget *make(const QString &name, QWidget *parent);
// Opens (or brings forward) the window of that name, not modal; nullptr while no opener is set.
QWidget *open(const QString &name);
// Opens a new window of that name modally over parent at the top left corner of the screen and
// returns when the user has closed it.
void openModal(const QString &name, QWidget *parent);

}  // namespace WindowRegistry
