// A stand-in for a window that the menus open but this version does not have yet: its title
// and a close button.
#pragma once

#include <QWidget>

class PlaceholderWindow : public QWidget {
    Q_OBJECT
public:
    // name: the window's name (its object name); title: its glyph-text title.
    PlaceholderWindow(const QString &name, const QString &title, QWidget *parent = nullptr);
};
