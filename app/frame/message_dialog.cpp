#include "message_dialog.h"

#include "captions.h"
#include "dialog_frame.h"
#include "glyph_widgets.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

book4::book4(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("book4"));
    QVBoxLayout *layout = DialogFrame::build(this, &Label2, &Label1);
    Label2->setText(Caption::information());
    Command1 = new GlyphButton(Caption::ok(), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addStretch();
    layout->addLayout(buttons);
    connect(Command1, &QPushButton::clicked, this, &book4::Command1_Click);
}

void book4::showMessage(QWidget *parent, const QString &message) {
    book4 dialog(parent);
    dialog.Label1->setText(message);
    DialogFrame::fitSize(&dialog);
    dialog.exec();
}

void book4::Command1_Click() { accept(); }
