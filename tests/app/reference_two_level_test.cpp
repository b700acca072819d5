// The two-level reference windows (taluks within districts, sub-categories within categories)
// driven as a person would, with the database read back after each step.
#include <QComboBox>
#include <QPointer>

#include "taluk_window.h"
#include "subcategory_window.h"
#include "shared_module.h"
#include "reference_captions.h"
#include "reference_test_support.h"

class TwoLevelWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void theFirstParentsEntriesShowAtOpening();
    void oneNameMayServeTwoParentsButNotOneTwice();
    void movingATalukMovesItsAddresses();
    void savingASubCategoryCarriesItsAddressesToItsCategory();
    void typingIntoTheParentListChangesNothing();
    void choosingAParentTurnsTheListAndArrowsToIt();
    void cancelKeepsTheChosenParent();
    void deletingATalukKeepsTheDistrictOfItsAddresses();
    void deletingASubCategoryShowsTheFirstRemainingOne();
    void subCategoryArrowsStepThroughAKeptSet();
    void withoutParentsNothingShowsAndSaveAsksForOne();
    void aParentDeletedMeanwhileTakesNoEntries();

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
    // Chooses a parent as the user does: the list's popup, then a click on the item.
    void chooseParent(TwoLevelWindow *w, const QString &glyphs) {
        GlyphComboBox *c = w->parentList;
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
    // Districts 1 kOlAra and 2 mYsUru; taluks 10 bIdara and 11 hAsana in the first, 20 tumakUru
    // in the second.
    void seedDistricts() {
        seed(RefTable::District, 1, Typed::kOlAra());
        seed(RefTable::District, 2, Typed::mYsUru());
        seed(RefTable::Taluk, 10, Typed::bIdara(), 1);
        seed(RefTable::Taluk, 11, Typed::hAsana(), 1);
        seed(RefTable::Taluk, 20, Typed::tumakUru(), 2);
    }

    TypingSession *typing_ = nullptr;
    TestDatabase *db_ = nullptr;
    DialogAnswerer *answerer_ = nullptr;
    QPointer<QWidget> window_;
};

void TwoLevelWindowsTest::initTestCase() {
    typing_ = new TypingSession;
    QVERIFY2(typing_->running(), "the keyboard engine did not start");
}

void TwoLevelWindowsTest::cleanupTestCase() { delete typing_; }

void TwoLevelWindowsTest::init() {
    db_ = new TestDatabase;
    QVERIFY2(db_->opened(), qPrintable(db_->error()));
    answerer_ = new DialogAnswerer;
    typing_->kannada(true);
}

void TwoLevelWindowsTest::cleanup() {
    delete window_;
    QVERIFY2(answerer_->failures.isEmpty(), qPrintable(answerer_->failures.join('\n')));
    delete answerer_;
    delete db_;
}

void TwoLevelWindowsTest::theFirstParentsEntriesShowAtOpening() {
    seedDistricts();
    Frmtaluk *w = open<Frmtaluk>();
    QVERIFY(w);
    QCOMPARE(w->pos(), QPoint(0, 0));
    QCOMPARE(w->parentList->objectName(), QStringLiteral("CmbDistrict"));
    QCOMPARE(w->parentList->count(), 2);
    QCOMPARE(w->parentList->text(), Typed::kOlAra());
    QCOMPARE(w->currentParent(), 1);
    // Kannada order within the district: bIdara before hAsana.
    QCOMPARE(listTexts(w), (QStringList{Typed::bIdara(), Typed::hAsana()}));
    QCOMPARE(w->Txtno->text(), QStringLiteral("10"));
    QCOMPARE(w->nameBox->text(), Typed::bIdara());
}

void TwoLevelWindowsTest::oneNameMayServeTwoParentsButNotOneTwice() {
    seed(RefTable::District, 1, Typed::kOlAra());
    seed(RefTable::District, 2, Typed::mYsUru());
    Frmtaluk *w = open<Frmtaluk>();
    QVERIFY(w);
    QCOMPARE(w->list->count(), 0);

    w->cmdnew->click();
    QCOMPARE(w->Txtno->text(), QStringLiteral("1"));
    typeKeys(w->nameBox, "bIdara");
    w->Cmdsave->click();
    QCOMPARE(waitForSaved(answerer_, w), 1);

    chooseParent(w, Typed::mYsUru());
    QCOMPARE(w->list->count(), 0);
    w->cmdnew->click();
    QCOMPARE(w->Txtno->text(), QStringLiteral("2"));  // numbered over all districts
    typeKeys(w->nameBox, "bIdara");
    w->Cmdsave->click();
    QCOMPARE(waitForSaved(answerer_, w), 1);
    QCOMPARE(count("SELECT count(*) FROM taluk WHERE talukname = ?", {Typed::bIdara()}), 2);
    QCOMPARE(count("SELECT districtno FROM taluk WHERE Talukno = 1"), 1);
    QCOMPARE(count("SELECT districtno FROM taluk WHERE Talukno = 2"), 2);
    QCOMPARE(listTexts(w), QStringList{Typed::bIdara()});

    // A third under the same district is refused.
    answerer_->forget();
    w->cmdnew->click();
    typeKeys(w->nameBox, "bIdara");
    w->Cmdsave->click();
    QCOMPARE(answerer_->messages, QStringList{Caption::alreadyExists()});
    QVERIFY(w->nameBox->text().isEmpty());
    QCOMPARE(count("SELECT count(*) FROM taluk"), 2);
}

void TwoLevelWindowsTest::movingATalukMovesItsAddresses() {
    seedDistricts();
    QVERIFY(addAddress(1, 0, 1, 11, 0, 0));
    QVERIFY(addAddress(2, 0, 1, 11, 0, 0));
    QVERIFY(addAddress(3, 0, 1, 10, 0, 0));
    Frmtaluk *w = open<Frmtaluk>();
    QVERIFY(w);
    clickItem(w, Typed::hAsana());
    QCOMPARE(w->Txtno->text(), QStringLiteral("11"));

    // Choosing the other district keeps the shown taluk; Save files it there.
    chooseParent(w, Typed::mYsUru());
    QCOMPARE(w->currentParent(), 2);
    QCOMPARE(w->Txtno->text(), QStringLiteral("11"));
    QCOMPARE(listTexts(w), QStringList{Typed::tumakUru()});
    w->Cmdsave->click();
    QCOMPARE(waitForSaved(answerer_, w), 1);
    QCOMPARE(count("SELECT districtno FROM taluk WHERE Talukno = 11"), 2);
    QCOMPARE(nameOf("taluk", "talukname", "Talukno", 11), Typed::hAsana());
    QCOMPARE(addressLinks(1), (QList<int>{0, 2, 11, 0, 0}));
    QCOMPARE(addressLinks(2), (QList<int>{0, 2, 11, 0, 0}));
    QCOMPARE(addressLinks(3), (QList<int>{0, 1, 10, 0, 0}));
    QCOMPARE(listTexts(w), (QStringList{Typed::tumakUru(), Typed::hAsana()}));
}

void TwoLevelWindowsTest::savingASubCategoryCarriesItsAddressesToItsCategory() {
    seed(RefTable::Prakara, 1, Typed::kOlAra());
    seed(RefTable::Prakara, 2, Typed::mYsUru());
    seed(RefTable::Upaprakara, 5, Typed::bIdara(), 1);
    // An address whose category does not match its sub-category's.
    QVERIFY(addAddress(1, 0, 0, 0, 2, 5));
    FrmUpaprakara *w = open<FrmUpaprakara>();
    QVERIFY(w);
    QCOMPARE(w->parentList->objectName(), QStringLiteral("CmbPrakara"));
    QCOMPARE(w->Txtno->text(), QStringLiteral("5"));
    // Renamed under its own category: the addresses follow it there.
    w->nameBox->setText(QString());
    typeKeys(w->nameBox, "beLagAvi");
    w->Cmdsave->click();
    QCOMPARE(nameOf("upaprakara", "upaprakaraname", "UpaPrakaraNo", 5), Typed::beLagAvi());
    QCOMPARE(addressLinks(1), (QList<int>{0, 0, 0, 1, 5}));
    QCOMPARE(waitForSaved(answerer_, w), 1);

    chooseParent(w, Typed::mYsUru());
    QCOMPARE(w->Txtno->text(), QStringLiteral("5"));
    w->Cmdsave->click();
    QCOMPARE(count("SELECT PrakaraNo FROM upaprakara WHERE UpaPrakaraNo = 5"), 2);
    QCOMPARE(addressLinks(1), (QList<int>{0, 0, 0, 2, 5}));
    QCOMPARE(waitForSaved(answerer_, w), 1);
}

void TwoLevelWindowsTest::typingIntoTheParentListChangesNothing() {
    seedDistricts();
    Frmtaluk *w = open<Frmtaluk>();
    QVERIFY(w);
    const QStringList shown = listTexts(w);
    w->parentList->setFocus();
    QTRY_VERIFY(w->parentList->hasFocus());
    for (bool kannada : {true, false}) {
        typing_->kannada(kannada);
        QTest::keyClicks(w->parentList, "mYsUru");
        QTest::keyClick(w->parentList, Qt::Key_Backspace);
        QTest::keyClick(w->parentList, Qt::Key_Delete);
        QCOMPARE(w->parentList->text(), Typed::kOlAra());
        QCOMPARE(w->parentList->currentIndex(), 0);
        QCOMPARE(w->parentList->lineEdit()->text(), GlyphText::toDisplay(Typed::kOlAra()));
        QCOMPARE(w->currentParent(), 1);
        QCOMPARE(listTexts(w), shown);
        QCOMPARE(w->Txtno->text(), QStringLiteral("10"));
    }
    QCOMPARE(w->parentList->count(), 2);
}

void TwoLevelWindowsTest::choosingAParentTurnsTheListAndArrowsToIt() {
    seedDistricts();
    seed(RefTable::Taluk, 21, Typed::beLagAvi(), 2);
    Frmtaluk *w = open<Frmtaluk>();
    QVERIFY(w);
    // The keyboard's arrow keys choose too.
    w->parentList->setFocus();
    QTest::keyClick(w->parentList, Qt::Key_Down);
    QCOMPARE(w->currentParent(), 2);
    QCOMPARE(listTexts(w), (QStringList{Typed::tumakUru(), Typed::beLagAvi()}));
    // The boxes keep the taluk they showed; the arrows work on the chosen district's taluks.
    QCOMPARE(w->Txtno->text(), QStringLiteral("10"));
    w->cmdmn->click();
    QCOMPARE(w->Txtno->text(), QStringLiteral("20"));
    QCOMPARE(w->list->text(), Typed::tumakUru());
    w->cmdml->click();
    QCOMPARE(w->Txtno->text(), QStringLiteral("21"));
    w->cmdmf->click();
    QCOMPARE(w->Txtno->text(), QStringLiteral("20"));
    QCOMPARE(w->list->text(), Typed::tumakUru());

    // With the boxes empty, choosing a district shows its first taluk.
    w->cmdnew->click();
    w->Txtno->clear();
    chooseParent(w, Typed::kOlAra());
    QCOMPARE(w->Txtno->text(), QStringLiteral("10"));
    QCOMPARE(w->nameBox->text(), Typed::bIdara());
}

void TwoLevelWindowsTest::cancelKeepsTheChosenParent() {
    seedDistricts();
    Frmtaluk *w = open<Frmtaluk>();
    QVERIFY(w);
    chooseParent(w, Typed::mYsUru());
    w->cmdnew->click();
    typeKeys(w->nameBox, "beLagAvi");
    w->cmdcancel->click();
    // The parent list, the list and the boxes all speak of the chosen district.
    QCOMPARE(w->parentList->text(), Typed::mYsUru());
    QCOMPARE(w->currentParent(), 2);
    QCOMPARE(w->Txtno->text(), QStringLiteral("20"));
    QCOMPARE(w->nameBox->text(), Typed::tumakUru());
    QCOMPARE(w->list->text(), Typed::tumakUru());
    QCOMPARE(listTexts(w), QStringList{Typed::tumakUru()});
    QCOMPARE(w->focusWidget(), static_cast<QWidget *>(w->cmdnew));
    QCOMPARE(count("SELECT count(*) FROM taluk"), 3);
}

void TwoLevelWindowsTest::deletingATalukKeepsTheDistrictOfItsAddresses() {
    seedDistricts();
    QVERIFY(addAddress(1, 0, 1, 10, 0, 0));
    QVERIFY(addAddress(2, 0, 1, 11, 0, 0));
    Frmtaluk *w = open<Frmtaluk>();
    QVERIFY(w);
    QCOMPARE(w->Txtno->text(), QStringLiteral("10"));
    answerer_->answerNextQuestion(true);
    w->CmdDelete->click();
    QCOMPARE(answerer_->questions, QStringList{Caption::talukWarning()});
    QCOMPARE(nameOf("taluk", "talukname", "Talukno", 10), QStringLiteral("<none>"));
    QCOMPARE(addressLinks(1), (QList<int>{0, 1, 0, 0, 0}));
    QCOMPARE(addressLinks(2), (QList<int>{0, 1, 11, 0, 0}));
    QCOMPARE(w->Txtno->text(), QStringLiteral("11"));
    QCOMPARE(w->list->text(), Typed::hAsana());
    QCOMPARE(listTexts(w), QStringList{Typed::hAsana()});
}

void TwoLevelWindowsTest::deletingASubCategoryShowsTheFirstRemainingOne() {
    seed(RefTable::Prakara, 1, Typed::kOlAra());
    seed(RefTable::Upaprakara, 5, Typed::bIdara(), 1);
    seed(RefTable::Upaprakara, 6, Typed::hAsana(), 1);
    QVERIFY(addAddress(1, 0, 0, 0, 1, 5));
    FrmUpaprakara *w = open<FrmUpaprakara>();
    QVERIFY(w);
    answerer_->answerNextQuestion(true);
    w->CmdDelete->click();
    QCOMPARE(answerer_->questions, QStringList{Caption::upaprakaraWarning()});
    QCOMPARE(count("SELECT count(*) FROM upaprakara"), 1);
    QCOMPARE(addressLinks(1), (QList<int>{0, 0, 0, 1, 0}));
    // The deleted entry does not linger in the boxes, where Save would bring it back.
    QCOMPARE(w->Txtno->text(), QStringLiteral("6"));
    QCOMPARE(listTexts(w), QStringList{Typed::hAsana()});
    answerer_->answerNextQuestion(true);
    w->CmdDelete->click();
    QVERIFY(w->Txtno->text().isEmpty() && w->nameBox->text().isEmpty());
    w->Cmdsave->click();
    QCOMPARE(answerer_->messages, QStringList{Caption::allInformation()});
    QCOMPARE(count("SELECT count(*) FROM upaprakara"), 0);
}

void TwoLevelWindowsTest::subCategoryArrowsStepThroughAKeptSet() {
    seed(RefTable::Prakara, 1, Typed::kOlAra());
    seed(RefTable::Upaprakara, 5, Typed::mYsUru(), 1);
    seed(RefTable::Upaprakara, 6, Typed::bIdara(), 1);
    seed(RefTable::Upaprakara, 7, Typed::tumakUru(), 1);
    FrmUpaprakara *w = open<FrmUpaprakara>();
    QVERIFY(w);
    QCOMPARE(w->Txtno->text(), QStringLiteral("7"));  // tumakUru, bIdara, mYsUru
    w->cmdmn->click();
    QCOMPARE(w->Txtno->text(), QStringLiteral("6"));
    w->cmdmn->click();
    QCOMPARE(w->Txtno->text(), QStringLiteral("5"));
    QCOMPARE(w->list->text(), Typed::mYsUru());
    w->cmdmp->click();
    QCOMPARE(w->Txtno->text(), QStringLiteral("6"));
    w->cmdml->click();
    w->cmdmn->click();
    QCOMPARE(w->Txtno->text(), QStringLiteral("5"));
    w->cmdmp->click();
    QCOMPARE(w->Txtno->text(), QStringLiteral("5"));
    w->cmdmp->click();
    QCOMPARE(w->Txtno->text(), QStringLiteral("6"));
}

void TwoLevelWindowsTest::withoutParentsNothingShowsAndSaveAsksForOne() {
    FrmUpaprakara *w = open<FrmUpaprakara>();
    QVERIFY(w);
    QCOMPARE(w->parentList->count(), 0);
    QCOMPARE(w->currentParent(), 0);
    QCOMPARE(w->list->count(), 0);
    w->cmdnew->click();
    QCOMPARE(w->Txtno->text(), QStringLiteral("1"));
    typeKeys(w->nameBox, "bIdara");
    w->Cmdsave->click();
    QCOMPARE(answerer_->messages, QStringList{Caption::upaprakaraParentMessage()});
    QCOMPARE(count("SELECT count(*) FROM upaprakara"), 0);
    // With a parent, a blank name gives the window's name message.
    delete w;
    seed(RefTable::District, 1, Typed::kOlAra());
    Frmtaluk *t = open<Frmtaluk>();
    QVERIFY(t);
    t->cmdnew->click();
    typeKeys(t->nameBox, "  ");
    t->Cmdsave->click();
    QCOMPARE(answerer_->messages.last(), Caption::talukMessage());
    QCOMPARE(count("SELECT count(*) FROM taluk"), 0);
}

void TwoLevelWindowsTest::aParentDeletedMeanwhileTakesNoEntries() {
    seedDistricts();
    Frmtaluk *w = open<Frmtaluk>();
    QVERIFY(w);
    // The district goes in its own window while this one still lists it.
    QVERIFY(ModDeclare::Data().remove(RefTable::District, 1));
    w->cmdnew->click();
    typeKeys(w->nameBox, "beLagAvi");
    w->Cmdsave->click();
    QCOMPARE(answerer_->messages, QStringList{Caption::districtMessage()});
    QCOMPARE(count("SELECT count(*) FROM taluk WHERE districtno = 1"), 0);
    QVERIFY(!w->Timer1->isActive());
}

QTEST_MAIN(TwoLevelWindowsTest)
#include "reference_two_level_test.moc"
