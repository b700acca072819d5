// What the question and message dialogs share: a fixed frame, a coloured title label across the
// top (Label2), the text below it (Label1) and a centred row of buttons.
#pragma once

#include <QDialog>

class GlyphButton;
class GlyphLabel;
class QHBoxLayout;

class DialogFrame : public QDialog {
    Q_OBJECT
public:
    GlyphLabel *Label2;
    GlyphLabel *Label1;

protected:
    DialogFrame(QWidget *parent, const char *name);
    // Adds a button to the row; the first one added is the default for Enter unless another
    // is made so.
    GlyphButton *addButton(const char *name, const QString &caption);
    // Shows the text, fixes the size to it and runs the dialog modally.
    void run(const QString &text);

private:
    QHBoxLayout *buttons_;
};
