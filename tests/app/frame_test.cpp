// The shell: the main window's menu bar and its menus, the windows they open, the exit question,
// resizing, the splash, help, and the two dialogs.
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSignalSpy>
#include <QTextBrowser>

#include "captions.h"
#include "help_window.h"
#include "main_window.h"
#include "menu_label.h"
#include "menu_window.h"
#include "shape.h"
#include "splash_window.h"
#include "twips.h"
#include "window_test.h"

namespace {

QWidget *topLevel(const char *name) {
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String(name) && w->isVisible()) return w;
    return nullptr;
}

}  // namespace

class FrameTest : public WindowTest {
    Q_OBJECT

private slots:
    void pressingATitleOpensItsMenuWithoutFollowing();
    void aClickMakesTheMenusFollowTheMouse();
    void aClickInTheClientAreaOrAFocusLossClosesTheMenus();
    void menuEntriesSetTheirFlagsAndOpenTheirWindows();
    void answeringNoToTheExitChangesNothing();
    void answeringYesEndsWithKannadaOffAndTheDatabaseClosed();
    void resizingClosesOnlyTheWindowsThatStandAlone();
    void theSplashWaitsForAClickOrAKey();
    void helpShowsTheShippedPages();
    void theQuestionLeavesItsAnswerAndEscapeIsNo();
    void theKeyboardAloneOpensTheMenusAndPressesTheButtons();

private:
    void prepare() override {
        ModDeclare::MenuActive = false;
        main_ = open(new frmmain);
        QVERIFY(main_);
    }
    void move(int title) { emit main_->l[title]->mouseMoved(); }
    void press(int title) { emit main_->l[title]->mousePressed(); }
    void click(int title) {
        press(title);
        emit main_->l[title]->clicked();
    }
    void choose(int menu, const char *entry) {
        press(menu);
        QTest::mouseClick(main_->menu(menu)->findChild<MenuLabel *>(entry), Qt::LeftButton);
    }
    QStringList openMenus() const {
        QStringList open;
        for (int i = 1; i <= 5; ++i)
            if (main_->menu(i) && main_->menu(i)->isVisible()) open << QStringLiteral("frm%1").arg(i);
        return open;
    }
    QStringList childWindows() const {
        QStringList names;
        for (QMdiSubWindow *sub : main_->mdiArea->subWindowList())
            if (sub->widget() && sub->isVisible()) names << sub->widget()->objectName();
        names.sort();
        return names;
    }
    // The shadow stands 50 twips right of and below the box of that title.
    bool shadowUnder(int title) const {
        return main_->sd->isVisible() &&
               main_->sd->geometry() == main_->s[title]->geometry().translated(twips(50), twips(50));
    }
    bool noBoxShows() const {
        for (int i = 1; i <= 6; ++i)
            if (main_->s[i]->isVisible()) return false;
        return !main_->sd->isVisible();
    }

    QPointer<frmmain> main_;
};

void FrameTest::pressingATitleOpensItsMenuWithoutFollowing() {
    QVERIFY(noBoxShows());
    move(5);
    QVERIFY(main_->s[5]->isVisible());
    QVERIFY(openMenus().isEmpty());
    press(5);
    QCOMPARE(openMenus(), QStringList{"frm5"});
    QVERIFY(shadowUnder(5));
    QVERIFY(!ModDeclare::MenuActive);
    QVERIFY(main_->menu(5)->hasFocus());
    // Without a click the menu does not follow the mouse.
    move(1);
    QCOMPARE(openMenus(), QStringList{"frm5"});
    QVERIFY(main_->s[1]->isVisible() && !main_->s[5]->isVisible());
}

void FrameTest::aClickMakesTheMenusFollowTheMouse() {
    click(5);
    QVERIFY(ModDeclare::MenuActive);
    for (int title : {1, 2, 3, 4, 5}) {
        move(title);
        QCOMPARE(openMenus(), QStringList{QStringLiteral("frm%1").arg(title)});
        QVERIFY2(shadowUnder(title), qPrintable(QString::number(title)));
    }
    // The bar itself: boxes and shadow go, the menu stays; a press on it stops following.
    QMouseEvent moveOnBar(QEvent::MouseMove, QPointF(5, 5), main_->Pic1->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                          Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(main_->Pic1, &moveOnBar);
    QVERIFY(noBoxShows());
    QCOMPARE(openMenus(), QStringList{"frm5"});
    QTest::mousePress(main_->Pic1, Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(!ModDeclare::MenuActive);
    move(2);
    QCOMPARE(openMenus(), QStringList{"frm5"});
    // The exit title closes a following menu and asks nothing on its own.
    click(2);
    move(6);
    QVERIFY(openMenus().isEmpty());
    QVERIFY(shadowUnder(6));
    QVERIFY(answerer_->questions.isEmpty());
}

void FrameTest::aClickInTheClientAreaOrAFocusLossClosesTheMenus() {
    click(4);
    move(4);
    QCOMPARE(openMenus(), QStringList{"frm4"});
    const QPoint empty = main_->mdiArea->viewport()->rect().bottomRight() - QPoint(10, 10);
    QTest::mouseClick(main_->mdiArea->viewport(), Qt::LeftButton, {}, empty);
    QVERIFY(openMenus().isEmpty());
    QVERIFY(noBoxShows());
    QVERIFY(!ModDeclare::MenuActive);

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
    choose(1, "lnew");
    QTRY_VERIFY(openMenus().isEmpty());
    QVERIFY(!ModDeclare::EditMode);
    choose(2, "lnew");
    choose(2, "lopen");
    choose(3, "lopen");
    QCOMPARE(ModDeclare::ReportMode, 51);
    choose(4, "lnew");
    QCOMPARE(childWindows(), (QStringList{"FrmAddressEntry", "book10", "book5", "book7", "book9"}));
    choose(4, "lopen");
    QVERIFY(topLevel("book11"));
    press(5);
    // The highlight bar follows the mouse over the entries.
    MenuLabel *taluks = main_->menu(5)->findChild<MenuLabel *>("lopen");
    emit taluks->mouseMoved();
    QVERIFY(main_->menu(5)->Shape1->isVisible());
    QTest::mouseClick(taluks, Qt::LeftButton);
    QVERIFY(topLevel("Frmtaluk"));
    QVERIFY(openMenus().isEmpty());
    QVERIFY(!ModDeclare::MenuActive);
    // Each reports window keeps the report it opened for.
    choose(3, "lnew");
    QCOMPARE(ModDeclare::ReportMode, 50);
    QCOMPARE(childWindows().count("book9"), 2);
    choose(3, "lopen");
    QCOMPARE(childWindows().count("book9"), 2);
}

void FrameTest::answeringNoToTheExitChangesNothing() {
    main_->showWindow("book10");
    QSignalSpy ending(main_.data(), &frmmain::applicationEnding);
    click(6);  // the question is answered no
    QCOMPARE(answerer_->questions, QStringList{Caption::exitQuestion()});
    QVERIFY(main_->isVisible() && !ModDeclare::Ending && Database::isOpen());
    QCOMPARE(ending.count(), 0);
    QVERIFY(KeyboardBridge::kannadaOn());
    QCOMPARE(childWindows(), QStringList{"book10"});
    // The sign follows the switch whoever turns it.
    QVERIFY(main_->kannadaIndicator->property("kannadaOn").toBool());
    ModDeclare::TurnOffScrollLock();
    QVERIFY(!main_->kannadaIndicator->property("kannadaOn").toBool());
    ModDeclare::TurnOnScrollLock();
    QVERIFY(main_->kannadaIndicator->property("kannadaOn").toBool());
    // Closing the window any other way asks too.
    QVERIFY(!main_->close());
    QCOMPARE(answerer_->questions.size(), 2);
}

void FrameTest::answeringYesEndsWithKannadaOffAndTheDatabaseClosed() {
    main_->showWindow("book7");
    QSignalSpy ending(main_.data(), &frmmain::applicationEnding);
    answerer_->answerNextQuestion(true);
    QVERIFY(main_->close());
    QCOMPARE(ending.count(), 1);
    QVERIFY(ModDeclare::Ending);
    QVERIFY(!Database::isOpen());
    QVERIFY(!KeyboardBridge::kannadaOn());
    QVERIFY(!main_->kannadaIndicator->property("kannadaOn").toBool());
}

void FrameTest::resizingClosesOnlyTheWindowsThatStandAlone() {
    main_->showWindow("frmDistrict");
    main_->showWindow("book11");
    main_->showWindow("FrmAddressEntry");
    QVERIFY(topLevel("frmDistrict") && topLevel("book11"));
    main_->resize(main_->size() + QSize(40, 30));
    QTRY_VERIFY(!topLevel("frmDistrict"));
    QVERIFY(!topLevel("book11"));
    QCOMPARE(childWindows(), QStringList{"FrmAddressEntry"});
    // Minimising counts as a resize.
    main_->showWindow("FrmRelation");
    main_->showMinimized();
    QTRY_VERIFY(!topLevel("FrmRelation"));
    QCOMPARE(childWindows(), QStringList{"FrmAddressEntry"});
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
    QVERIFY(help->WB->source().toLocalFile().endsWith("/Help/index.htm"));
    // Every page the contents link to is shipped beside it.
    for (const char *page : {"keyboard.htm", "phonetic.htm"}) {
        help->WB->setSource(QUrl(QString::fromLatin1(page)));
        QVERIFY2(help->WB->toPlainText().contains("Kannada"), page);
    }
    QTest::mouseClick(help->Command1, Qt::LeftButton);
    QTRY_VERIFY(childWindows().isEmpty());
}

void FrameTest::theQuestionLeavesItsAnswerAndEscapeIsNo() {
    answerer_->answerNextQuestion(true);
    QVERIFY(book3::ask(nullptr, "q"));
    QVERIFY(ModDeclare::Answer);
    QVERIFY(!book3::ask(nullptr, "q"));
    QVERIFY(!ModDeclare::Answer);
    QCOMPARE(answerer_->questions, (QStringList{"q", "q"}));
    // Escape after an earlier yes counts as no (with nobody else answering).
    delete answerer_;
    ModDeclare::Answer = true;
    QTimer::singleShot(0, [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape); });
    QVERIFY(!book3::ask(nullptr, "q"));
    answerer_ = new DialogAnswerer;
    // The message stays until its button is pressed.
    book4::showMessage(nullptr, G("z\xC1R"));
    QCOMPARE(answerer_->messages, QStringList{G("z\xC1R")});
}

void FrameTest::theKeyboardAloneOpensTheMenusAndPressesTheButtons() {
    auto key = [](int k) { QTest::keyClick(QApplication::focusWidget(), Qt::Key(k)); };
    // F10, two titles on, Enter, Down, Enter: the search window.
    key(Qt::Key_F10);
    QCOMPARE(main_->keyboardTitle(), 5);
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    key(Qt::Key_Return);
    QCOMPARE(openMenus(), QStringList{"frm2"});
    key(Qt::Key_Down);
    key(Qt::Key_Return);
    QTRY_COMPARE(childWindows(), QStringList{"book5"});
    QVERIFY(!main_->keyboardTitle() && !main_->s[2]->isVisible());
    // Enter presses the window's search (nothing ticked: the message), Escape closes it.
    key(Qt::Key_Return);
    QCOMPARE(answerer_->messages.size(), 1);
    QVERIFY(showActive(main_));  // the closed message may have left it inactive
    key(Qt::Key_Escape);
    QTRY_VERIFY(childWindows().isEmpty());
    // Alt alone lights the bar; Left goes round to the exit title; Escape gives the keys back.
    QTest::keyPress(QApplication::focusWidget(), Qt::Key_Alt);
    QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Alt, Qt::AltModifier);
    key(Qt::Key_Left);
    QCOMPARE(main_->keyboardTitle(), 6);
    key(Qt::Key_Escape);
    QVERIFY(!main_->keyboardTitle() && !main_->s[6]->isVisible());
}

QTEST_MAIN(FrameTest)
#include "frame_test.moc"
