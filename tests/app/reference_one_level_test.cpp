// The one-level reference windows (districts, categories, relations) driven as a person
// would: typing Kannada through the keyboard bridge, pressing the buttons, answering the
// dialogs; each case then reads the database back.
#include <QPointer>
#include <QSqlDatabase>
#include <QSqlError>

#include "district_window.h"
#include "main_window.h"
#include "category_window.h"
#include "relation_window.h"
#include "menu_label.h"
#include "menu_window.h"
#include "shared_module.h"
#include "reference_captions.h"
#include "reference_test_support.h"
#include "twips.h"

class OneLevelWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void newOnAnEmptyTableShowsOneAndTheSaveFillsTheListAfterTheShake();
    void blankOrMissingInputGivesEachWindowsMessage_data();
    void blankOrMissingInputGivesEachWindowsMessage();
    void anUnchangedNameIsRefusedAndEmptied_data();
    void anUnchangedNameIsRefusedAndEmptied();
    void aRenameMovesTheEntryToItsKannadaPlaceAfterTheShake();
    void aSaveDuringTheShakeConfirmsOnce();
    void aNumberTakenByAnotherCopyIsNotOverwritten();
    void numbersPastSixteenBitsAreShownSavedRenamedAndDeleted();
    void arrowsStepThroughTheSetAndEndSilently();
    void aListClickDoesNotMoveTheSet();
    void deletingADistrictResetsItsAddressesAndRemovesItsTaluks();
    void deletingACategoryOrRelationResetsItsAddresses();
    void deleteAsksNothingWithoutANumber();
    void theCategoriesWindowShowsTheFirstEntryAfterASave();
    void cancelShowsTheFirstEntryAgain();
    void theMenuOpensTheWindowsAndAResizeClosesThem();
    void theModalDoorReturnsWhenTheWindowCloses();

private:
    void seed(RefTable t, int number, const QString &name, int parent = 0) {
        QVERIFY(ModDeclare::Data().save(t, number, name, parent, SaveIntent::ByNumber).ok);
    }
    template <class W>
    W *open() {
        auto *w = new W;
        window_ = w;
        if (!showActive(w)) return nullptr;
        return w;
    }

    TypingSession *typing_ = nullptr;
    TestDatabase *db_ = nullptr;
    DialogAnswerer *answerer_ = nullptr;
    QPointer<QWidget> window_;
};

void OneLevelWindowsTest::initTestCase() {
    typing_ = new TypingSession;
    QVERIFY2(typing_->running(), "the keyboard engine did not start");
}

void OneLevelWindowsTest::cleanupTestCase() { delete typing_; }

void OneLevelWindowsTest::init() {
    db_ = new TestDatabase;
    QVERIFY2(db_->opened(), qPrintable(db_->error()));
    answerer_ = new DialogAnswerer;
    typing_->kannada(true);
}

void OneLevelWindowsTest::cleanup() {
    delete window_;
    QVERIFY2(answerer_->failures.isEmpty(), qPrintable(answerer_->failures.join('\n')));
    delete answerer_;
    delete db_;
}

void OneLevelWindowsTest::newOnAnEmptyTableShowsOneAndTheSaveFillsTheListAfterTheShake() {
    frmDistrict *w = open<frmDistrict>();
    QVERIFY(w);
    QCOMPARE(w->pos(), QPoint(0, 0));
    QCOMPARE(w->list->count(), 0);
    QVERIFY(w->Txtno->text().isEmpty() && w->nameBox->text().isEmpty());

    w->cmdnew->click();
    QCOMPARE(w->Txtno->text(), QStringLiteral("1"));
    QCOMPARE(w->focusWidget(), static_cast<QWidget *>(w->nameBox));
    typeKeys(w->nameBox, "kOlAra");
    QCOMPARE(w->nameBox->text(), Typed::kOlAra());
    w->Cmdsave->click();

    // Written at once; the list shows it only once the window has shaken.
    QCOMPARE(nameOf("district", "districtname", "districtno", 1), Typed::kOlAra());
    QCOMPARE(TestDatabase::scalar("SELECT sortcol FROM district WHERE districtno = 1").toString(),
             ModDeclare::SortKey(Typed::kOlAra()));
    QVERIFY(w->Timer1->isActive());
    QCOMPARE(w->list->count(), 0);
    QTRY_VERIFY(w->pos() != QPoint(0, 0));
    QCOMPARE(waitForSaved(answerer_, w), 1);
    QVERIFY(answerer_->messages.isEmpty());
    QCOMPARE(w->pos(), QPoint(0, 0));
    QCOMPARE(w->shakeCounter(), 0);
    QCOMPARE(listTexts(w), QStringList{Typed::kOlAra()});
    QCOMPARE(w->list->itemNumber(0), 1);
    QCOMPARE(w->focusWidget(), static_cast<QWidget *>(w->cmdnew));
}

// Whatever number the data layer holds or hands out, the window works with it.
void OneLevelWindowsTest::numbersPastSixteenBitsAreShownSavedRenamedAndDeleted() {
    seed(RefTable::District, 40000, Typed::kOlAra());
    frmDistrict *w = open<frmDistrict>();
    QVERIFY(w);
    QCOMPARE(w->Txtno->text(), QStringLiteral("40000"));
    w->nameBox->setText(Typed::mYsUru());
    w->Cmdsave->click();
    QCOMPARE(nameOf("district", "districtname", "districtno", 40000), Typed::mYsUru());
    QCOMPARE(waitForSaved(answerer_, w), 1);
    w->cmdnew->click();
    QCOMPARE(w->Txtno->text(), QStringLiteral("40001"));
    w->nameBox->setText(Typed::hAsana());
    w->Cmdsave->click();
    QCOMPARE(nameOf("district", "districtname", "districtno", 40001), Typed::hAsana());
    QCOMPARE(waitForSaved(answerer_, w), 1);
    clickItem(w, Typed::mYsUru());
    answerer_->answerNextQuestion(true);
    w->CmdDelete->click();
    QCOMPARE(nameOf("district", "districtname", "districtno", 40000), QStringLiteral("<none>"));
    QVERIFY(answerer_->messages.isEmpty());
}

void OneLevelWindowsTest::blankOrMissingInputGivesEachWindowsMessage_data() {
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("nameMessage");
    QTest::addColumn<QString>("table");
    QTest::newRow("districts") << QStringLiteral("frmDistrict") << Caption::districtMessage() << "district";
    QTest::newRow("categories") << QStringLiteral("FrmPrakara") << Caption::prakaraMessage() << "prakara";
    QTest::newRow("relations") << QStringLiteral("FrmRelation") << Caption::relationMessage() << "addrelation";
}

void OneLevelWindowsTest::blankOrMissingInputGivesEachWindowsMessage() {
    QFETCH(QString, which);
    QFETCH(QString, nameMessage);
    QFETCH(QString, table);
    auto *w = static_cast<ReferenceWindow *>(WindowRegistry::make(which, nullptr));
    window_ = w;
    QVERIFY(showActive(w));

    // Nothing in the boxes: the number is missing.
    w->Cmdsave->click();
    QCOMPARE(answerer_->messages, QStringList{Caption::allInformation()});
    // A name of blanks only.
    w->cmdnew->click();
    typeKeys(w->nameBox, "   ");
    QCOMPARE(w->nameBox->text(), QStringLiteral("   "));
    w->Cmdsave->click();
    QCOMPARE(answerer_->messages.last(), nameMessage);
    // A number box that holds no reference number.
    for (const char *junk : {"x1", "0", "-3", "3000000000"}) {
        w->Txtno->setText(QString::fromLatin1(junk));
        typeKeys(w->nameBox, "bIdara");
        w->Cmdsave->click();
        QCOMPARE(answerer_->messages.last(), Caption::allInformation());
        w->nameBox->setText(QString());
    }
    QCOMPARE(count("SELECT count(*) FROM " + table), 0);
    QVERIFY(!w->Timer1->isActive());
}

void OneLevelWindowsTest::anUnchangedNameIsRefusedAndEmptied_data() {
    QTest::addColumn<QString>("which");
    QTest::addColumn<int>("table");
    QTest::newRow("districts") << QStringLiteral("frmDistrict") << int(RefTable::District);
    QTest::newRow("categories") << QStringLiteral("FrmPrakara") << int(RefTable::Prakara);
    QTest::newRow("relations") << QStringLiteral("FrmRelation") << int(RefTable::Relation);
}

void OneLevelWindowsTest::anUnchangedNameIsRefusedAndEmptied() {
    QFETCH(QString, which);
    QFETCH(int, table);
    seed(RefTable(table), 1, Typed::tumakUru());
    // A quote is just a character of a name.
    seed(RefTable(table), 2, G("a'b"));
    auto *w = static_cast<ReferenceWindow *>(WindowRegistry::make(which, nullptr));
    window_ = w;
    QVERIFY(showActive(w));
    clickItem(w, G("a'b"));
    QCOMPARE(w->Txtno->text(), QStringLiteral("2"));

    w->Cmdsave->click();
    QCOMPARE(answerer_->messages, QStringList{Caption::alreadyExists()});
    QVERIFY(w->nameBox->text().isEmpty());
    QCOMPARE(w->focusWidget(), static_cast<QWidget *>(w->nameBox));

    // A new entry under a stored name, its own blanks aside, is refused as well.
    w->cmdnew->click();
    typeKeys(w->nameBox, " tumakUru ");
    w->Cmdsave->click();
    QCOMPARE(answerer_->messages.last(), Caption::alreadyExists());
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(refTableInfo(RefTable(table)).table))), 2);
    QVERIFY(!w->Timer1->isActive());
}

void OneLevelWindowsTest::aRenameMovesTheEntryToItsKannadaPlaceAfterTheShake() {
    seed(RefTable::District, 1, Typed::kOlAra());
    seed(RefTable::District, 2, Typed::mYsUru());
    frmDistrict *w = open<frmDistrict>();
    QVERIFY(w);
    QCOMPARE(listTexts(w), (QStringList{Typed::kOlAra(), Typed::mYsUru()}));
    QCOMPARE(w->Txtno->text(), QStringLiteral("1"));
    QCOMPARE(w->list->text(), Typed::kOlAra());

    // Replace the name: Backspaces through the bridge, then the new one.
    w->nameBox->setFocus();
    QTest::keyClick(w->nameBox, Qt::Key_End);
    while (!w->nameBox->text().isEmpty()) QTest::keyClick(w->nameBox, Qt::Key_Backspace);
    typeKeys(w->nameBox, "hAsana");
    QCOMPARE(w->nameBox->text(), Typed::hAsana());
    w->Cmdsave->click();

    QCOMPARE(nameOf("district", "districtname", "districtno", 1), Typed::hAsana());
    QCOMPARE(TestDatabase::scalar("SELECT sortcol FROM district WHERE districtno = 1").toString(),
             ModDeclare::SortKey(Typed::hAsana()));
    QCOMPARE(count("SELECT count(*) FROM district"), 2);
    // Saving leaves the boxes as they are; the list keeps the old order until the shake ends.
    QCOMPARE(w->Txtno->text(), QStringLiteral("1"));
    QCOMPARE(listTexts(w), (QStringList{Typed::kOlAra(), Typed::mYsUru()}));
    QCOMPARE(waitForSaved(answerer_, w), 1);
    QCOMPARE(listTexts(w), (QStringList{Typed::mYsUru(), Typed::hAsana()}));
    QCOMPARE(w->list->itemNumber(1), 1);
    QCOMPARE(w->list->text(), Typed::hAsana());
}

void OneLevelWindowsTest::aSaveDuringTheShakeConfirmsOnce() {
    FrmRelation *w = open<FrmRelation>();
    QVERIFY(w);
    w->cmdnew->click();
    typeKeys(w->nameBox, "akfka");
    w->Cmdsave->click();
    QTRY_VERIFY(w->shakeCounter() >= 4);
    const int reached = w->shakeCounter();
    w->cmdnew->click();
    QCOMPARE(w->Txtno->text(), QStringLiteral("2"));
    typeKeys(w->nameBox, "tamfma");
    w->Cmdsave->click();
    QVERIFY(w->shakeCounter() >= reached);  // the running shake goes on
    QCOMPARE(waitForSaved(answerer_, w), 1);
    QCOMPARE(w->pos(), QPoint(0, 0));
    QCOMPARE(count("SELECT count(*) FROM addrelation"), 2);
    QCOMPARE(w->list->count(), 2);
}

// Another copy of the program, on its own connection to the same file, saves a district under
// the number this window handed out: the window's save takes the next free number and says so.
void OneLevelWindowsTest::aNumberTakenByAnotherCopyIsNotOverwritten() {
    frmDistrict *w = open<frmDistrict>();
    QVERIFY(w);
    w->cmdnew->click();
    QCOMPARE(w->Txtno->text(), QStringLiteral("1"));
    typeKeys(w->nameBox, "beLagAvi");
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other copy"));
        other.setDatabaseName(db_->path());
        QVERIFY(other.open());
        QSqlQuery q(other);
        q.prepare("INSERT INTO district (districtno, districtname, sortcol) VALUES (1, ?, ?)");
        q.addBindValue(Typed::bIdara());
        q.addBindValue(ModDeclare::SortKey(Typed::bIdara()));
        QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other copy"));
    w->Cmdsave->click();

    QCOMPARE(answerer_->messages, QStringList{Caption::numberTaken() + QStringLiteral("2")});
    QCOMPARE(w->Txtno->text(), QStringLiteral("2"));
    QCOMPARE(nameOf("district", "districtname", "districtno", 1), Typed::bIdara());
    QCOMPARE(nameOf("district", "districtname", "districtno", 2), Typed::beLagAvi());
    QCOMPARE(waitForSaved(answerer_, w), 1);
    QCOMPARE(listTexts(w), (QStringList{Typed::bIdara(), Typed::beLagAvi()}));

    // Saved once, the entry is the window's: a second save renames it by its number.
    w->nameBox->setText(QString());
    typeKeys(w->nameBox, "mYsUru");
    answerer_->forget();
    w->Cmdsave->click();
    QVERIFY(answerer_->messages.isEmpty());
    QCOMPARE(nameOf("district", "districtname", "districtno", 2), Typed::mYsUru());
    QCOMPARE(count("SELECT count(*) FROM district"), 2);
    QCOMPARE(waitForSaved(answerer_, w), 1);
}

void OneLevelWindowsTest::arrowsStepThroughTheSetAndEndSilently() {
    seed(RefTable::Prakara, 1, Typed::mYsUru());
    seed(RefTable::Prakara, 2, Typed::kOlAra());
    seed(RefTable::Prakara, 3, Typed::tumakUru());
    FrmPrakara *w = open<FrmPrakara>();
    QVERIFY(w);
    // Kannada order: kOlAra, tumakUru, mYsUru.
    QCOMPARE(w->navigationSet(), (QVector<int>{2, 3, 1}));
    QCOMPARE(w->Txtno->text(), QStringLiteral("2"));
    QCOMPARE(w->list->text(), Typed::kOlAra());

    w->cmdmn->click();
    QCOMPARE(w->nameBox->text(), Typed::tumakUru());
    QCOMPARE(w->list->text(), Typed::tumakUru());
    w->cmdml->click();
    QCOMPARE(w->Txtno->text(), QStringLiteral("1"));
    // Next on the last entry, again and again: the boxes stay on it, nothing is said.
    for (int i = 0; i < 3; ++i) {
        w->cmdmn->click();
        QCOMPARE(w->Txtno->text(), QStringLiteral("1"));
        QCOMPARE(w->nameBox->text(), Typed::mYsUru());
    }
    w->cmdml->click();  // past the end, Last does nothing either
    QCOMPARE(w->Txtno->text(), QStringLiteral("1"));
    w->cmdmp->click();  // back on the last entry
    QCOMPARE(w->Txtno->text(), QStringLiteral("1"));
    w->cmdmp->click();
    QCOMPARE(w->Txtno->text(), QStringLiteral("3"));
    w->cmdmp->click();
    w->cmdmp->click();  // before the first: nothing more
    w->cmdmp->click();
    QCOMPARE(w->Txtno->text(), QStringLiteral("2"));
    w->cmdmn->click();
    QCOMPARE(w->Txtno->text(), QStringLiteral("2"));
    w->cmdml->click();
    w->cmdmf->click();
    QCOMPARE(w->Txtno->text(), QStringLiteral("2"));
    QCOMPARE(w->list->text(), Typed::kOlAra());
    QVERIFY(answerer_->messages.isEmpty());

    // An entry deleted by another window since the set was opened cannot be read: the arrow
    // stops there and leaves the boxes as they were.
    QVERIFY(ModDeclare::Data().remove(RefTable::Prakara, 3));
    w->cmdmn->click();
    QCOMPARE(w->Txtno->text(), QStringLiteral("2"));
    w->cmdmn->click();
    QCOMPARE(w->Txtno->text(), QStringLiteral("1"));
    QVERIFY(answerer_->messages.isEmpty());
}

void OneLevelWindowsTest::aListClickDoesNotMoveTheSet() {
    seed(RefTable::District, 1, Typed::kOlAra());
    seed(RefTable::District, 2, Typed::tumakUru());
    seed(RefTable::District, 3, Typed::mYsUru());
    frmDistrict *w = open<frmDistrict>();
    QVERIFY(w);
    const QRect third = w->list->visualItemRect(w->list->item(2));
    QTest::mouseClick(w->list->viewport(), Qt::LeftButton, {}, third.center());
    QCOMPARE(w->Txtno->text(), QStringLiteral("3"));
    QCOMPARE(w->nameBox->text(), Typed::mYsUru());
    QCOMPARE(w->navigationPosition(), 0);
    // Next goes on from the set's first row, not from the clicked one.
    w->cmdmn->click();
    QCOMPARE(w->Txtno->text(), QStringLiteral("2"));
    QCOMPARE(w->list->text(), Typed::tumakUru());
    // The keyboard chooses too.
    w->list->setFocus();
    QTest::keyClick(w->list, Qt::Key_Up);
    QCOMPARE(w->Txtno->text(), QStringLiteral("1"));
    QCOMPARE(w->nameBox->text(), Typed::kOlAra());
}

void OneLevelWindowsTest::deletingADistrictResetsItsAddressesAndRemovesItsTaluks() {
    seed(RefTable::District, 1, Typed::kOlAra());
    seed(RefTable::District, 2, Typed::mYsUru());
    seed(RefTable::Taluk, 10, Typed::bIdara(), 1);
    seed(RefTable::Taluk, 11, Typed::hAsana(), 1);
    seed(RefTable::Taluk, 20, Typed::tumakUru(), 2);
    QVERIFY(addAddress(1, 5, 1, 10, 7, 8));
    QVERIFY(addAddress(2, 5, 1, 0, 7, 8));
    QVERIFY(addAddress(3, 5, 2, 20, 7, 8));
    frmDistrict *w = open<frmDistrict>();
    QVERIFY(w);
    QCOMPARE(w->Txtno->text(), QStringLiteral("1"));

    // No keeps everything.
    answerer_->answerNextQuestion(false);
    w->CmdDelete->click();
    QCOMPARE(answerer_->questions, QStringList{Caption::districtWarning()});
    QCOMPARE(count("SELECT count(*) FROM district"), 2);
    QCOMPARE(addressLinks(1), (QList<int>{5, 1, 10, 7, 8}));

    answerer_->answerNextQuestion(true);
    w->CmdDelete->click();
    QCOMPARE(answerer_->questions.size(), 2);
    QCOMPARE(nameOf("district", "districtname", "districtno", 1), QStringLiteral("<none>"));
    QCOMPARE(count("SELECT count(*) FROM taluk WHERE districtno = 1"), 0);
    QCOMPARE(count("SELECT count(*) FROM taluk"), 1);
    QCOMPARE(addressLinks(1), (QList<int>{5, 0, 0, 7, 8}));
    QCOMPARE(addressLinks(2), (QList<int>{5, 0, 0, 7, 8}));
    QCOMPARE(addressLinks(3), (QList<int>{5, 2, 20, 7, 8}));
    // The first district shows, the list holds what is left.
    QCOMPARE(w->Txtno->text(), QStringLiteral("2"));
    QCOMPARE(w->nameBox->text(), Typed::mYsUru());
    QCOMPARE(listTexts(w), QStringList{Typed::mYsUru()});
}

void OneLevelWindowsTest::deletingACategoryOrRelationResetsItsAddresses() {
    seed(RefTable::Prakara, 1, Typed::kOlAra());
    seed(RefTable::Upaprakara, 10, Typed::bIdara(), 1);
    seed(RefTable::Upaprakara, 20, Typed::hAsana(), 2);
    seed(RefTable::Relation, 4, Typed::tumakUru());
    QVERIFY(addAddress(1, 4, 3, 30, 1, 10));
    QVERIFY(addAddress(2, 6, 3, 30, 2, 20));

    FrmPrakara *p = open<FrmPrakara>();
    QVERIFY(p);
    answerer_->answerNextQuestion(true);
    p->CmdDelete->click();
    QCOMPARE(answerer_->questions, QStringList{Caption::prakaraWarning()});
    QCOMPARE(count("SELECT count(*) FROM prakara"), 0);
    QCOMPARE(count("SELECT count(*) FROM upaprakara"), 1);
    QCOMPARE(addressLinks(1), (QList<int>{4, 3, 30, 0, 0}));
    QCOMPARE(addressLinks(2), (QList<int>{6, 3, 30, 2, 20}));
    QVERIFY(p->Txtno->text().isEmpty() && p->list->count() == 0);
    delete p;

    FrmRelation *r = open<FrmRelation>();
    QVERIFY(r);
    QCOMPARE(r->Txtno->text(), QStringLiteral("4"));
    answerer_->answerNextQuestion(true);
    r->CmdDelete->click();
    QCOMPARE(answerer_->questions.last(), Caption::relationWarning());
    QCOMPARE(count("SELECT count(*) FROM addrelation"), 0);
    QCOMPARE(addressLinks(1), (QList<int>{0, 3, 30, 0, 0}));
    QCOMPARE(addressLinks(2), (QList<int>{6, 3, 30, 2, 20}));
}

void OneLevelWindowsTest::deleteAsksNothingWithoutANumber() {
    seed(RefTable::District, 1, Typed::kOlAra());
    frmDistrict *w = open<frmDistrict>();
    QVERIFY(w);
    w->Txtno->clear();
    w->nameBox->setText(QString());
    w->CmdDelete->click();
    // A name typed without a number is stored nowhere: there is nothing to delete.
    typeKeys(w->nameBox, "kOlAra");
    w->CmdDelete->click();
    QVERIFY(answerer_->questions.isEmpty());
    QCOMPARE(count("SELECT count(*) FROM district"), 1);
    // A new number not saved yet: the delete changes nothing and shows the first entry.
    w->cmdnew->click();
    answerer_->answerNextQuestion(true);
    w->CmdDelete->click();
    QCOMPARE(answerer_->questions.size(), 1);
    QCOMPARE(count("SELECT count(*) FROM district"), 1);
    QCOMPARE(w->Txtno->text(), QStringLiteral("1"));
}

void OneLevelWindowsTest::theCategoriesWindowShowsTheFirstEntryAfterASave() {
    seed(RefTable::Prakara, 1, Typed::kOlAra());
    FrmPrakara *w = open<FrmPrakara>();
    QVERIFY(w);
    w->cmdnew->click();
    QCOMPARE(w->Txtno->text(), QStringLiteral("2"));
    typeKeys(w->nameBox, "bIdara");
    w->Cmdsave->click();
    // The set is reopened at once: the arrows reach the new entry.
    QCOMPARE(w->Txtno->text(), QStringLiteral("1"));
    QCOMPARE(w->navigationSet(), (QVector<int>{1, 2}));
    w->cmdmn->click();
    QCOMPARE(w->nameBox->text(), Typed::bIdara());
    QCOMPARE(waitForSaved(answerer_, w), 1);
    QCOMPARE(listTexts(w), (QStringList{Typed::kOlAra(), Typed::bIdara()}));
}

void OneLevelWindowsTest::cancelShowsTheFirstEntryAgain() {
    seed(RefTable::District, 1, Typed::kOlAra());
    frmDistrict *w = open<frmDistrict>();
    QVERIFY(w);
    w->cmdnew->click();
    typeKeys(w->nameBox, "bIdara");
    w->cmdcancel->click();
    QCOMPARE(w->Txtno->text(), QStringLiteral("1"));
    QCOMPARE(w->nameBox->text(), Typed::kOlAra());
    QCOMPARE(w->focusWidget(), static_cast<QWidget *>(w->cmdnew));
    QCOMPARE(count("SELECT count(*) FROM district"), 1);
    // A district saved after the set was opened is reached only after Cancel or First.
    seed(RefTable::District, 2, Typed::mYsUru());
    w->cmdmn->click();
    QCOMPARE(w->Txtno->text(), QStringLiteral("1"));
    w->cmdcancel->click();
    w->cmdmn->click();
    QCOMPARE(w->Txtno->text(), QStringLiteral("2"));
}

void OneLevelWindowsTest::theMenuOpensTheWindowsAndAResizeClosesThem() {
    seed(RefTable::District, 1, Typed::kOlAra());
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
        MenuWindow *menu = main.menu(5);
        QVERIFY(menu);
        QTest::mouseClick(menu->findChild<MenuLabel *>(e.entry), Qt::LeftButton);
        QWidget *w = nullptr;
        for (QWidget *t : QApplication::topLevelWidgets())
            if (t->objectName() == QLatin1String(e.window) && t->isVisible()) w = t;
        QVERIFY2(w, e.window);
        QVERIFY(qobject_cast<ReferenceWindow *>(w));
        QCOMPARE(w->pos(), QPoint(0, 0));
        QVERIFY(w->isWindow());
        QCOMPARE(w->windowModality(), Qt::NonModal);
        opened << w;
    }
    auto *district = qobject_cast<ReferenceWindow *>(opened.first().data());
    QCOMPARE(district->nameBox->text(), Typed::kOlAra());
    // The main window is resized: every reference window closes and is gone.
    main.resize(main.size() + QSize(40, 30));
    for (const auto &w : opened) QTRY_VERIFY(w.isNull());

    // Each close button unloads the window.
    QPointer<QWidget> w = main.showWindow("FrmRelation");
    qobject_cast<ReferenceWindow *>(w.data())->cmdexit->click();
    QTRY_VERIFY(w.isNull());
    w = main.showWindow("FrmRelation");
    qobject_cast<ReferenceWindow *>(w.data())->Command4->click();
    QTRY_VERIFY(w.isNull());
}

void OneLevelWindowsTest::theModalDoorReturnsWhenTheWindowCloses() {
    seed(RefTable::District, 1, Typed::kOlAra());
    QWidget owner;
    owner.show();
    QPointer<ReferenceWindow> seen;
    bool modal = false;
    QTimer::singleShot(50, [&] {
        seen = qobject_cast<ReferenceWindow *>(QApplication::activeModalWidget());
        if (!seen) return;
        modal = seen->isModal();
        seen->cmdnew->click();
        seen->nameBox->setText(Typed::bIdara());
        seen->Cmdsave->click();
        QTimer::singleShot(900, seen.data(), [&] { seen->cmdexit->click(); });
    });
    WindowRegistry::openModal(QStringLiteral("frmDistrict"), &owner);
    QVERIFY(modal);
    QVERIFY(seen.isNull());
    QCOMPARE(nameOf("district", "districtname", "districtno", 2), Typed::bIdara());
}

QTEST_MAIN(OneLevelWindowsTest)
#include "reference_one_level_test.moc"
