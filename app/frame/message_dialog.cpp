#include "message_dialog.h"

#include "captions.h"
#include "glyph_widgets.h"

book4::book4(QWidget *parent) : DialogFrame(parent, "book4") {
    Command1 = addButton("Command1", Caption::ok());
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &book4::Command1_Click);
}

void book4::showMessage(QWidget *parent, const QString &message) {
    book4 dialog(parent);
    dialog.run(message);
}

void book4::Command1_Click() { accept(); }
