#include "report_control.h"

#include "address_selection.h"
#include "shared_module.h"
#include "report_renderer.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QToolBar>

ReportControl::ReportControl(QObject *parent) : QObject(parent) {}

bool ReportControl::fail(QWidget *dialogParent, const QString &why) {
    error_ = why;
    QMessageBox::warning(dialogParent, QStringLiteral("Kelda Vasi"), why);
    return false;
}

bool ReportControl::run(QWidget *dialogParent) {
    pages_ = 0;
    error_.clear();
    QString why;
    const std::optional<ReportLayout> layout = ReportLayout::load(ReportFileName, &why);
    if (!layout) return fail(dialogParent, tr("The report layout cannot be used: %1").arg(why));
    AddressListData data(ModDeclare::AppDatabase());
    const std::optional<QVector<ReportRow>> rows = data.reportRows();
    if (!rows) return fail(dialogParent, tr("The report table could not be read: %1").arg(data.lastError()));

    switch (destination) {
    case Destination::File:
        pages_ = ReportRenderer::writePdf(*layout, *rows, PrintFileName, &why);
        if (pages_ == 0) return fail(dialogParent, tr("The report was not written: %1").arg(why));
        return true;
    case Destination::Printer: {
        QPrinter printer(QPrinter::HighResolution);
        ReportRenderer::preparePaper(*layout, &printer);
        QPrintDialog dialog(&printer, dialogParent);
        if (dialog.exec() != QDialog::Accepted) return true;
        pages_ = ReportRenderer::render(*layout, *rows, &printer);
        if (pages_ == 0) return fail(dialogParent, tr("The report could not be printed."));
        return true;
    }
    case Destination::Preview:
        break;
    }
    QPrinter printer(QPrinter::HighResolution);
    ReportRenderer::preparePaper(*layout, &printer);
    QPrintPreviewDialog preview(&printer, dialogParent);
    preview.setWindowTitle(tr("Kelda Vasi: print preview"));
    connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&](QPrinter *p) {
        pages_ = ReportRenderer::render(*layout, *rows, p);
    });
    // Besides printing (a printer, or a PDF file through the print dialog), the report can be
    // saved as PDF directly.
    if (QToolBar *bar = preview.findChild<QToolBar *>()) {
        bar->addSeparator();
        QAction *save = bar->addAction(tr("Save as PDF..."));
        save->setObjectName(QStringLiteral("savePdf"));
        connect(save, &QAction::triggered, &preview, [&] {
            // A name typed without its ending gets ".pdf", as the file's readers expect.
            QFileDialog dialog(&preview, tr("Save the report as PDF"), QDir::homePath(), tr("PDF files (*.pdf)"));
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setDefaultSuffix(QStringLiteral("pdf"));
            if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
            const QString path = dialog.selectedFiles().constFirst();
            QString error;
            if (ReportRenderer::writePdf(*layout, *rows, path, &error) == 0)
                QMessageBox::warning(&preview, QStringLiteral("Kelda Vasi"), tr("The report was not written: %1").arg(error));
        });
    }
    preview.exec();
    return true;
}
