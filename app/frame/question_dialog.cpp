#include "question_dialog.h"

#include "captions.h"
#include "dialog_frame.h"
#include "glyph_widgets.h"
#include "shared_module.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

book3::book3(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("book3"));
    QVBoxLayout *layout = DialogFrame::build(this, &Label2, &Label1);
    Label2->setText(Caption::information());
    Command1 = new GlyphButton(Caption::yes(), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = new GlyphButton(Caption::no(), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    // No is the safe default for a key press of Enter.
    Command2->setDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addSpacing(24);
    buttons->addWidget(Command2);
    buttons->addStretch();
    layout->addLayout(buttons);
    connect(Command1, &QPushButton::clicked, this, &book3::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &book3::Command2_Click);
}

bool book3::ask(QWidget *parent, const QString &question) {
    book3 dialog(parent);
    dialog.Label1->setText(question);
    DialogFrame::fitSize(&dialog);
    dialog.exec();
    return ModDeclare::Answer;
}

void book3::Command1_Click() {
    ModDeclare::Answer = true;
    accept();
}

void book3::Command2_Click() {
    ModDeclare::Answer = false;
    QDialog::reject();
}

// Closed without a button (Escape, the close box): the question was not answered yes, and an
// earlier yes must not stand for it.
void book3::reject() {
    ModDeclare::Answer = false;
    QDialog::reject();
}
