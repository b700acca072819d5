#include "about_window.h"

#include "captions.h"
#include "glyph_widgets.h"
#include "window_parts.h"

#include <QEvent>
#include <QVBoxLayout>

book11::book11(QWidget *parent) : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("book11"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Kelda Vasi"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(28, 20, 28, 20);
    auto *title = new GlyphLabel(Caption::appName(), this);
    title->setFont(GlyphText::font(22));
    title->setAlignment(Qt::AlignCenter);
    title->setStyleSheet(QStringLiteral("color: #1f4e79;"));
    layout->addWidget(title);
    const QStringList lines = {
        QStringLiteral("<b>Kelda Vasi</b> 3.0"),
        QStringLiteral("The Kannada address book"),
        QStringLiteral("Typing and sorting by the Kannada-Tovi library"),
        QStringLiteral("Published by the Kelda Vasi developers"),
    };
    for (const QString &line : lines) {
        auto *label = new QLabel(line, this);
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
    }
    for (QLabel *label : findChildren<QLabel *>()) label->installEventFilter(this);
    setWindowKeys(this, nullptr);
    setFixedSize(sizeHint().expandedTo(QSize(360, 0)));
}

bool book11::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::MouseButtonPress) {
        close();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void book11::mousePressEvent(QMouseEvent *) { close(); }
