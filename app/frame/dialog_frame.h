// What the two small dialogs share: a fixed frame, a coloured title label across the top and
// the text below it.
#pragma once

class QDialog;
class QVBoxLayout;
class GlyphLabel;

namespace DialogFrame {

// Gives the dialog its fixed frame and returns the layout that holds its body; *title and
// *text are made and placed.
QVBoxLayout *build(QDialog *dialog, GlyphLabel **title, GlyphLabel **text);
// Fixes the dialog's size once its contents are set.
void fitSize(QDialog *dialog);

}  // namespace DialogFrame
