#include "dialog_frame.h"

#include "captions.h"
#include "glyph_widgets.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

DialogFrame::DialogFrame(QWidget *parent, const char *name) : QDialog(parent) {
    setObjectName(QLatin1String(name));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setModal(true);
    setWindowTitle(QStringLiteral("Kelda Vasi"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 12);
    Label2 = new GlyphLabel(Caption::information(), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setStyleSheet(QStringLiteral("background: #1f4e79; color: white; padding: 4px 10px;"));
    Label2->setFont(GlyphText::font(12));
    layout->addWidget(Label2);
    Label1 = new GlyphLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label1->setMinimumWidth(320);
    Label1->setMaximumWidth(520);
    Label1->setContentsMargins(16, 12, 16, 12);
    layout->addWidget(Label1);
    buttons_ = new QHBoxLayout;
    buttons_->addStretch();
    buttons_->addStretch();
    layout->addLayout(buttons_);
}

GlyphButton *DialogFrame::addButton(const char *name, const QString &caption) {
    auto *button = new GlyphButton(caption, this);
    button->setObjectName(QLatin1String(name));
    // Between the stretches, after the buttons already there, with a gap between two.
    const int at = buttons_->count() - 1;
    if (at > 1) buttons_->insertSpacing(at, 24);
    buttons_->insertWidget(buttons_->count() - 1, button);
    return button;
}

void DialogFrame::run(const QString &text) {
    Label1->setText(text);
    adjustSize();
    setFixedSize(sizeHint());
    exec();
}
