// The screenshot tour's look at the keyboard: a menu opened from the keys alone, the help pages on
// typing and on the phonetic layout, a paste the name box cannot hold, and Kannada typed into
// the file name of the dialog that saves a report as PDF.
#include "screenshot_tour.h"

#include "address_entry_window.h"
#include "glyph_widgets.h"
#include "help_window.h"
#include "main_window.h"
#include "shared_module.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QTemporaryDir>
#include <QTextBrowser>

namespace {

// Keys as a person presses them, to whichever widget has the focus (the keyboard bridge sees
// them on their way).
void press(int key, const QString &text = QString(), Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget *target = QApplication::focusWidget();
    if (!target) return;
    QKeyEvent down(QEvent::KeyPress, key, modifiers, text);
    QKeyEvent up(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(target, &down);
    if (QApplication::focusWidget()) QApplication::sendEvent(QApplication::focusWidget(), &up);
}

void typeKeys(const char *keys) {
    for (const char *k = keys; *k; ++k) press(QChar::fromLatin1(*k).toUpper().unicode(), QString(QLatin1Char(*k)));
}

}  // namespace

void ScreenshotTour::typingSteps() {
    then(0, [this] {
        mainWindow_()->mdiArea->closeAllSubWindows();
        mainWindow_()->activateWindow();
        mainWindow_()->setFocus();
    });
    // F10, two titles to the right, Enter, Down: the browse and search menu with its second entry.
    then(300, [] {
        press(Qt::Key_F10);
        press(Qt::Key_Right);
        press(Qt::Key_Right);
        press(Qt::Key_Return);
        press(Qt::Key_Down);
    });
    then(300, [this] { shoot(mainWindow_(), QStringLiteral("70-menu-from-the-keyboard")); });
    then(0, [] { press(Qt::Key_Escape); press(Qt::Key_Escape); });
    // The help pages on typing.
    then(0, [this] {
        if (auto *help = qobject_cast<book10 *>(mainWindow_()->showWindow(QStringLiteral("book10"))))
            help->WB->setSource(QUrl(QStringLiteral("keyboard.htm")));
    });
    then(600, [this] { shoot(mainWindow_(), QStringLiteral("71-book10-keyboard-page")); });
    then(0, [this] {
        if (auto *help = mainWindow_()->findChild<book10 *>()) help->WB->setSource(QUrl(QStringLiteral("phonetic.htm")));
    });
    then(600, [this] { shoot(mainWindow_(), QStringLiteral("72-book10-phonetic-page")); });
    // "NTR Road" pasted into the name box: nothing pasted, the characters named.
    then(0, [this] {
        mainWindow_()->mdiArea->closeAllSubWindows();
        ModDeclare::EditMode = false;
        auto *entry = qobject_cast<FrmAddressEntry *>(mainWindow_()->showWindow(QStringLiteral("FrmAddressEntry")));
        if (!entry) return;
        entry->Txtname->setFocus();
        QApplication::clipboard()->setText(QStringLiteral("NTR Road"));
        shootDialog(QStringLiteral("73-paste-refused"), "Command1");
        press(Qt::Key_V, QString(), Qt::ControlModifier);
    });
    // The file name of a report saved as PDF, typed with Kannada on: Unicode Kannada.
    then(300, [this] {
        mainWindow_()->mdiArea->closeAllSubWindows();
        static QTemporaryDir empty;  // a folder of its own, with nothing in it to show
        auto *dialog = new QFileDialog(mainWindow_(), QStringLiteral("Save the report as PDF"), empty.path(),
                                       QStringLiteral("PDF files (*.pdf)"));
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->setOption(QFileDialog::DontUseNativeDialog);
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->show();
        dialog->activateWindow();
        if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))) name->setFocus();
    });
    then(400, [] { typeKeys("kanfnawa"); });
    then(300, [this] {
        if (auto *dialog = mainWindow_()->findChild<QFileDialog *>()) {
            shoot(dialog, QStringLiteral("74-pdf-file-name-in-kannada"));
            dialog->close();
        }
    });
}
