#include "help_window.h"

#include "app_files.h"
#include "captions.h"
#include "glyph_widgets.h"
#include "window_parts.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

book10::book10(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("book10"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Kelda Vasi"));
    auto *layout = new QVBoxLayout(this);
    Label1 = new GlyphLabel(Caption::help(), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(GlyphText::font(14));
    layout->addWidget(Label1);
    WB = new QTextBrowser(this);
    WB->setObjectName(QStringLiteral("WB"));
    WB->setOpenExternalLinks(true);
    layout->addWidget(WB, 1);
    Command1 = new GlyphButton(Caption::close(), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    layout->addLayout(buttons);
    connect(Command1, &QPushButton::clicked, this, &book10::Command1_Click);
    setWindowKeys(this, nullptr, Command1);

    const QString index = AppFiles::path(QStringLiteral("Help/index.htm"));
    if (QFileInfo::exists(index)) {
        WB->setSource(QUrl::fromLocalFile(index));
    } else {
        WB->setHtml(QStringLiteral("<h2>The help page cannot be shown</h2><p>%1 was not found.</p>")
                        .arg(index.toHtmlEscaped()));
    }
    resize(770, 495);
}

void book10::Command1_Click() {
    closeWindow(this);
}
