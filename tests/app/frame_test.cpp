// The main window's frame: the menu bar and its menus, the exit question, resizing, the
// scrolling picture, the splash and the two dialogs.
#include <QMdiArea>
#include <QTextBrowser>
#include <QMdiSubWindow>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include "help_window.h"
#include "question_dialog.h"
#include "captions.h"
#include "message_dialog.h"
#include "database.h"
#include "main_window.h"
#include "splash_window.h"
#include "glyph_widgets.h"
#include "keyboard_bridge.h"
#include "menu_label.h"
#include "menu_window.h"
#include "shared_module.h"
#include "shape.h"
#include "test_database.h"
#include "tovi_library.h"
#include "twips.h"

namespace {

constexpr unsigned int VK_SCROLL = 0x91;

// Answers the modal dialog that is about to open by pressing one of its buttons.
void answerNextDialog(bool yes) {
    QTimer::singleShot(0, [yes] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *question = qobject_cast<book3 *>(modal)) (yes ? question->Command1 : question->Command2)->click();
        if (auto *message = qobject_cast<book4 *>(modal)) message->Command1->click();
    });
}

QWidget *topLevel(const QString &name) {
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible()) return w;
    return nullptr;
}

QStringList childWindows(frmmain &w) {
    QStringList names;
    for (QMdiSubWindow *sub : w.mdiArea->subWindowList())
        if (sub->widget() && sub->isVisible()) names << sub->widget()->objectName();
    names.sort();
    return names;
}

}  // namespace

class FrameTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void menuBarPlacesTitlesAtTheirTwips();
    void pressingATitleOpensItsMenuWithoutFollowing();
    void aClickMakesTheMenusFollowTheMouse();
    void theExitTitleClosesFollowingMenus();
    void aClickInTheClientAreaClosesEverything();
    void aMenuClosesWhenItLosesTheFocus();
    void menuEntriesSetTheirFlagsAndOpenTheirWindows();
    void answeringNoToTheExitChangesNothing();
    void answeringYesEndsWithKannadaOffAndTheDatabaseClosed();
    void resizingClosesOnlyTheFloatingWindows();
    void thePictureRunsDownTheSidePanel();
    void theSplashWaitsForAClickOrAKey();
    void helpShowsTheShippedPages();
    void book3LeavesTheAnswer();
    void book4ShowsItsMessageUntilPressed();

private:
    void showMain();
    void move(int title) { emit main_->l[title]->mouseMoved(); }
    void press(int title) { emit main_->l[title]->mousePressed(); }
    void click(int title) {
        emit main_->l[title]->mousePressed();
        emit main_->l[title]->clicked();
    }
    QStringList openMenus() const {
        QStringList open;
        for (int i = 1; i <= 5; ++i)
            if (main_->menu(i) && main_->menu(i)->isVisible()) open << QStringLiteral("frm%1").arg(i);
        return open;
    }
    // The shadow stands 50 twips right of and below the box of that title.
    bool shadowUnder(int title) const {
        const QRect box = main_->s[title]->geometry();
        return main_->sd->isVisible() && main_->sd->geometry() == box.translated(twips(50), twips(50));
    }

    TestDatabase *db_ = nullptr;
    KeyboardBridge *bridge_ = nullptr;
    frmmain *main_ = nullptr;
};

void FrameTest::init() {
    db_ = new TestDatabase;
    QVERIFY2(db_->opened(), qPrintable(db_->error()));
    bridge_ = new KeyboardBridge;
    bridge_->start();
    ModDeclare::MenuActive = false;
    showMain();
}

void FrameTest::cleanup() {
    delete main_;
    main_ = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible()) w->close();
    delete bridge_;
    bridge_ = nullptr;
    delete db_;
    db_ = nullptr;
}

void FrameTest::showMain() {
    main_ = new frmmain;
    main_->show();
    main_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(main_));
}

void FrameTest::menuBarPlacesTitlesAtTheirTwips() {
    // 1440 twips to the inch: 15 to a pixel at 96 dots to the inch.
    QCOMPARE(main_->Pic1->height(), 29);
    QCOMPARE(main_->l[5]->geometry().topLeft(), QPoint(50, 4));
    QCOMPARE(main_->l[1]->x(), 170);
    QCOMPARE(main_->l[6]->x(), 676);
    QCOMPARE(main_->s[3]->height(), 25);
    QCOMPARE(main_->s[3]->y(), 2);
    QCOMPARE(main_->Picture1->width(), 45);
    QVERIFY(main_->Picture1->geometry().top() >= main_->Pic1->geometry().bottom());
    QCOMPARE(main_->l[4]->text(), Caption::l4());
    for (int i = 1; i <= 6; ++i) QVERIFY(!main_->s[i]->isVisible());
    QVERIFY(!main_->sd->isVisible());
}

void FrameTest::pressingATitleOpensItsMenuWithoutFollowing() {
    move(5);
    QVERIFY(main_->s[5]->isVisible());
    QCOMPARE(main_->s[5]->fillColor(), QColor(0xE0, 0xE0, 0xE0));
    QVERIFY(openMenus().isEmpty());
    press(5);
    QCOMPARE(openMenus(), QStringList{"frm5"});
    QVERIFY(shadowUnder(5));
    QVERIFY(!ModDeclare::MenuActive);
    // The menu stands in the client area at (20, 0) twips, just below the bar.
    QCOMPARE(main_->menu(5)->parentWidget()->pos(), QPoint(twips(20), 0));
    QVERIFY(main_->menu(5)->hasFocus());

    // Without a click the menu does not follow the mouse.
    move(1);
    QCOMPARE(openMenus(), QStringList{"frm5"});
    QVERIFY(main_->s[1]->isVisible());
    QVERIFY(!main_->s[5]->isVisible());
}

void FrameTest::aClickMakesTheMenusFollowTheMouse() {
    click(5);
    QVERIFY(ModDeclare::MenuActive);
    QCOMPARE(openMenus(), QStringList{"frm5"});
    const int order[] = {1, 2, 3, 4, 5};
    for (int title : order) {
        move(title);
        QCOMPARE(openMenus(), QStringList{QStringLiteral("frm%1").arg(title)});
        QVERIFY2(shadowUnder(title), qPrintable(QString::number(title)));
        QVERIFY(ModDeclare::MenuActive);
    }
    QCOMPARE(main_->menu(3), nullptr);
    // The bar itself: boxes and shadow go, the menu stays; a press on it stops following.
    QMouseEvent moveOnBar(QEvent::MouseMove, QPointF(5, 5), main_->Pic1->mapToGlobal(QPointF(5, 5)),
                          Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(main_->Pic1, &moveOnBar);
    QVERIFY(!main_->sd->isVisible());
    for (int i = 1; i <= 6; ++i) QVERIFY(!main_->s[i]->isVisible());
    QCOMPARE(openMenus(), QStringList{"frm5"});
    QTest::mousePress(main_->Pic1, Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(!ModDeclare::MenuActive);
    move(2);
    QCOMPARE(openMenus(), QStringList{"frm5"});
}

void FrameTest::theExitTitleClosesFollowingMenus() {
    click(2);
    move(6);
    QVERIFY(openMenus().isEmpty());
    QVERIFY(shadowUnder(6));
    QVERIFY(main_->s[6]->isVisible());
    QVERIFY(main_->isVisible());
    QVERIFY(Database::isOpen());
}

void FrameTest::aClickInTheClientAreaClosesEverything() {
    click(4);
    move(4);
    QCOMPARE(openMenus(), QStringList{"frm4"});
    const QPoint empty = main_->mdiArea->viewport()->rect().bottomRight() - QPoint(10, 10);
    QTest::mouseClick(main_->mdiArea->viewport(), Qt::LeftButton, {}, empty);
    QVERIFY(openMenus().isEmpty());
    QVERIFY(!main_->sd->isVisible());
    for (int i = 1; i <= 6; ++i) QVERIFY(!main_->s[i]->isVisible());
    QVERIFY(!ModDeclare::MenuActive);
}

void FrameTest::aMenuClosesWhenItLosesTheFocus() {
    click(3);
    QTRY_VERIFY(main_->menu(3) && main_->menu(3)->hasFocus());
    auto *other = new GlyphLineEdit;
    main_->mdiArea->addSubWindow(other)->show();
    other->setFocus();
    QTRY_VERIFY(openMenus().isEmpty());
    QVERIFY(!ModDeclare::MenuActive);
    QVERIFY(!main_->sd->isVisible());
}

void FrameTest::menuEntriesSetTheirFlagsAndOpenTheirWindows() {
    ModDeclare::EditMode = true;
    press(1);
    QTest::mouseClick(main_->menu(1)->findChild<MenuLabel *>("lnew"), Qt::LeftButton);
    QTRY_VERIFY(openMenus().isEmpty());
    QVERIFY(!ModDeclare::EditMode);
    QCOMPARE(childWindows(*main_), QStringList{"FrmAddressEntry"});

    press(3);
    QTest::mouseClick(main_->menu(3)->findChild<MenuLabel *>("lopen"), Qt::LeftButton);
    QCOMPARE(ModDeclare::ReportMode, 51);
    QVERIFY(childWindows(*main_).contains("book9"));

    press(4);
    QTest::mouseClick(main_->menu(4)->findChild<MenuLabel *>("lnew"), Qt::LeftButton);
    QVERIFY(childWindows(*main_).contains("book10"));
    QVERIFY(openMenus().isEmpty());
    press(4);
    QTest::mouseClick(main_->menu(4)->findChild<MenuLabel *>("lopen"), Qt::LeftButton);
    QVERIFY(topLevel("book11"));

    press(5);
    // The highlight bar follows the mouse over the entries, 50 twips above each.
    MenuWindow *refs = main_->menu(5);
    MenuLabel *taluks = refs->findChild<MenuLabel *>("lopen");
    emit taluks->mouseMoved();
    QVERIFY(refs->Shape1->isVisible());
    QCOMPARE(refs->Shape1->y(), twips(570 - 50));
    QTest::mouseClick(taluks, Qt::LeftButton);
    QVERIFY(topLevel("Frmtaluk"));
    QCOMPARE(topLevel("Frmtaluk")->pos(), QPoint(0, 0));
    QVERIFY(!ModDeclare::MenuActive);
}

void FrameTest::answeringNoToTheExitChangesNothing() {
    QVERIFY(KeyboardBridge::kannadaOn());
    main_->showWindow("book10");
    QSignalSpy ending(main_, &frmmain::applicationEnding);
    answerNextDialog(false);
    click(6);
    QVERIFY(main_->isVisible());
    QVERIFY(!ModDeclare::Ending);
    QCOMPARE(ending.count(), 0);
    QVERIFY(Database::isOpen());
    QVERIFY(KeyboardBridge::kannadaOn());
    QCOMPARE(childWindows(*main_), QStringList{"book10"});
    QVERIFY(main_->kannadaIndicator->property("kannadaOn").toBool());
    // The sign follows the switch whoever turns it.
    ModDeclare::TurnOffScrollLock();
    QVERIFY(!main_->kannadaIndicator->property("kannadaOn").toBool());
    ModDeclare::TurnOnScrollLock();
    QVERIFY(main_->kannadaIndicator->property("kannadaOn").toBool());

    // Closing the window any other way asks too.
    answerNextDialog(false);
    QVERIFY(!main_->close());
    QVERIFY(main_->isVisible());
}

void FrameTest::answeringYesEndsWithKannadaOffAndTheDatabaseClosed() {
    if (!ToviLibrary::has("ToviTurnOffScrollLockVB")) QSKIP("the library has no Scroll Lock switch");
    main_->showWindow("book7");
    QVERIFY(KeyboardBridge::kannadaOn());
    QSignalSpy ending(main_, &frmmain::applicationEnding);
    answerNextDialog(true);
    QVERIFY(main_->close());
    QCOMPARE(ending.count(), 1);
    QVERIFY(ModDeclare::Ending);
    QVERIFY(!Database::isOpen());
    QVERIFY(!(ToviLibrary::desktopKeyState(VK_SCROLL) & 1));
    QVERIFY(!KeyboardBridge::kannadaOn());
    QVERIFY(!main_->kannadaIndicator->property("kannadaOn").toBool());
}

void FrameTest::resizingClosesOnlyTheFloatingWindows() {
    main_->showWindow("frmDistrict");
    main_->showWindow("book11");
    main_->showWindow("FrmAddressEntry");
    QVERIFY(topLevel("frmDistrict") && topLevel("book11"));
    main_->resize(main_->size() + QSize(40, 30));
    QTRY_VERIFY(!topLevel("frmDistrict"));
    QVERIFY(!topLevel("book11"));
    QCOMPARE(childWindows(*main_), QStringList{"FrmAddressEntry"});
    // With none of them open a resize is harmless; minimising counts as a resize.
    main_->showWindow("FrmRelation");
    main_->showMinimized();
    QTRY_VERIFY(!topLevel("FrmRelation"));
    QCOMPARE(childWindows(*main_), QStringList{"FrmAddressEntry"});
}

void FrameTest::thePictureRunsDownTheSidePanel() {
    QCOMPARE(main_->pic2Top(), -3690);
    main_->Timer1->stop();
    for (int tick = 1; tick <= 254; ++tick) QMetaObject::invokeMethod(main_, "Timer1_Timer");
    QCOMPARE(main_->pic2Top(), 9010);
    QCOMPARE(main_->pic2->y(), twips(9010));
    QMetaObject::invokeMethod(main_, "Timer1_Timer");
    QCOMPARE(main_->pic2Top(), -3690);
    QCOMPARE(main_->Timer1->interval(), 50);
}

void FrameTest::theSplashWaitsForAClickOrAKey() {
    for (int way = 0; way < 3; ++way) {
        frmSplash splash;
        QSignalSpy dismissed(&splash, &frmSplash::dismissed);
        splash.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));
        QTest::qWait(20);
        QCOMPARE(dismissed.count(), 0);
        if (way == 0) QTest::mouseClick(&splash, Qt::LeftButton);
        if (way == 1) QTest::keyClick(&splash, Qt::Key_Space);
        if (way == 2) QTest::mouseDClick(&splash, Qt::LeftButton);
        QVERIFY(dismissed.count() >= 1);
        QVERIFY(!splash.isVisible());
    }
}

void FrameTest::helpShowsTheShippedPages() {
    auto *help = qobject_cast<book10 *>(main_->showWindow("book10"));
    QVERIFY(help);
    QCOMPARE(help->parentWidget()->pos(), QPoint(0, 0));
    QVERIFY(help->WB->source().toLocalFile().endsWith("/Help/index.htm"));
    QVERIFY(help->WB->toPlainText().contains("Scroll Lock") || help->WB->toPlainText().contains("menu bar"));
    // Every page the contents link to is shipped beside it.
    for (const char *page : {"keyboard.htm", "phonetic.htm"}) {
        help->WB->setSource(QUrl(QString::fromLatin1(page)));
        QVERIFY2(help->WB->toPlainText().contains("Kannada"), page);
    }
    QTest::mouseClick(help->Command1, Qt::LeftButton);
    QTRY_VERIFY(childWindows(*main_).isEmpty());
}

void FrameTest::book3LeavesTheAnswer() {
    ModDeclare::Answer = false;
    answerNextDialog(true);
    QVERIFY(book3::ask(nullptr, "q"));
    QVERIFY(ModDeclare::Answer);
    answerNextDialog(false);
    QVERIFY(!book3::ask(nullptr, "q"));
    QVERIFY(!ModDeclare::Answer);

    // Escape after an earlier yes counts as no.
    ModDeclare::Answer = true;
    QTimer::singleShot(0, [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape); });
    QVERIFY(!book3::ask(nullptr, "q"));

    book3 dialog;
    QCOMPARE(dialog.Label2->text(), Caption::information());
    QCOMPARE(dialog.Command1->text(), Caption::yes());
    QCOMPARE(dialog.Command2->text(), Caption::no());
    QVERIFY(dialog.isModal());
}

void FrameTest::book4ShowsItsMessageUntilPressed() {
    QString shown;
    QTimer::singleShot(0, [&shown] {
        auto *d = qobject_cast<book4 *>(QApplication::activeModalWidget());
        if (!d) return;
        shown = d->Label1->text();
        d->Command1->click();
    });
    book4::showMessage(nullptr, Caption::G("z\xC1R\xB0\xB8\xC0\xAF\xC1\xAC\xC4v\xC0\xC4"));
    QCOMPARE(shown, Caption::G("z\xC1R\xB0\xB8\xC0\xAF\xC1\xAC\xC4v\xC0\xC4"));
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    book4 dialog;
    QCOMPARE(dialog.Command1->text(), Caption::ok());
}

QTEST_MAIN(FrameTest)
#include "frame_test.moc"
