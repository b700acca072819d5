// The question a window asks before unsaved changes would go: save them, leave them unsaved, or
// go back to the window. Escape and the close box go back; Enter too, as nothing is lost then.
#pragma once

#include "dialog_frame.h"

class SaveQuestion : public DialogFrame {
    Q_OBJECT
public:
    enum class Choice { Save, Discard, Stay };

    explicit SaveQuestion(QWidget *parent = nullptr);

    // Asks the question modally.
    static Choice ask(QWidget *parent, const QString &question);

    GlyphButton *CmdSave;
    GlyphButton *CmdDiscard;
    GlyphButton *CmdStay;

    Choice choice() const { return choice_; }

private:
    Choice choice_ = Choice::Stay;
};
