#include "window_parts.h"

#include "glyph_widgets.h"
#include "twips.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPointer>
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
    // Escape does its work from the keyboard; a window that opens gives the focus to its boxes.
    t.close->setFocusPolicy(Qt::NoFocus);
    t.close->setAutoDefault(false);
    t.row = new QHBoxLayout;
    t.row->addWidget(t.label, 1);
    t.row->addWidget(t.close, 0, Qt::AlignTop);
    return t;
}

namespace {

class WindowKeys : public QObject {
public:
    WindowKeys(QWidget *window, QAbstractButton *defaultButton, QAbstractButton *cancelButton)
        : QObject(window), window_(window), default_(defaultButton), cancel_(cancelButton) {
        window->installEventFilter(this);
        if (auto *push = qobject_cast<QPushButton *>(defaultButton)) push->setDefault(true);
    }

protected:
    // A key reaches the window when no box inside took it.
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (watched != window_ || event->type() != QEvent::KeyPress) return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->modifiers() & ~Qt::KeypadModifier) return false;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            auto *focused = qobject_cast<QPushButton *>(QApplication::focusWidget());
            const bool tabbed = focused && window_->isAncestorOf(focused) && (focused->focusPolicy() & Qt::TabFocus);
            QAbstractButton *button = tabbed ? focused : default_.data();
            if (button && button->isEnabled() && button->isVisible()) button->click();
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            if (cancel_)
                cancel_->click();
            else
                closeWindow(window_);
            return true;
        }
        return false;
    }

private:
    QWidget *window_;
    QPointer<QAbstractButton> default_, cancel_;
};

}  // namespace

void setWindowKeys(QWidget *window, QAbstractButton *defaultButton, QAbstractButton *cancelButton) {
    new WindowKeys(window, defaultButton, cancelButton);
}

QWidget *outerWindow(QWidget *window) {
    if (auto *sub = qobject_cast<QMdiSubWindow *>(window->parentWidget())) return sub;
    return window;
}

void closeWindow(QWidget *window) { outerWindow(window)->close(); }
