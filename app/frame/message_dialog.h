// book4: the message dialog. A title, the message and one button.
#pragma once

#include "dialog_frame.h"

class book4 : public DialogFrame {
    Q_OBJECT
public:
    explicit book4(QWidget *parent = nullptr);

    // Shows the message modally; returns when the user presses Command1.
    static void showMessage(QWidget *parent, const QString &message);

    GlyphButton *Command1;

private slots:
    void Command1_Click();
};
