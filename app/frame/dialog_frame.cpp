#include "dialog_frame.h"

#include "glyph_widgets.h"

#include <QDialog>
#include <QVBoxLayout>

namespace DialogFrame {

QVBoxLayout *build(QDialog *dialog, GlyphLabel **title, GlyphLabel **text) {
    dialog->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                           Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    dialog->setModal(true);
    dialog->setWindowTitle(QStringLiteral("Kelda Vasi"));
    auto *layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(0, 0, 0, 12);
    *title = new GlyphLabel(dialog);
    (*title)->setObjectName(QStringLiteral("Label2"));
    (*title)->setStyleSheet(QStringLiteral("background: #1f4e79; color: white; padding: 4px 10px;"));
    (*title)->setFont(GlyphText::font(12));
    layout->addWidget(*title);
    *text = new GlyphLabel(dialog);
    (*text)->setObjectName(QStringLiteral("Label1"));
    (*text)->setWordWrap(true);
    (*text)->setMinimumWidth(320);
    (*text)->setMaximumWidth(520);
    (*text)->setContentsMargins(16, 12, 16, 12);
    layout->addWidget(*text);
    return layout;
}

void fitSize(QDialog *dialog) {
    dialog->adjustSize();
    dialog->setFixedSize(dialog->sizeHint());
}

}  // namespace DialogFrame
