#include "message_dialog.h"

#include "captions.h"
#include "glyph_widgets.h"

#include <QLabel>
#include <QVBoxLayout>

book4::book4(QWidget *parent) : DialogFrame(parent, "book4") {
    Detail = new QLabel(this);
    Detail->setObjectName(QStringLiteral("Detail"));
    Detail->setTextFormat(Qt::PlainText);
    Detail->setWordWrap(true);
    Detail->setContentsMargins(16, 0, 16, 12);
    Detail->hide();
    static_cast<QVBoxLayout *>(layout())->insertWidget(2, Detail);
    Command1 = addButton("Command1", Caption::ok());
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &book4::Command1_Click);
}

void book4::showMessage(QWidget *parent, const QString &message, const QString &detail) {
    book4 dialog(parent);
    dialog.Detail->setText(detail);
    dialog.Detail->setVisible(!detail.isEmpty());
    dialog.run(message);
}

void book4::Command1_Click() { accept(); }
