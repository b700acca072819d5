#include "save_question.h"

#include "captions.h"
#include "glyph_widgets.h"

SaveQuestion::SaveQuestion(QWidget *parent) : DialogFrame(parent, "SaveQuestion") {
    CmdSave = addButton("CmdSave", Caption::save());
    CmdDiscard = addButton("CmdDiscard", Caption::dontSave());
    CmdStay = addButton("CmdStay", Caption::goBack());
    CmdStay->setDefault(true);
    const auto answer = [this](Choice c) {
        return [this, c] {
            choice_ = c;
            accept();
        };
    };
    connect(CmdSave, &QPushButton::clicked, this, answer(Choice::Save));
    connect(CmdDiscard, &QPushButton::clicked, this, answer(Choice::Discard));
    connect(CmdStay, &QPushButton::clicked, this, answer(Choice::Stay));
}

SaveQuestion::Choice SaveQuestion::ask(QWidget *parent, const QString &question) {
    SaveQuestion dialog(parent);
    dialog.run(question);
    return dialog.choice();
}
