#include "placeholder_window.h"

#include "captions.h"
#include "glyph_widgets.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

PlaceholderWindow::PlaceholderWindow(const QString &name, const QString &title, QWidget *parent)
    : QWidget(parent) {
    setObjectName(name);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Kelda Vasi"));
    auto *layout = new QVBoxLayout(this);
    auto *heading = new GlyphLabel(title, this);
    heading->setFont(GlyphText::font(13));
    heading->setWordWrap(true);
    layout->addWidget(heading);
    auto *note = new QLabel(tr("This window is not part of this version yet."), this);
    note->setEnabled(false);
    layout->addWidget(note);
    layout->addStretch();
    auto *closeButton = new GlyphButton(Caption::close(), this);
    closeButton->setObjectName(QStringLiteral("cmdexit"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(closeButton);
    layout->addLayout(buttons);
    connect(closeButton, &QPushButton::clicked, this, [this] {
        if (parentWidget() && parentWidget()->inherits("QMdiSubWindow"))
            parentWidget()->close();
        else
            close();
    });
    resize(480, 240);
}
