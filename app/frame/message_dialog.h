// book4: the message dialog. A title, the message and one button.
#pragma once

#include "dialog_frame.h"

class QLabel;

class book4 : public DialogFrame {
    Q_OBJECT
public:
    explicit book4(QWidget *parent = nullptr);

    // Shows the message modally; returns when the user presses Command1. A detail is plain
    // Unicode text shown under the message as it is (characters named, not glyph codes).
    static void showMessage(QWidget *parent, const QString &message, const QString &detail = QString());

    GlyphButton *Command1;
    QLabel *Detail;

private slots:
    void Command1_Click();
};
