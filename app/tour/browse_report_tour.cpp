// The screenshot tour's look at the browse window and the reports: the browse grid of one
// district with the delete question, both reports windows, the print preview, and the first
// page of a label sheet and of the general list printed from sample addresses.
#include "screenshot_tour.h"

#include "address_selection.h"
#include "app_files.h"
#include "browse_window.h"
#include "reports_window.h"
#include "filter_panel.h"
#include "flex_grid.h"
#include "main_window.h"
#include "glyph_widgets.h"
#include "shared_module.h"
#include "report_control.h"
#include "report_layout.h"
#include "report_renderer.h"
#include "sample_addresses.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrintPreviewDialog>
#include <QProcess>
#include <QTimer>

#include <cstdio>

namespace {

// Picks the first entry of a list, as a click on it does.
void pickFirst(GlyphComboBox *list) {
    if (list->count() == 0) return;
    list->setCurrentIndex(0);
    emit list->activated(0);
}

// Prints the rows of temp in a shipped layout and keeps the first page as a picture.
bool printFirstPage(const QString &layoutFile, const QString &folder, const QString &name) {
    QString error;
    const std::optional<ReportLayout> layout = ReportLayout::load(AppFiles::path(layoutFile), &error);
    AddressListData data(ModDeclare::AppDatabase());
    const std::optional<QVector<ReportRow>> rows = data.reportRows();
    const QString pdf = QDir(folder).filePath(name + QStringLiteral(".pdf"));
    if (!layout || !rows || ReportRenderer::writePdf(*layout, *rows, pdf, &error) == 0) {
        std::fprintf(stderr, "screenshots: %s: %s\n", qPrintable(name), qPrintable(error));
        return false;
    }
    const int status = QProcess::execute(QStringLiteral("pdftoppm"),
                                         {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("90"),
                                          QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                          QStringLiteral("1"), QStringLiteral("-singlefile"), pdf,
                                          QDir(folder).filePath(name)});
    QFile::remove(pdf);
    if (status != 0) {
        std::fprintf(stderr, "screenshots: pdftoppm could not make %s.png\n", qPrintable(name));
        return false;
    }
    std::printf("screenshots: %s.png\n", qPrintable(QDir(folder).filePath(name)));
    return true;
}

}  // namespace

void ScreenshotTour::browseAndReportSteps() {
    auto child = [this](const char *name) -> QWidget * {
        for (QMdiSubWindow *sub : mainWindow_()->mdiArea->subWindowList())
            if (sub->widget() && sub->widget()->objectName() == QLatin1String(name)) return sub->widget();
        return nullptr;
    };
    then(0, [this] {
        mainWindow_()->mdiArea->closeAllSubWindows();
        QString error;
        if (!SampleAddresses::fill(ModDeclare::AppDatabase(), 40, &error))
            std::fprintf(stderr, "screenshots: %s\n", qPrintable(error));
        auto *browse = qobject_cast<book7 *>(mainWindow_()->showWindow(QStringLiteral("book7")));
        if (!browse) return;
        browse->Check2->click();
        pickFirst(browse->CmbDistrict);
        browse->cmdview->click();
    });
    then(700, [this, child] {
        if (QWidget *browse = child("book7")) shoot(browse, QStringLiteral("50-book7-browse"));
    });
    // The delete question for the second row, answered no.
    then(0, [this, child] {
        auto *browse = qobject_cast<book7 *>(child("book7"));
        if (!browse || browse->Mg->Rows() < 3) return;
        browse->Mg->setRow(2);
        shootDialog(QStringLiteral("51-book7-delete-question"), "Command2");
        browse->CmdDelete->click();
    });
    then(0, [this] {
        mainWindow_()->mdiArea->closeAllSubWindows();
        ModDeclare::ReportMode = 50;
        auto *labels = qobject_cast<book9 *>(mainWindow_()->showWindow(QStringLiteral("book9")));
        if (!labels) return;
        labels->Check9->click();
        pickFirst(labels->CmbDistrict);
    });
    then(600, [this, child] {
        if (QWidget *labels = child("book9")) shoot(labels, QStringLiteral("52-book9-labels"));
    });
    // The labels of that district in Qt's print preview.
    then(0, [this, child] {
        auto *labels = qobject_cast<book9 *>(child("book9"));
        if (!labels) return;
        QTimer::singleShot(1500, this, [this] {
            if (auto *preview = qobject_cast<QPrintPreviewDialog *>(QApplication::activeModalWidget())) {
                shoot(preview, QStringLiteral("53-book9-print-preview"));
                preview->reject();
            }
        });
        labels->cmdreport->click();
    });
    then(0, [this] {
        mainWindow_()->mdiArea->closeAllSubWindows();
        ModDeclare::ReportMode = 51;
        if (auto *list = qobject_cast<book9 *>(mainWindow_()->showWindow(QStringLiteral("book9")))) {
            list->OptO->click();
            list->Check5->click();
        }
    });
    then(600, [this, child] {
        if (QWidget *list = child("book9")) shoot(list, QStringLiteral("54-book9-general-list"));
    });
    // The first page of each report over every sample address.
    then(0, [this] {
        mainWindow_()->mdiArea->closeAllSubWindows();
        AddressListData data(ModDeclare::AppDatabase());
        if (data.fillReportTable({}, ReportKind::Labels, AddressChoice::First) > 0 &&
            printFirstPage(QStringLiteral("rpkeldalabel.rpt"), folder_, QStringLiteral("55-report-labels")))
            ++saved_;
        if (data.fillReportTable({}, ReportKind::GeneralList, AddressChoice::First) > 0 &&
            printFirstPage(QStringLiteral("rpoffice.rpt"), folder_, QStringLiteral("56-report-list")))
            ++saved_;
    });
}
