// The screenshot tour's look at the exchange: the browse window's addresses handed to the
// export window and written as vCard, and that file (with two cards of another program added,
// one of them not in Kannada) in the import window's preview.
#include "screenshot_tour.h"

#include "browse_window.h"
#include "export_window.h"
#include "glyph_widgets.h"
#include "import_window.h"
#include "main_window.h"
#include "message_dialog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QTableWidget>
#include <QTimer>

namespace {

// The message dialog an export or import ends with, answered once it shows.
void answerMessageSoon(QObject *context) {
    QTimer::singleShot(400, context, [] {
        if (auto *message = qobject_cast<book4 *>(QApplication::activeModalWidget())) message->Command1->click();
    });
}

}  // namespace

void ScreenshotTour::exchangeSteps() {
    const QString vcf = QDir(folder_).filePath(QStringLiteral("exchange-sample.vcf"));
    then(0, [this] {
        // The browse window the tour left listing one district hands its rows over.
        mainWindow_()->mdiArea->closeAllSubWindows();
        auto *browse = qobject_cast<book7 *>(mainWindow_()->showWindow(QStringLiteral("book7")));
        if (!browse) return;
        browse->Check1->click();
        browse->cmdview->click();
        browse->cmdexport->click();
    });
    then(600, [this] {
        if (auto *out = mainWindow_()->findChild<ExportWindow *>()) shoot(out, QStringLiteral("60-export-window"));
    });
    then(0, [this, vcf] {
        auto *out = mainWindow_()->findChild<ExportWindow *>();
        if (!out) return;
        answerMessageSoon(this);
        out->exportTo(vcf);
        QFile file(vcf);
        if (file.open(QIODevice::Append))
            file.write(QStringLiteral("BEGIN:VCARD\r\nVERSION:4.0\r\nFN:ಹೊಸ ಹೆಸರು\r\nX-KELDA-VASI-DISTRICT:ಉಡುಪಿ\r\n"
                                      "BDAY:1990-01-01\r\nEND:VCARD\r\nBEGIN:VCARD\r\nVERSION:4.0\r\nFN:José\r\nEND:VCARD\r\n")
                           .toUtf8());
    });
    then(0, [this, vcf] {
        mainWindow_()->mdiArea->closeAllSubWindows();
        // The preview's last rows: the new address and the one left out, with its reason.
        if (auto *in = qobject_cast<ImportWindow *>(mainWindow_()->showWindow(QStringLiteral("ImportWindow")))) {
            in->openFile(vcf);
            QTimer::singleShot(300, in->GrdPreview, [in] { in->GrdPreview->scrollToBottom(); });
        }
    });
    then(700, [this, vcf] {
        if (auto *in = mainWindow_()->findChild<ImportWindow *>()) shoot(in, QStringLiteral("61-import-preview"));
        QFile::remove(vcf);
    });
}
