#include "screenshot_tour.h"

#include "question_dialog.h"
#include "address_data.h"
#include "message_dialog.h"
#include "search_window.h"
#include "captions.h"
#include "address_entry_window.h"
#include "main_window.h"
#include "splash_window.h"
#include "menu_label.h"
#include "menu_window.h"
#include "shared_module.h"
#include "record_samples.h"
#include "reference_samples.h"
#include "reference_window.h"
#include "two_level_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QTabWidget>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

#include <cstdio>

namespace {

void sendMouse(QWidget *w, QEvent::Type type, Qt::MouseButton button = Qt::LeftButton) {
    const QPointF local(w->width() / 2.0, w->height() / 2.0);
    const QPointF global = w->mapToGlobal(local);
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton;
    QMouseEvent e(type, local, local, global, type == QEvent::MouseMove ? Qt::NoButton : button, buttons,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void click(QWidget *w) {
    sendMouse(w, QEvent::MouseButtonPress);
    sendMouse(w, QEvent::MouseButtonRelease);
}

}  // namespace

ScreenshotTour::ScreenshotTour(const QString &folder, frmSplash *splash, std::function<frmmain *()> mainWindow,
                               QObject *parent)
    : QObject(parent), folder_(folder), splash_(splash), mainWindow_(std::move(mainWindow)) {}

void ScreenshotTour::then(int delayMs, Step step) { steps_.append({delayMs, std::move(step)}); }

void ScreenshotTour::next() {
    if (steps_.isEmpty()) {
        std::printf("screenshots: %d pictures in %s\n", saved_, qPrintable(folder_));
        std::fflush(stdout);
        QCoreApplication::exit(saved_ > 0 ? 0 : 1);
        return;
    }
    auto [delay, step] = steps_.takeFirst();
    QTimer::singleShot(delay, this, [this, step] {
        step();
        next();
    });
}

void ScreenshotTour::shoot(QWidget *widget, const QString &name) {
    QWidget *window = widget->window();
    QScreen *screen = window->screen();
    const QRect r = window->frameGeometry();
    QPixmap picture = screen->grabWindow(0, r.x(), r.y(), r.width(), r.height());
    if (picture.isNull()) picture = window->grab();
    const QString path = QDir(folder_).filePath(name + QStringLiteral(".png"));
    if (picture.save(path)) {
        ++saved_;
        std::printf("screenshots: %s\n", qPrintable(path));
    } else {
        std::fprintf(stderr, "screenshots: could not save %s\n", qPrintable(path));
    }
}

void ScreenshotTour::shootDialog(const QString &name, const char *button) {
    QTimer::singleShot(600, this, [this, name, button] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog) return;
        shoot(dialog, name);
        if (auto *b = dialog->findChild<QAbstractButton *>(QLatin1String(button))) b->click();
    });
}

void ScreenshotTour::start() {
    QDir().mkpath(folder_);
    runSteps();
    next();
}

void ScreenshotTour::runSteps() {
    then(600, [this] { shoot(splash_, QStringLiteral("01-splash")); });
    then(0, [this] { click(splash_); });
    then(900, [this] { shoot(mainWindow_(), QStringLiteral("02-main-window")); });

    // Each menu: pressed open, then the mouse over its first entry shows the highlight bar.
    const int order[] = {5, 1, 2, 3, 4};
    int shot = 3;
    for (int number : order) {
        then(0, [this, number] {
            frmmain *m = mainWindow_();
            sendMouse(m->l[number], QEvent::MouseMove);
            click(m->l[number]);
        });
        then(300, [this, number] {
            if (MenuWindow *menu = mainWindow_()->menu(number)) {
                if (auto *entry = menu->findChild<MenuLabel *>()) sendMouse(entry, QEvent::MouseMove);
            }
        });
        then(300, [this, number, shot] {
            shoot(mainWindow_(), QStringLiteral("%1-menu-frm%2").arg(shot, 2, 10, QLatin1Char('0')).arg(number));
        });
        ++shot;
    }
    // Moving along the bar to the exit title while a menu follows the mouse.
    then(0, [this] { sendMouse(mainWindow_()->l[6], QEvent::MouseMove); });
    then(300, [this] { shoot(mainWindow_(), QStringLiteral("08-menu-bar-exit-title")); });
    then(0, [this] { click(mainWindow_()->mdiArea->viewport()); });

    // The two dialogs, each shown modally until the tour presses its button.
    then(200, [this] {
        shootDialog(QStringLiteral("09-book4-message"), "Command1");
        book4::showMessage(mainWindow_(), Caption::G("z\xC1R\xB0\xB8\xC0\xAF\xC1\xAC\xC4v\xC0\xC4"));
    });
    then(200, [this] {
        shootDialog(QStringLiteral("10-book3-question"), "Command2");
        book3::ask(mainWindow_(), Caption::exitQuestion());
    });
    // Help and about.
    then(0, [this] { mainWindow_()->showWindow(QStringLiteral("book10")); });
    then(900, [this] { shoot(mainWindow_(), QStringLiteral("11-book10-help")); });
    then(0, [this] { mainWindow_()->showWindow(QStringLiteral("book11")); });
    then(600, [this] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("book11") && w->isVisible()) shoot(w, QStringLiteral("12-book11-about"));
    });
    referenceSteps();
    recordSteps();
    browseAndReportSteps();
    exchangeSteps();
    typingSteps();
}

// The five reference-list windows from the reference menu, each with Kannada entries in its
// list, and the districts window's delete warning.
void ScreenshotTour::referenceSteps() {
    auto topLevel = [](const char *name) -> ReferenceWindow * {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String(name) && w->isVisible()) return qobject_cast<ReferenceWindow *>(w);
        return nullptr;
    };
    then(0, [] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("book11")) w->close();
        AddressBookData data = ModDeclare::Data();
        if (!AddReferenceSamples(data)) std::fprintf(stderr, "screenshots: %s\n", qPrintable(data.lastError()));
    });
    const char *const names[] = {"frmDistrict", "Frmtaluk", "FrmPrakara", "FrmUpaprakara", "FrmRelation"};
    int shot = 30;
    for (const char *name : names) {
        then(0, [this, name] { mainWindow_()->showWindow(QLatin1String(name)); });
        then(600, [this, name, shot, topLevel] {
            if (ReferenceWindow *w = topLevel(name)) shoot(w, QStringLiteral("%1-%2").arg(shot).arg(QLatin1String(name)));
        });
        ++shot;
    }
    then(0, [this, topLevel] {
        ReferenceWindow *w = topLevel("frmDistrict");
        if (!w) return;
        shootDialog(QStringLiteral("35-frmDistrict-delete-warning"), "Command2");
        w->CmdDelete->click();
    });
    // Moving the shown taluk to the next district: the question names both and the addresses.
    then(0, [this, topLevel] {
        auto *w = qobject_cast<TwoLevelWindow *>(topLevel("Frmtaluk"));
        if (!w || w->CmbMoveTo->count() < 2) return;
        w->CmbMoveTo->setCurrentIndex(1);
        emit w->CmbMoveTo->activated(1);
        shootDialog(QStringLiteral("36-Frmtaluk-move-question"), "Command2");
        w->cmdmove->click();
    });
    // A new district typed and the window closed: the question before the typing would go.
    then(0, [this, topLevel] {
        ReferenceWindow *w = topLevel("frmDistrict");
        if (!w) return;
        w->cmdnew->click();
        w->nameBox->setText(Caption::G("\xA8\xC9\xBC\xC0U\xC1\xAB"));  // beLagAvi
        shootDialog(QStringLiteral("37-frmDistrict-unsaved-question"), "CmdDiscard");
        w->cmdexit->click();
    });
    then(0, [topLevel] {
        for (const char *name : {"frmDistrict", "Frmtaluk", "FrmPrakara", "FrmUpaprakara", "FrmRelation"})
            if (ReferenceWindow *w = topLevel(name)) w->close();
    });
}

// The address entry window with a record opened for change (its three pages) and empty for a
// new one; the search window with the addresses of one place, first and second.
void ScreenshotTour::recordSteps() {
    auto child = [this](const char *name) -> QWidget * {
        for (QMdiSubWindow *sub : mainWindow_()->mdiArea->subWindowList())
            if (sub->widget() && sub->widget()->objectName() == QLatin1String(name)) return sub->widget();
        return nullptr;
    };
    auto closeChild = [child](const char *name) {
        if (QWidget *w = child(name)) w->parentWidget()->close();
    };
    then(0, [this] {
        mainWindow_()->mdiArea->closeAllSubWindows();
        AddressData data(ModDeclare::AppDatabase());
        if (!AddAddressSamples(data)) std::fprintf(stderr, "screenshots: %s\n", qPrintable(data.lastError()));
        ModDeclare::EditMode = true;
        ModDeclare::CurrentId = 1;
        mainWindow_()->showWindow(QStringLiteral("FrmAddressEntry"));
    });
    for (int page = 0; page < 3; ++page) {
        then(page == 0 ? 600 : 0, [child, page] {
            if (auto *entry = qobject_cast<FrmAddressEntry *>(child("FrmAddressEntry"))) entry->SSTab1->setCurrentIndex(page);
        });
        then(400, [this, child, page] {
            if (QWidget *entry = child("FrmAddressEntry"))
                shoot(entry, QStringLiteral("%1-FrmAddressEntry-page%2").arg(40 + page).arg(page));
        });
    }
    // The place emptied and Save pressed: the question names the box that will be cleared.
    then(0, [this, child] {
        auto *entry = qobject_cast<FrmAddressEntry *>(child("FrmAddressEntry"));
        if (!entry) return;
        entry->SSTab1->setCurrentIndex(1);
        const QString place = entry->Txtplace->text();
        entry->Txtplace->setText(QString());
        shootDialog(QStringLiteral("46-FrmAddressEntry-cleared-question"), "Command2");
        entry->Cmdsave->click();
        entry->Txtplace->setText(place);
    });
    then(0, [this, closeChild] {
        closeChild("FrmAddressEntry");
        ModDeclare::EditMode = false;
        mainWindow_()->showWindow(QStringLiteral("FrmAddressEntry"));
    });
    then(600, [this, child] {
        if (QWidget *entry = child("FrmAddressEntry")) shoot(entry, QStringLiteral("43-FrmAddressEntry-new"));
    });
    then(0, [this, closeChild] {
        closeChild("FrmAddressEntry");
        auto *search = qobject_cast<book5 *>(mainWindow_()->showWindow(QStringLiteral("book5")));
        if (!search) return;
        // The letter KA in the name box: every name of KA shows as the typing pauses.
        search->ChkName->click();
        search->txtsearch->setText(Caption::G("P\xC0"));
    });
    then(1000, [this, child] {
        if (QWidget *search = child("book5")) shoot(search, QStringLiteral("44-book5-search"));
    });
    then(0, [child] {
        if (auto *search = qobject_cast<book5 *>(child("book5"))) search->Vs->setValue(2);
    });
    then(400, [this, child] {
        if (QWidget *search = child("book5")) shoot(search, QStringLiteral("45-book5-second-match"));
    });
    then(0, [closeChild] { closeChild("book5"); });
}
