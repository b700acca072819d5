#include "question_dialog.h"

#include "captions.h"
#include "glyph_widgets.h"
#include "shared_module.h"

book3::book3(QWidget *parent) : DialogFrame(parent, "book3") {
    Command1 = addButton("Command1", Caption::yes());
    Command2 = addButton("Command2", Caption::no());
    // No is the safe default for a key press of Enter.
    Command2->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &book3::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &book3::Command2_Click);
}

bool book3::ask(QWidget *parent, const QString &question) {
    book3 dialog(parent);
    dialog.run(question);
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
