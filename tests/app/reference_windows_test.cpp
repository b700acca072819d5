// The five reference-list windows driven as a person would: Kannada typed through the keyboard
// bridge, the buttons pressed, the dialogs answered; each case then reads the database back.
// The cascades themselves are the data layer's (data_access_test); here the windows must reach
// them with the right entry.
#include <QAbstractItemView>
#include <QSqlError>

#include "main_window.h"
#include "menu_label.h"
#include "menu_window.h"
#include "two_level_window.h"
#include "window_test.h"

namespace {

QString number(const ReferenceWindow *w) { return w->Txtno->text(); }

// Districts kOlAra (1: taluks bIdara 10, hAsana 11) and mYsUru (2: taluk tumakUru 20).
bool seedDistricts() {
    return seed(RefTable::District, 1, Typed::kOlAra()) && seed(RefTable::District, 2, Typed::mYsUru()) &&
           seed(RefTable::Taluk, 10, Typed::bIdara(), 1) && seed(RefTable::Taluk, 11, Typed::hAsana(), 1) &&
           seed(RefTable::Taluk, 20, Typed::tumakUru(), 2);
}

// Chooses a parent as the user does: the list's popup, then a click on the item.
void chooseParent(ReferenceWindow *window, const QString &glyphs) {
    GlyphComboBox *c = static_cast<TwoLevelWindow *>(window)->parentList;
    int index = -1;
    for (int i = 0; i < c->count(); ++i)
        if (c->itemGlyphText(i) == glyphs) index = i;
    QVERIFY2(index >= 0, "no such parent");
    c->showPopup();
    QAbstractItemView *view = c->view();
    QTRY_VERIFY(view->isVisible());
    const QModelIndex item = view->model()->index(index, 0);
    view->scrollTo(item);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(item).center());
    QTRY_VERIFY(!view->isVisible());
    QCOMPARE(c->text(), glyphs);
}

}  // namespace

class ReferenceWindowsTest : public WindowTest {
    Q_OBJECT

private slots:
    void newOnAnEmptyTableShowsOneAndTheSaveFillsTheListAfterTheShake();
    void badInputGivesEachWindowsMessage_data();
    void badInputGivesEachWindowsMessage();
    void aSaveDuringTheShakeConfirmsOnce();
    void aNumberTakenByAnotherCopyIsNotOverwritten();
    void arrowsStepThroughTheSetAndEndSilently();
    void aListChoiceDoesNotMoveTheSet();
    void deletingAsksAndReachesTheCascade();
    void cancelAndTheCategoriesSaveShowTheFirstEntryAgain();
    void theMenuOpensTheWindowsAndTheirButtonsCloseThem();

    void aChildListShowsItsParentsEntriesAndOneNameMayServeTwoParents();
    void aSaveNeverMovesAnEntryTheMoveButtonDoesAfterItsQuestion();
    void closingOrChoosingAParentWithUnsavedChangesAsks();
    void choosingAParentTurnsTheListAndArrowsToIt();
    void deletingAChildShowsTheFirstRemainingOne();
    void aMissingParentTakesNoEntries();
};

void ReferenceWindowsTest::newOnAnEmptyTableShowsOneAndTheSaveFillsTheListAfterTheShake() {
    ReferenceWindow *w = openReference("frmDistrict");
    QVERIFY(w);
    QCOMPARE(w->pos(), QPoint(0, 0));
    QVERIFY(number(w).isEmpty() && w->nameBox->text().isEmpty() && w->list->count() == 0);
    w->cmdnew->click();
    QCOMPARE(number(w), QStringLiteral("1"));
    QCOMPARE(w->focusWidget(), static_cast<QWidget *>(w->nameBox));
    typeKeys(w->nameBox, "kOlAra");
    QCOMPARE(w->nameBox->text(), Typed::kOlAra());
    w->Cmdsave->click();
    // Written at once with its sort key; the list shows it only once the window has shaken.
    QCOMPARE(nameOf(RefTable::District, 1), Typed::kOlAra());
    QCOMPARE(TestDatabase::scalar("SELECT sortcol FROM district").toString(), ModDeclare::SortKey(Typed::kOlAra()));
    QCOMPARE(w->list->count(), 0);
    QTRY_VERIFY(w->pos() != QPoint(0, 0));
    QCOMPARE(waitForSaved(answerer_, w), 1);
    QVERIFY(answerer_->messages.isEmpty());
    QCOMPARE(w->pos(), QPoint(0, 0));
    QCOMPARE(itemTexts(w->list), QStringList{Typed::kOlAra()});
    QCOMPARE(w->list->itemNumber(0), 1);
    QCOMPARE(w->focusWidget(), static_cast<QWidget *>(w->cmdnew));
}

void ReferenceWindowsTest::badInputGivesEachWindowsMessage_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("table");
    QTest::addColumn<QString>("nameMessage");
    QTest::newRow("districts") << "frmDistrict" << int(RefTable::District) << Caption::districtMessage();
    QTest::newRow("categories") << "FrmPrakara" << int(RefTable::Prakara) << Caption::prakaraMessage();
    QTest::newRow("relations") << "FrmRelation" << int(RefTable::Relation) << Caption::relationMessage();
}

void ReferenceWindowsTest::badInputGivesEachWindowsMessage() {
    QFETCH(QString, window);
    QFETCH(int, table);
    QFETCH(QString, nameMessage);
    const RefTable t = RefTable(table);
    QVERIFY(seed(t, 1, Typed::tumakUru()));
    QVERIFY(seed(t, 2, G("a'b")));  // a quote is just a character of a name
    ReferenceWindow *w = openReference(qPrintable(window));
    QVERIFY(w);
    auto saveAndExpect = [&](const QString &message) {
        answerer_->forget();
        w->Cmdsave->click();
        QCOMPARE(answerer_->messages, QStringList{message});
    };
    // A number box without a number, or with one that is no entry's number.
    for (const char *junk : {"", "x1", "0", "-3", "3000000000"}) {
        w->Txtno->setText(QString::fromLatin1(junk));
        w->nameBox->setText(Typed::bIdara());
        saveAndExpect(Caption::allInformation());
        // A name without a number is stored nowhere: there is nothing to delete or ask about.
        w->CmdDelete->click();
        QVERIFY(answerer_->questions.isEmpty());
    }
    // A name of blanks only.
    w->cmdnew->click();
    typeKeys(w->nameBox, "   ");
    saveAndExpect(nameMessage);
    // A name stored already, its own blanks aside: refused, and the box emptied.
    clickItem(w, G("a'b"));
    QCOMPARE(number(w), QStringLiteral("2"));
    saveAndExpect(Caption::alreadyExists());
    QVERIFY(w->nameBox->text().isEmpty());
    QCOMPARE(w->focusWidget(), static_cast<QWidget *>(w->nameBox));
    w->cmdnew->click();
    typeKeys(w->nameBox, " tumakUru ");
    saveAndExpect(Caption::alreadyExists());
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM ") + QLatin1String(refTableInfo(t).table)), 2);
    QVERIFY(!w->Timer1->isActive());
}

void ReferenceWindowsTest::aSaveDuringTheShakeConfirmsOnce() {
    ReferenceWindow *w = openReference("FrmRelation");
    QVERIFY(w);
    w->cmdnew->click();
    typeKeys(w->nameBox, "akfka");
    w->Cmdsave->click();
    QTRY_VERIFY(w->shakeCounter() >= 4);
    const int reached = w->shakeCounter();
    w->cmdnew->click();
    QCOMPARE(number(w), QStringLiteral("2"));
    typeKeys(w->nameBox, "tamfma");
    w->Cmdsave->click();
    QVERIFY(w->shakeCounter() >= reached);  // the running shake goes on
    QCOMPARE(waitForSaved(answerer_, w), 1);
    QCOMPARE(w->pos(), QPoint(0, 0));
    QCOMPARE(count("SELECT count(*) FROM addrelation"), 2);
    QCOMPARE(w->list->count(), 2);
}

// Another copy of the program saves a district under the number this window handed out: the
// window's save takes the next free number and says so.
void ReferenceWindowsTest::aNumberTakenByAnotherCopyIsNotOverwritten() {
    ReferenceWindow *w = openReference("frmDistrict");
    QVERIFY(w);
    w->cmdnew->click();
    typeKeys(w->nameBox, "beLagAvi");
    QVERIFY(seed(RefTable::District, 1, Typed::bIdara()));
    w->Cmdsave->click();
    QCOMPARE(answerer_->messages, QStringList{Caption::numberTaken() + QStringLiteral("2")});
    QCOMPARE(number(w), QStringLiteral("2"));
    QCOMPARE(nameOf(RefTable::District, 1), Typed::bIdara());
    QCOMPARE(nameOf(RefTable::District, 2), Typed::beLagAvi());
    QCOMPARE(waitForSaved(answerer_, w), 1);
    // Saved once, the entry is the window's: a second save renames it by its number.
    w->nameBox->setText(Typed::mYsUru());
    answerer_->forget();
    w->Cmdsave->click();
    QCOMPARE(nameOf(RefTable::District, 2), Typed::mYsUru());
    QCOMPARE(count("SELECT count(*) FROM district"), 2);
    QCOMPARE(waitForSaved(answerer_, w), 1);
    QVERIFY(answerer_->messages.isEmpty());
}

void ReferenceWindowsTest::arrowsStepThroughTheSetAndEndSilently() {
    QVERIFY(seed(RefTable::Prakara, 1, Typed::mYsUru()) && seed(RefTable::Prakara, 2, Typed::kOlAra()) &&
            seed(RefTable::Prakara, 3, Typed::tumakUru()));
    ReferenceWindow *w = openReference("FrmPrakara");
    QVERIFY(w);
    // Kannada order: kOlAra, tumakUru, mYsUru.
    QCOMPARE(w->navigationSet(), (QVector<int>{2, 3, 1}));
    QCOMPARE(w->list->text(), Typed::kOlAra());
    QStringList seen;
    auto press = [&](QPushButton *arrow) {
        arrow->click();
        seen << number(w);
    };
    press(w->cmdmn);
    QCOMPARE(w->list->text(), Typed::tumakUru());
    // Past the last entry the boxes stay on it, and Last does nothing either; Previous comes
    // back from there; before the first nothing moves.
    for (QPushButton *arrow : {w->cmdml, w->cmdmn, w->cmdmn, w->cmdml, w->cmdmp, w->cmdmp, w->cmdmp, w->cmdmp,
                               w->cmdmp, w->cmdmn, w->cmdml, w->cmdmf})
        press(arrow);
    QCOMPARE(seen, (QStringList{"3", "1", "1", "1", "1", "1", "3", "2", "2", "2", "2", "1", "2"}));
    QCOMPARE(w->list->text(), Typed::kOlAra());
    // An entry deleted by another window since the set was opened cannot be read: the arrow
    // stops there and leaves the boxes as they were.
    QVERIFY(ModDeclare::Data().remove(RefTable::Prakara, 3));
    seen.clear();
    press(w->cmdmn);
    press(w->cmdmn);
    QCOMPARE(seen, (QStringList{"2", "1"}));
    QVERIFY(answerer_->messages.isEmpty());
}

void ReferenceWindowsTest::aListChoiceDoesNotMoveTheSet() {
    QVERIFY(seed(RefTable::District, 1, Typed::kOlAra()) && seed(RefTable::District, 2, Typed::tumakUru()) &&
            seed(RefTable::District, 3, Typed::mYsUru()));
    ReferenceWindow *w = openReference("frmDistrict");
    QVERIFY(w);
    clickItem(w, Typed::mYsUru());
    QCOMPARE(number(w), QStringLiteral("3"));
    QCOMPARE(w->navigationPosition(), 0);
    // Next goes on from the set's first row, not from the chosen one.
    w->cmdmn->click();
    QCOMPARE(number(w), QStringLiteral("2"));
    // The keyboard chooses too.
    w->list->setFocus();
    QTest::keyClick(w->list, Qt::Key_Up);
    QCOMPARE(number(w), QStringLiteral("1"));
    QCOMPARE(w->nameBox->text(), Typed::kOlAra());
}

void ReferenceWindowsTest::deletingAsksAndReachesTheCascade() {
    QVERIFY(seedDistricts());
    QVERIFY(seed(RefTable::Prakara, 1, Typed::kOlAra()) && seed(RefTable::Upaprakara, 10, Typed::bIdara(), 1) &&
            seed(RefTable::Relation, 4, Typed::tumakUru()));
    QVERIFY(insertAddress(makeAddress(1, "n1", 4, 1, 10, 1, 10)));
    QVERIFY(insertAddress(makeAddress(2, "n2", 4, 2, 20, 1, 10)));
    ReferenceWindow *w = openReference("frmDistrict");
    QVERIFY(w);
    answerer_->answerNextQuestion(false);
    w->CmdDelete->click();  // no keeps everything
    // The warning names the district, its taluks that go with it and the addresses that keep
    // their data but lose it.
    QCOMPARE(answerer_->questions, QStringList{Caption::districtWarning().arg(Typed::kOlAra(), "1", "2")});
    QCOMPARE(count("SELECT count(*) FROM district"), 2);
    answerer_->answerNextQuestion(true);
    w->CmdDelete->click();
    QCOMPARE(nameOf(RefTable::District, 1), QStringLiteral("<none>"));
    QCOMPARE(count("SELECT count(*) FROM taluk"), 1);
    QCOMPARE(addressLinks(1), (QList<int>{4, 0, 0, 1, 10}));
    QCOMPARE(addressLinks(2), (QList<int>{4, 2, 20, 1, 10}));
    // The first district left shows, and the list holds what is left.
    QCOMPARE(number(w), QStringLiteral("2"));
    QCOMPARE(itemTexts(w->list), QStringList{Typed::mYsUru()});
    // Each window asks with its own warning and deletes its own entry.
    const struct {
        const char *window;
        QString warning;
        QList<int> links;
    } others[] = {{"Frmtaluk", Caption::talukWarning().arg(Typed::tumakUru(), "1"), {4, 2, 0, 1, 10}},
                  {"FrmUpaprakara", Caption::upaprakaraWarning().arg(Typed::bIdara(), "2"), {4, 2, 0, 1, 0}},
                  {"FrmPrakara", Caption::prakaraWarning().arg(Typed::kOlAra(), "2", "0"), {4, 2, 0, 0, 0}},
                  {"FrmRelation", Caption::relationWarning().arg(Typed::tumakUru(), "2"), {0, 2, 0, 0, 0}}};
    for (const auto &o : others) {
        ReferenceWindow *r = openReference(o.window);
        QVERIFY(r);
        answerer_->answerNextQuestion(true);
        r->CmdDelete->click();
        QCOMPARE(answerer_->questions.last(), o.warning);
        QCOMPARE(addressLinks(2), o.links);
        QVERIFY(number(r).isEmpty() && r->list->count() == 0);
    }
}

void ReferenceWindowsTest::cancelAndTheCategoriesSaveShowTheFirstEntryAgain() {
    QVERIFY(seed(RefTable::District, 1, Typed::kOlAra()) && seed(RefTable::Prakara, 1, Typed::kOlAra()));
    ReferenceWindow *w = openReference("frmDistrict");
    QVERIFY(w);
    w->cmdnew->click();
    typeKeys(w->nameBox, "bIdara");
    w->cmdcancel->click();
    QCOMPARE(w->nameBox->text(), Typed::kOlAra());
    QCOMPARE(w->focusWidget(), static_cast<QWidget *>(w->cmdnew));
    QCOMPARE(count("SELECT count(*) FROM district"), 1);
    // A district saved after the set was opened is reached only after Cancel or First.
    QVERIFY(seed(RefTable::District, 2, Typed::mYsUru()));
    w->cmdmn->click();
    QCOMPARE(number(w), QStringLiteral("1"));
    w->cmdcancel->click();
    w->cmdmn->click();
    QCOMPARE(number(w), QStringLiteral("2"));

    // The categories window reopens its set after a save: the arrows reach the new entry.
    ReferenceWindow *p = openReference("FrmPrakara");
    QVERIFY(p);
    p->cmdnew->click();
    typeKeys(p->nameBox, "bIdara");
    p->Cmdsave->click();
    QCOMPARE(number(p), QStringLiteral("1"));
    QCOMPARE(p->navigationSet(), (QVector<int>{1, 2}));
    QCOMPARE(waitForSaved(answerer_, p), 1);
}

void ReferenceWindowsTest::theMenuOpensTheWindowsAndTheirButtonsCloseThem() {
    QVERIFY(seed(RefTable::District, 1, Typed::kOlAra()));
    frmmain main;
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    const struct {
        const char *entry, *window;
    } entries[] = {{"lnew", "frmDistrict"}, {"lopen", "Frmtaluk"}, {"lprk", "FrmPrakara"},
                   {"luprk", "FrmUpaprakara"}, {"lexit", "FrmRelation"}};
    QList<QPointer<QWidget>> opened;
    for (const auto &e : entries) {
        emit main.l[5]->mousePressed();
        QVERIFY(main.menu(5));
        QTest::mouseClick(main.menu(5)->findChild<MenuLabel *>(e.entry), Qt::LeftButton);
        QWidget *w = nullptr;
        for (QWidget *t : QApplication::topLevelWidgets())
            if (t->objectName() == QLatin1String(e.window) && t->isVisible()) w = t;
        QVERIFY2(qobject_cast<ReferenceWindow *>(w), e.window);
        QCOMPARE(w->windowModality(), Qt::NonModal);
        opened << w;
    }
    QCOMPARE(qobject_cast<ReferenceWindow *>(opened.first().data())->nameBox->text(), Typed::kOlAra());
    // Each close button unloads the window.
    for (int button = 0; button < 2; ++button) {
        QPointer<ReferenceWindow> w = qobject_cast<ReferenceWindow *>(main.showWindow("FrmRelation"));
        (button ? w->Command4 : static_cast<QPushButton *>(w->cmdexit))->click();
        QTRY_VERIFY(w.isNull());
    }
}

// ---- The windows with a parent list ----------------------------------------------------------

void ReferenceWindowsTest::aChildListShowsItsParentsEntriesAndOneNameMayServeTwoParents() {
    QVERIFY(seedDistricts());
    auto *w = static_cast<TwoLevelWindow *>(openReference("Frmtaluk"));
    QVERIFY(w);
    QCOMPARE(w->parentList->text(), Typed::kOlAra());
    QCOMPARE(w->currentParent(), 1);
    // Kannada order within the district: bIdara before hAsana.
    QCOMPARE(itemTexts(w->list), (QStringList{Typed::bIdara(), Typed::hAsana()}));
    QCOMPARE(number(w), QStringLiteral("10"));
    // bIdara under the other district too: numbered over all districts.
    chooseParent(w, Typed::mYsUru());
    w->cmdnew->click();
    QCOMPARE(number(w), QStringLiteral("21"));
    typeKeys(w->nameBox, "bIdara");
    w->Cmdsave->click();
    QCOMPARE(waitForSaved(answerer_, w), 1);
    QCOMPARE(count("SELECT districtno FROM taluk WHERE Talukno = 21"), 2);
    QCOMPARE(itemTexts(w->list), (QStringList{Typed::tumakUru(), Typed::bIdara()}));
    // Twice under one district is refused.
    w->cmdnew->click();
    typeKeys(w->nameBox, "bIdara");
    w->Cmdsave->click();
    QCOMPARE(answerer_->messages, QStringList{Caption::alreadyExists()});
    QCOMPARE(count("SELECT count(*) FROM taluk"), 4);
    // Cancel keeps the chosen district: the parent list, the list and the boxes agree.
    w->cmdcancel->click();
    QCOMPARE(w->parentList->text(), Typed::mYsUru());
    QCOMPARE(number(w), QStringLiteral("20"));
    QCOMPARE(w->list->text(), Typed::tumakUru());
}

void ReferenceWindowsTest::aSaveNeverMovesAnEntryTheMoveButtonDoesAfterItsQuestion() {
    QVERIFY(seedDistricts() && seed(RefTable::Taluk, 21, Typed::bIdara(), 2));
    QVERIFY(insertAddress(makeAddress(1, "n1", 0, 1, 11, 0, 0)));
    QVERIFY(insertAddress(makeAddress(2, "n2", 0, 1, 10, 0, 0)));
    auto *w = static_cast<TwoLevelWindow *>(openReference("Frmtaluk"));
    QVERIFY(w);
    clickItem(w, Typed::hAsana());
    QVERIFY(pickItem(w->CmbMoveTo, Typed::mYsUru()));
    // The question names the taluk, both districts and the addresses that move; no moves nothing.
    w->cmdmove->click();
    QCOMPARE(answerer_->questions,
             QStringList{Caption::talukMoveQuestion().arg(Typed::hAsana(), Typed::kOlAra(), Typed::mYsUru(), "1")});
    QCOMPARE(count("SELECT districtno FROM taluk WHERE Talukno = 11"), 1);
    answerer_->answerNextQuestion(true);
    w->cmdmove->click();
    QCOMPARE(count("SELECT districtno FROM taluk WHERE Talukno = 11"), 2);
    QCOMPARE(addressLinks(1), (QList<int>{0, 2, 11, 0, 0}));
    QCOMPARE(addressLinks(2), (QList<int>{0, 1, 10, 0, 0}));
    // The window follows the taluk to its district.
    QCOMPARE(w->parentList->text(), Typed::mYsUru());
    QCOMPARE(number(w), QStringLiteral("11"));
    QCOMPARE(itemTexts(w->list), inSortOrder({Typed::tumakUru(), Typed::bIdara(), Typed::hAsana()}));
    // A district that has a taluk of that name already takes no second one.
    chooseParent(w, Typed::kOlAra());
    QVERIFY(pickItem(w->CmbMoveTo, Typed::mYsUru()));
    answerer_->answerNextQuestion(true);
    w->cmdmove->click();
    QCOMPARE(answerer_->messages, QStringList{Caption::alreadyExists()});
    QCOMPARE(count("SELECT districtno FROM taluk WHERE Talukno = 10"), 1);
}

void ReferenceWindowsTest::choosingAParentTurnsTheListAndArrowsToIt() {
    QVERIFY(seedDistricts() && seed(RefTable::Taluk, 21, Typed::beLagAvi(), 2));
    auto *w = static_cast<TwoLevelWindow *>(openReference("Frmtaluk"));
    QVERIFY(w);
    // The keyboard's arrow keys choose too.
    w->parentList->setFocus();
    QTest::keyClick(w->parentList, Qt::Key_Down);
    QCOMPARE(w->currentParent(), 2);
    QCOMPARE(itemTexts(w->list), (QStringList{Typed::tumakUru(), Typed::beLagAvi()}));
    // The boxes show the chosen district's first taluk; the arrows work on its taluks.
    QCOMPARE(number(w), QStringLiteral("20"));
    QStringList seen;
    for (QPushButton *arrow : {w->cmdmn, w->cmdml, w->cmdmf}) {
        arrow->click();
        seen << number(w);
    }
    QCOMPARE(seen, (QStringList{"21", "21", "20"}));
    QCOMPARE(w->list->text(), Typed::tumakUru());
}

// Typing not saved goes only once the question is answered: stay keeps it (and the parent),
// save saves it, leaving it lets it go.
void ReferenceWindowsTest::closingOrChoosingAParentWithUnsavedChangesAsks() {
    QVERIFY(seedDistricts());
    QPointer<ReferenceWindow> w = openReference("Frmtaluk");
    QVERIFY(w);
    auto *taluks = static_cast<TwoLevelWindow *>(w.data());
    w->cmdnew->click();
    typeKeys(w->nameBox, "beLagAvi");
    answerer_->answerNextSaveQuestion(SaveQuestion::Choice::Stay);
    taluks->parentList->setFocus();
    QTest::keyClick(taluks->parentList, Qt::Key_Down);
    QCOMPARE(answerer_->saveQuestions, QStringList{Caption::unsavedQuestion()});
    QCOMPARE(taluks->currentParent(), 1);
    QCOMPARE(taluks->parentList->text(), Typed::kOlAra());
    QCOMPARE(w->nameBox->text(), Typed::beLagAvi());
    answerer_->answerNextSaveQuestion(SaveQuestion::Choice::Stay);
    w->cmdexit->click();
    QVERIFY(w && w->isVisible());
    answerer_->answerNextSaveQuestion(SaveQuestion::Choice::Save);
    w->Command4->click();
    QTRY_VERIFY(w.isNull());
    QCOMPARE(nameOf(RefTable::Taluk, 21), Typed::beLagAvi());
    QCOMPARE(count("SELECT districtno FROM taluk WHERE Talukno = 21"), 1);
    // Unchanged, a window closes without a question.
    w = openReference("frmDistrict");
    QVERIFY(w);
    w->cmdmn->click();
    w->cmdexit->click();
    QTRY_VERIFY(w.isNull());
    QCOMPARE(answerer_->saveQuestions.size(), 3);
}

void ReferenceWindowsTest::deletingAChildShowsTheFirstRemainingOne() {
    QVERIFY(seed(RefTable::Prakara, 1, Typed::kOlAra()) && seed(RefTable::Upaprakara, 5, Typed::mYsUru(), 1) &&
            seed(RefTable::Upaprakara, 6, Typed::bIdara(), 1) && seed(RefTable::Upaprakara, 7, Typed::tumakUru(), 1));
    ReferenceWindow *w = openReference("FrmUpaprakara");
    QVERIFY(w);
    // In Kannada order: tumakUru, bIdara, mYsUru.
    w->cmdmn->click();
    QCOMPARE(number(w), QStringLiteral("6"));
    // The deleted entry does not linger in the boxes, where Save would bring it back.
    answerer_->answerNextQuestion(true);
    w->CmdDelete->click();
    QCOMPARE(nameOf(RefTable::Upaprakara, 6), QStringLiteral("<none>"));
    QCOMPARE(number(w), QStringLiteral("7"));
    QCOMPARE(itemTexts(w->list), (QStringList{Typed::tumakUru(), Typed::mYsUru()}));
    for (int i = 0; i < 2; ++i) {
        answerer_->answerNextQuestion(true);
        w->CmdDelete->click();
    }
    QVERIFY(number(w).isEmpty() && w->nameBox->text().isEmpty());
    w->Cmdsave->click();
    QCOMPARE(answerer_->messages, QStringList{Caption::allInformation()});
    QCOMPARE(count("SELECT count(*) FROM upaprakara"), 0);
}

void ReferenceWindowsTest::aMissingParentTakesNoEntries() {
    // No category at all: nothing shows, and Save asks for one.
    ReferenceWindow *w = openReference("FrmUpaprakara");
    QVERIFY(w);
    QCOMPARE(w->list->count(), 0);
    w->cmdnew->click();
    typeKeys(w->nameBox, "bIdara");
    w->Cmdsave->click();
    QCOMPARE(answerer_->messages, QStringList{Caption::upaprakaraParentMessage()});
    // A district deleted in its own window while this one still lists it.
    QVERIFY(seedDistricts());
    ReferenceWindow *t = openReference("Frmtaluk");
    QVERIFY(t);
    QVERIFY(ModDeclare::Data().remove(RefTable::District, 1));
    t->cmdnew->click();
    typeKeys(t->nameBox, "beLagAvi");
    t->Cmdsave->click();
    QCOMPARE(answerer_->messages.last(), Caption::districtMessage());
    // With a parent, a blank name gives the window's name message.
    chooseParent(t, Typed::mYsUru());
    t->cmdnew->click();
    typeKeys(t->nameBox, "  ");
    t->Cmdsave->click();
    QCOMPARE(answerer_->messages.last(), Caption::talukMessage());
    QCOMPARE(count("SELECT count(*) FROM upaprakara") + count("SELECT count(*) FROM taluk"), 1);
    QVERIFY(!t->Timer1->isActive());
}

QTEST_MAIN(ReferenceWindowsTest)
#include "reference_windows_test.moc"
