#include "export_window.h"

#include "address_export.h"
#include "exchange_captions.h"
#include "glyph_text.h"
#include "glyph_widgets.h"
#include "message_dialog.h"
#include "shared_module.h"
#include "window_parts.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

ExportWindow::ExportWindow(QWidget *parent) : QWidget(parent), numbers_(ModDeclare::ExportChoice) {
    using namespace ExchangeCaption;
    setObjectName(QStringLiteral("ExportWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Kelda Vasi"));
    ModDeclare::ExportChoice.clear();

    const WindowTitle title = makeWindowTitle(this, exportTitle());
    Label1 = title.label;
    Command4 = title.close;
    // The formats keep their own Latin names.
    OptVCard = new QRadioButton(QStringLiteral("vCard 4.0"), this);
    OptVCard->setObjectName(QStringLiteral("OptVCard"));
    OptCsv = new QRadioButton(QStringLiteral("CSV"), this);
    OptCsv->setObjectName(QStringLiteral("OptCsv"));
    OptVCard->setChecked(true);
    LblChoice = new GlyphLabel(numbers_.isEmpty() ? allAddresses()
                                                  : chosenAddresses() + QStringLiteral(": ") + QString::number(numbers_.size()),
                               this);
    LblChoice->setObjectName(QStringLiteral("LblChoice"));
    Progress = new QProgressBar(this);
    Progress->setObjectName(QStringLiteral("Progress"));
    LblResult = new QLabel(this);
    LblResult->setObjectName(QStringLiteral("LblResult"));
    LblResult->setFont(GlyphText::font());
    LblResult->setWordWrap(true);
    CmdExport = new GlyphButton(exportButton(), this);
    CmdExport->setObjectName(QStringLiteral("CmdExport"));
    CmdClose = new GlyphButton(Caption::close(), this);
    CmdClose->setObjectName(QStringLiteral("CmdClose"));

    auto *formats = new QHBoxLayout;
    formats->addWidget(OptVCard);
    formats->addWidget(OptCsv);
    formats->addStretch(1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CmdExport);
    buttons->addWidget(CmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(title.row);
    layout->addWidget(LblChoice);
    layout->addLayout(formats);
    layout->addWidget(Progress);
    layout->addWidget(LblResult);
    layout->addStretch(1);
    layout->addLayout(buttons);

    connect(CmdExport, &QPushButton::clicked, this, &ExportWindow::CmdExport_Click);
    connect(CmdClose, &QPushButton::clicked, this, &ExportWindow::CmdClose_Click);
    connect(Command4, &QPushButton::clicked, this, &ExportWindow::Command4_Click);
    resize(420, 240);
}

bool ExportWindow::exportTo(const QString &path) {
    using namespace ExchangeCaption;
    AddressExport out(ModDeclare::AppDatabase());
    const ExchangeFormat format = OptCsv->isChecked() ? ExchangeFormat::Csv : ExchangeFormat::VCard;
    const bool ok = out.writeFile(path, format, numbers_, [this](int done, int total) {
        Progress->setMaximum(qMax(total, 1));
        Progress->setValue(done);
    });
    if (ok) {
        LblResult->setText(GlyphText::toDisplay(exportedAddresses()) + QStringLiteral(": %1\n%2").arg(out.written()).arg(path));
        book4::showMessage(this, exportedAddresses() + QStringLiteral(": ") + QString::number(out.written()));
    } else {
        LblResult->setText(out.lastError());
        book4::showMessage(this, failed());
    }
    return ok;
}

void ExportWindow::CmdExport_Click() {
    const bool csv = OptCsv->isChecked();
    const QString path = QFileDialog::getSaveFileName(
        this, GlyphText::toDisplay(ExchangeCaption::exportTitle()),
        QStringLiteral("addresses.") + (csv ? QStringLiteral("csv") : QStringLiteral("vcf")),
        csv ? QStringLiteral("CSV (*.csv)") : QStringLiteral("vCard (*.vcf *.vcard)"));
    if (!path.isEmpty()) exportTo(path);
}

void ExportWindow::CmdClose_Click() { closeWindow(this); }
void ExportWindow::Command4_Click() { closeWindow(this); }
