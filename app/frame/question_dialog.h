// book3: the confirmation dialog. A title, the question, a yes and a no button; the answer is
// left in ModDeclare::Answer.
#pragma once

#include "dialog_frame.h"

class book3 : public DialogFrame {
    Q_OBJECT
public:
    explicit book3(QWidget *parent = nullptr);

    // Asks the question modally and returns Answer: true for yes.
    static bool ask(QWidget *parent, const QString &question);

    GlyphButton *Command1;
    GlyphButton *Command2;

protected:
    void reject() override;

private slots:
    void Command1_Click();
    void Command2_Click();
};
