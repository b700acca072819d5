#include "window_parts.h"

#include "glyph_widgets.h"
#include "twips.h"

#include <QHBoxLayout>
#include <QMdiSubWindow>
#include <QPushButton>

void nameWindow(QWidget *window, const QString &title) {
    // A window of its own shows the program's name after it (its display name).
    const QString shown = GlyphText::toDisplay(title).simplified();
    window->setWindowTitle(shown.isEmpty() ? QStringLiteral("Kelda Vasi") : shown);
}

WindowTitle makeWindowTitle(QWidget *owner, const QString &title, const char *labelName) {
    nameWindow(owner, title);
    WindowTitle t;
    t.label = new GlyphLabel(title, owner);
    t.label->setObjectName(QLatin1String(labelName));
    t.label->setFont(GlyphText::font(13));
    t.label->setStyleSheet(QStringLiteral("color: #1f4e79;"));
    t.close = new QPushButton(QStringLiteral("X"), owner);
    t.close->setObjectName(QStringLiteral("Command4"));
    t.close->setFixedSize(twips(375), twips(375));
    t.close->setFocusPolicy(Qt::ClickFocus);
    t.close->setAutoDefault(false);
    t.row = new QHBoxLayout;
    t.row->addWidget(t.label, 1);
    t.row->addWidget(t.close, 0, Qt::AlignTop);
    return t;
}

QWidget *outerWindow(QWidget *window) {
    if (auto *sub = qobject_cast<QMdiSubWindow *>(window->parentWidget())) return sub;
    return window;
}

void closeWindow(QWidget *window) { outerWindow(window)->close(); }
