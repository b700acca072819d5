// The address entry window driven as a person uses it: Kannada typed through the keyboard
// bridge, list entries picked with the keyboard, the dialogs answered; the database checked
// afterwards.
#include <QClipboard>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSignalSpy>
#include <QTabWidget>

#include "address_entry_window.h"
#include "main_window.h"
#include "menu_label.h"
#include "menu_window.h"
#include "pin_code_box.h"
#include "record_captions.h"
#include "records_test_support.h"

using C = AddressColumn;

class AddressEntryTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void aTypedRecordIsSavedWithTheNextNumber();
    void nothingIsWrittenForABlankNameOrANo();
    void theEmailBoxTakesLatinLettersAndKannadaResumes();
    void changeModeLoadsARecordAndKeepsWhatWasEmptied();
    void aRecordDeletedMeanwhileIsNotWrittenAgain();
    void theNextRecordInheritsNothingFromTheLast();
    void tabCyclesWithinThePage();
    void thePinCodeBoxTakesDigitsFullStopsAndSlashes();
    void listsArePickedNotTyped();
    void theSaveShakesTheWindowBackToWhereItWas();
    void theReferenceButtonsBringTheirListsUpToDate();
    void itOpensFromItsMenuAtTheTopLeft();

private:
    FrmAddressEntry *open(bool changeMode, int id = 0);
    // Presses save with the answers the questions will get.
    void save(bool yes, std::optional<bool> another = std::nullopt) {
        dialogs_->answerNextQuestion(yes);
        if (another) dialogs_->answerNextQuestion(*another);
        QTest::mouseClick(w_->Cmdsave, Qt::LeftButton);
    }

    TestDatabase *db_ = nullptr;
    TypingSession *typing_ = nullptr;
    DialogAnswerer *dialogs_ = nullptr;
    FrmAddressEntry *w_ = nullptr;
};

void AddressEntryTest::initTestCase() {
    typing_ = new TypingSession;
    QVERIFY2(typing_->running(), "the keyboard engine did not start");
}

void AddressEntryTest::cleanupTestCase() { delete typing_; }

void AddressEntryTest::init() {
    db_ = new TestDatabase;
    QVERIFY2(db_->opened(), qPrintable(db_->error()));
    QVERIFY(addReferenceLists());
    dialogs_ = new DialogAnswerer;
    typing_->kannada(true);
}

void AddressEntryTest::cleanup() {
    delete w_;
    w_ = nullptr;
    delete dialogs_;
    delete db_;
}

FrmAddressEntry *AddressEntryTest::open(bool changeMode, int id) {
    delete w_;
    ModDeclare::EditMode = changeMode;
    ModDeclare::CurrentId = id;
    w_ = new FrmAddressEntry;
    if (!showActive(w_)) return nullptr;
    // A key that is no letter ends whatever syllable an earlier test left open.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
    return w_;
}

void AddressEntryTest::aTypedRecordIsSavedWithTheNextNumber() {
    QVERIFY(TestDatabase::exec("INSERT INTO addressh (id_no, Name) VALUES (4, 'x')"));
    FrmAddressEntry *w = open(false);
    QVERIFY(w);
    QVERIFY(w->Txtname->hasFocus());
    QSignalSpy closed(w, &FrmAddressEntry::closed);

    typeKeys(w->Txtname, "rAma");
    QCOMPARE(w->Txtname->text(), Typed::rAma());
    QVERIFY(pickItem(w->CmbRelation, Typed::mane()));
    QVERIFY(pickItem(w->CmbPrakara, Typed::bIdara()));
    // The category's sub-categories, in Kannada order.
    QCOMPARE(itemTexts(w->CmbUpaprakara), inSortOrder({Typed::kOlAra(), Typed::beLagAvi()}));
    QVERIFY(pickItem(w->CmbUpaprakara, Typed::kOlAra()));
    typeKeys(w->TxtHouseDet, "ki");
    w->SSTab1->setCurrentIndex(1);
    QVERIFY(w->TxtAdd1->hasFocus());
    typeKeys(w->Txtplace, "k");
    typeKeys(w->Txtpincode, "572 216");
    QVERIFY(pickItem(w->CmbDistrict, Typed::tumakUru()));
    QCOMPARE(itemTexts(w->CmbTaluk), inSortOrder({Typed::tumakUru(), Typed::gubbi()}));
    QVERIFY(pickItem(w->CmbTaluk, Typed::gubbi()));

    save(true, false);
    QCOMPARE(dialogs_->questions, (QStringList{RecordCaption::confirmSave(), RecordCaption::enterAnother()}));
    QVERIFY(dialogs_->messages.isEmpty());
    QCOMPARE(addressCount(), 2);
    QCOMPARE(column(5, "Name").toString(), Typed::rAma());
    QCOMPARE(column(5, "sortcol").toString(), ModDeclare::SortKey(Typed::rAma()));
    QCOMPARE(column(5, "members").toString(), Typed::ki());
    QCOMPARE(column(5, "hcity").toString(), Typed::ka());
    QCOMPARE(column(5, "hpin_code").toString(), G("572216"));
    const QList<int> links{column(5, "sl_no").toInt(), column(5, "districtno").toInt(), column(5, "Talukno").toInt(),
                           column(5, "PrakaraNo").toInt(), column(5, "UpaPrakaraNo").toInt()};
    QCOMPARE(links, (QList<int>{41, 1, 12, 21, 31}));
    QVERIFY(column(5, "hstate").isNull());  // boxes left empty are not written
    QVERIFY(column(5, "he_mail").isNull());
    // No more records wanted: the window closed.
    QVERIFY(!w->isVisible());
    QCOMPARE(closed.count(), 1);
    QVERIFY(ModDeclare::ClearBeforeFill);
}

void AddressEntryTest::nothingIsWrittenForABlankNameOrANo() {
    FrmAddressEntry *w = open(false);
    QVERIFY(w);
    typeKeys(w->Txtplace, "k");
    for (const char *name : {"", "   "}) {
        dialogs_->forget();
        typeKeys(w->Txtname, name);
        QTest::mouseClick(w->Cmdsave, Qt::LeftButton);
        QCOMPARE(dialogs_->messages, QStringList{RecordCaption::emptyName()});
        QVERIFY(dialogs_->questions.isEmpty());
    }
    // Answering no to the question writes nothing either; the boxes keep what was typed.
    QVERIFY(showActive(w));
    w->Txtname->setText(QString());
    typeKeys(w->Txtname, "rAma");
    QVERIFY(pickItem(w->CmbRelation, Typed::mane()));
    dialogs_->forget();
    save(false);
    QCOMPARE(dialogs_->questions, QStringList{RecordCaption::confirmSave()});
    QCOMPARE(addressCount(), 0);
    QCOMPARE(w->Txtname->text(), Typed::rAma());
    QCOMPARE(w->Txtplace->text(), Typed::ka());
    QCOMPARE(w->CmbRelation->text(), Typed::mane());
    QVERIFY(w->isVisible());
}

void AddressEntryTest::theEmailBoxTakesLatinLettersAndKannadaResumes() {
    FrmAddressEntry *w = open(false);
    QVERIFY(w);
    typeKeys(w->Txtname, "rAma");
    w->SSTab1->setCurrentIndex(1);
    QVERIFY(KeyboardBridge::kannadaOn());
    typeKeys(w->Txtemail, "rama@kelda.in");
    QVERIFY(!KeyboardBridge::kannadaOn());
    QCOMPARE(w->Txtemail->text(), G("rama@kelda.in"));
    // Leaving the box, Kannada typing resumes in the next one.
    QTest::keyClick(w->Txtemail, Qt::Key_Tab);
    QVERIFY(w->TxtAdd2->hasFocus());
    QVERIFY(KeyboardBridge::kannadaOn());
    QTest::keyClicks(w->TxtAdd2, "ki");
    QCOMPARE(w->TxtAdd2->text(), Typed::ki());
    save(true, true);
    QCOMPARE(column(1, "he_mail").toString(), G("rama@kelda.in"));
    QCOMPARE(column(1, "oaddress").toString(), Typed::ki());

    // Closing the window from inside the e-mail box leaves Kannada typing on. (Offscreen, no
    // window manager gives the window back its activation after the dialogs.)
    QVERIFY(showActive(w));
    w->SSTab1->setCurrentIndex(1);
    w->Txtemail->setFocus();
    QVERIFY(!KeyboardBridge::kannadaOn());
    w->close();
    QVERIFY(KeyboardBridge::kannadaOn());
}

void AddressEntryTest::changeModeLoadsARecordAndKeepsWhatWasEmptied() {
    const int id = saveAddress(Typed::rAma(), {{C::Hcity, Typed::ka()}, {C::Hphone, G("0816 22")},
                                               {C::HeMail, G("rama@kelda.in")}, {C::Otherinfor, G("a\nb")},
                                               {C::District, 1}, {C::Taluk, 12}, {C::Prakara, 21},
                                               {C::Upaprakara, 32}, {C::Relation, 99}});
    FrmAddressEntry *w = open(true, id);
    QVERIFY(w);
    QVERIFY(w->changeMode());
    QCOMPARE(w->Txtno->text(), QString::number(id));
    QVERIFY(w->Txtno->isReadOnly());
    QCOMPARE(w->Txtname->text(), Typed::rAma());
    QCOMPARE(w->Txtplace->text(), Typed::ka());
    QCOMPARE(w->Txtemail->text(), G("rama@kelda.in"));
    QCOMPARE(w->Txtremarks->text(), G("a\nb"));
    QCOMPARE(w->TxtState->text(), QString());
    // The taluk and sub-category lists hold those of the record's district and category,
    // filled after their texts were put in.
    QCOMPARE(w->CmbTaluk->text(), Typed::gubbi());
    QCOMPARE(itemTexts(w->CmbTaluk), inSortOrder({Typed::tumakUru(), Typed::gubbi()}));
    QCOMPARE(w->CmbUpaprakara->text(), Typed::beLagAvi());
    QCOMPARE(w->CmbUpaprakara->count(), 2);
    QCOMPARE(w->CmbRelation->text(), QString());  // its number matches no relation
    QCOMPARE(w->relationNumber(), 0);
    QCOMPARE(w->districtNumber(), 1);

    // The place emptied, the district list emptied with Delete, the phone changed.
    w->SSTab1->setCurrentIndex(1);
    w->Txtplace->setFocus();
    QTest::keyClick(w->Txtplace, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(w->Txtplace, Qt::Key_Backspace);
    QCOMPARE(w->Txtplace->text(), QString());
    QTest::keyClick(w->CmbDistrict, Qt::Key_Delete);
    QCOMPARE(w->CmbDistrict->text(), QString());
    w->Txtphone->setFocus();
    typing_->kannada(false);
    QTest::keyClicks(w->Txtphone, "5");
    typing_->kannada(true);
    save(true);
    QCOMPARE(dialogs_->questions, QStringList{RecordCaption::confirmSave()});  // no "another?"
    QCOMPARE(addressCount(), 1);
    QCOMPARE(column(id, "hcity").toString(), Typed::ka());  // kept
    QCOMPARE(column(id, "districtno").toInt(), 1);
    QCOMPARE(column(id, "hphone").toString(), G("0816 225"));
    QCOMPARE(column(id, "sl_no").toInt(), 99);
    // The window stays, with the saved values.
    QVERIFY(w->isVisible());
    QCOMPARE(w->Txtno->text(), QString::number(id));
    QCOMPARE(w->Txtname->text(), Typed::rAma());

    // Emptying the window's boxes leaves the lists' items in place.
    FrmAddressEntry::ClearEntryBoxes(w);
    for (const QString &text : {w->Txtname->text(), w->Txtphone->text(), w->Txtemail->text(), w->Txtno->text(),
                                w->CmbUpaprakara->text()})
        QCOMPARE(text, QString());
    QCOMPARE(w->CmbDistrict->count(), 2);
    QCOMPARE(w->CmbUpaprakara->count(), 2);
}

void AddressEntryTest::aRecordDeletedMeanwhileIsNotWrittenAgain() {
    const int id = saveAddress(Typed::rAma(), {});
    FrmAddressEntry *w = open(true, id);
    QVERIFY(w);
    QVERIFY(TestDatabase::exec("DELETE FROM addressh WHERE id_no = ?", {id}));
    typeKeys(w->Txtplace, "k");
    save(true);
    QCOMPARE(dialogs_->messages, QStringList{RecordCaption::recordDeleted()});
    QCOMPARE(addressCount(), 0);
    QVERIFY(!w->Timer1->isActive());  // no shake: nothing was saved

    // Gone before the window opened: nothing loads, nothing is written.
    w = open(true, id);
    QVERIFY(w);
    QCOMPARE(w->Txtno->text(), QString());
    typeKeys(w->Txtname, "rAma");
    dialogs_->forget();
    save(true);
    QCOMPARE(dialogs_->messages, QStringList{RecordCaption::recordDeleted()});
    QCOMPARE(addressCount(), 0);
}

void AddressEntryTest::theNextRecordInheritsNothingFromTheLast() {
    FrmAddressEntry *w = open(false);
    QVERIFY(w);
    typeKeys(w->Txtname, "rAma");
    w->SSTab1->setCurrentIndex(1);
    QVERIFY(pickItem(w->CmbDistrict, Typed::mYsUru()));
    QVERIFY(pickItem(w->CmbTaluk, Typed::hAsana()));
    save(true, true);
    // Another record is wanted: the texts are empty, and so are the taluk and sub-category
    // lists; page 0 shows with the focus in the name box.
    QCOMPARE(w->SSTab1->currentIndex(), 0);
    QVERIFY(showActive(w));
    QVERIFY(w->Txtname->hasFocus());
    QCOMPARE(w->Txtname->text(), QString());
    QCOMPARE(w->CmbDistrict->text(), QString());
    QCOMPARE(w->CmbDistrict->count(), 2);
    QCOMPARE(w->CmbTaluk->count(), 0);
    QCOMPARE(w->districtNumber(), 2);  // the number stays; the empty list decides

    typeKeys(w->Txtname, "ki");
    save(true, false);
    QCOMPARE(addressCount(), 2);
    QCOMPARE(column(1, "Talukno").toInt(), 13);
    QCOMPARE(column(2, "Name").toString(), Typed::ki());
    QCOMPARE(column(2, "districtno").toInt(), 0);
    QCOMPARE(column(2, "Talukno").toInt(), 0);
}

void AddressEntryTest::tabCyclesWithinThePage() {
    FrmAddressEntry *w = open(false);
    QVERIFY(w);
    QTest::keyClick(w->Txtname, Qt::Key_Tab);
    QVERIFY(w->CmbRelation->hasFocus());
    w->TxtHouseDet->setFocus();
    QTest::keyClick(w->TxtHouseDet, Qt::Key_Tab);
    QVERIFY(w->Txtname->hasFocus());
    w->SSTab1->setCurrentIndex(1);
    QVERIFY(w->TxtAdd1->hasFocus());
    QTest::keyClick(w->TxtAdd1, Qt::Key_Tab);
    QVERIFY(w->Txtplace->hasFocus());
    w->TxtAdd2->setFocus();
    QTest::keyClick(w->TxtAdd2, Qt::Key_Tab);
    QVERIFY(w->TxtAdd1->hasFocus());
    w->SSTab1->setCurrentIndex(2);
    QVERIFY(w->Txtremarks->hasFocus());
    // The save button still saves when pressed from the last box of a page.
    w->SSTab1->setCurrentIndex(0);
    typeKeys(w->Txtname, "ki");
    w->TxtHouseDet->setFocus();
    save(true, false);
    QCOMPARE(addressCount(), 1);
}

void AddressEntryTest::thePinCodeBoxTakesDigitsFullStopsAndSlashes() {
    FrmAddressEntry *w = open(false);
    QVERIFY(w);
    w->SSTab1->setCurrentIndex(1);
    PinCodeBox *pin = w->Txtpincode;
    typing_->kannada(false);
    typeKeys(pin, "5a6 0./x1");
    QCOMPARE(pin->text(), G("560./1"));
    QTest::keyClick(pin, Qt::Key_Backspace);
    QCOMPARE(pin->text(), G("560./"));
    // With Kannada typing on, the glyphs of a syllable are dropped, and the engine taking the
    // syllable back erases nothing that is in the box.
    typing_->kannada(true);
    QTest::keyClicks(pin, "7kim9");
    QCOMPARE(pin->text(), G("560./79"));
    QTest::keyClick(pin, Qt::Key_Backspace);
    QCOMPARE(pin->text(), G("560./7"));
    QApplication::clipboard()->setText(QStringLiteral("ab12"));
    QTest::keyClick(pin, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(pin->text(), G("560./7"));
}

void AddressEntryTest::listsArePickedNotTyped() {
    FrmAddressEntry *w = open(false);
    QVERIFY(w);
    QCOMPARE(itemTexts(w->CmbRelation), inSortOrder({Typed::mane(), Typed::kachEri()}));
    typeKeys(w->CmbRelation, "rAma");
    QCOMPARE(w->CmbRelation->text(), QString());
    w->SSTab1->setCurrentIndex(1);
    QVERIFY(pickItem(w->CmbDistrict, Typed::tumakUru()));
    QVERIFY(pickItem(w->CmbTaluk, Typed::gubbi()));
    // Another district refills the taluks and empties the taluk text.
    QVERIFY(pickItem(w->CmbDistrict, Typed::mYsUru()));
    QCOMPARE(itemTexts(w->CmbTaluk), QStringList{Typed::hAsana()});
    QCOMPARE(w->CmbTaluk->text(), QString());
    QCOMPARE(w->districtNumber(), 2);
    // Delete in the district list empties the taluk list, in the category list the
    // sub-category list.
    QTest::keyClick(w->CmbDistrict, Qt::Key_Delete);
    QCOMPARE(w->CmbTaluk->count(), 0);
    QCOMPARE(w->CmbDistrict->count(), 2);
    w->SSTab1->setCurrentIndex(0);
    QVERIFY(pickItem(w->CmbPrakara, Typed::bIdara()));
    QCOMPARE(w->CmbUpaprakara->count(), 2);
    QTest::keyClick(w->CmbPrakara, Qt::Key_Delete);
    QCOMPARE(w->CmbUpaprakara->count(), 0);
}

void AddressEntryTest::theSaveShakesTheWindowBackToWhereItWas() {
    const int id = saveAddress(Typed::rAma(), {});
    // Inside a multiple-document area, as in the main window: the frame around it shakes.
    QMdiArea area;
    area.resize(1200, 800);
    QVERIFY(showActive(&area));
    ModDeclare::EditMode = true;
    ModDeclare::CurrentId = id;
    w_ = new FrmAddressEntry;
    QMdiSubWindow *sub = area.addSubWindow(w_);
    sub->show();
    sub->move(40, 30);
    save(true);
    QVERIFY(w_->Timer1->isActive());
    QCOMPARE(w_->Timer1->interval(), 50);
    w_->Timer1->stop();
    QList<int> offsets;
    for (int tick = 0; tick < 13; ++tick) {
        QMetaObject::invokeMethod(w_, "Timer1_Timer");
        offsets << sub->x() - 40;
    }
    // 100 twips (7 pixels) right and back, six times; the thirteenth tick ends it.
    QCOMPARE(offsets, (QList<int>{7, 0, 7, 0, 7, 0, 7, 0, 7, 0, 7, 0, 0}));
    QCOMPARE(w_->shakeCounter(), 0);
    // Left to itself, a shake ends about 0.6 seconds after the save, where it started.
    save(true);
    QTRY_VERIFY_WITH_TIMEOUT(!w_->Timer1->isActive(), 3000);
    QCOMPARE(sub->pos(), QPoint(40, 30));
    delete w_;
    w_ = nullptr;
}

void AddressEntryTest::theReferenceButtonsBringTheirListsUpToDate() {
    FrmAddressEntry *w = open(false);
    QVERIFY(w);
    w->SSTab1->setCurrentIndex(1);
    QVERIFY(pickItem(w->CmbDistrict, Typed::tumakUru()));
    // The districts window opens modally; a district is added while it is open.
    QString opened;
    onNextReferenceWindow([&opened](QWidget *window) {
        opened = window->objectName();
        ModDeclare::Data().save(RefTable::District, 3, Typed::bIdara(), 0, SaveIntent::ByNumber);
        window->close();
    });
    QTest::mouseClick(w->Command6, Qt::LeftButton);
    QCOMPARE(opened, QStringLiteral("frmDistrict"));
    QCOMPARE(itemTexts(w->CmbDistrict), inSortOrder({Typed::tumakUru(), Typed::mYsUru(), Typed::bIdara()}));
    QCOMPARE(w->CmbTaluk->count(), 0);

    // Opened for change, a list is refilled once, not doubled.
    w = open(true, saveAddress(Typed::rAma(), {{C::Prakara, 21}}));
    QVERIFY(w);
    const auto closeIt = [&opened](QWidget *window) {
        opened = window->objectName();
        window->close();
    };
    onNextReferenceWindow(closeIt);
    QTest::mouseClick(w->Command3, Qt::LeftButton);
    QCOMPARE(opened, QStringLiteral("FrmPrakara"));
    QCOMPARE(w->CmbPrakara->count(), 1);
    QVERIFY(pickItem(w->CmbPrakara, Typed::bIdara()));
    onNextReferenceWindow(closeIt);
    QTest::mouseClick(w->Command5, Qt::LeftButton);
    QCOMPARE(opened, QStringLiteral("FrmUpaprakara"));
    QCOMPARE(itemTexts(w->CmbUpaprakara), inSortOrder({Typed::kOlAra(), Typed::beLagAvi()}));
}

void AddressEntryTest::itOpensFromItsMenuAtTheTopLeft() {
    frmmain main;
    QVERIFY(showActive(&main));
    ModDeclare::EditMode = true;
    emit main.l[1]->mousePressed();
    QTest::mouseClick(main.menu(1)->findChild<MenuLabel *>("lnew"), Qt::LeftButton);
    QMdiSubWindow *sub = main.mdiArea->activeSubWindow();
    QVERIFY(sub);
    auto *entry = qobject_cast<FrmAddressEntry *>(sub->widget());
    QVERIFY(entry);
    QVERIFY(!entry->changeMode());
    QCOMPARE(sub->pos(), QPoint(0, 0));
    QCOMPARE(entry->pageCaption(1), RecordCaption::page1());
    // The menu again brings that window forward; a record to change gets a window of its own,
    // which comes forward when that record is asked for again.
    QCOMPARE(main.showWindow("FrmAddressEntry"), entry);
    const int id = saveAddress(Typed::rAma(), {});
    ModDeclare::EditMode = true;
    ModDeclare::CurrentId = id;
    auto *change = qobject_cast<FrmAddressEntry *>(main.showWindow("FrmAddressEntry"));
    QVERIFY(change && change != entry);
    QVERIFY(change->changeMode());
    QCOMPARE(change->Txtname->text(), Typed::rAma());
    QCOMPARE(main.showWindow("FrmAddressEntry"), change);
    QCOMPARE(main.mdiArea->subWindowList().size(), 2);
    QTest::mouseClick(change->Command4, Qt::LeftButton);
    QTest::mouseClick(entry->Command2, Qt::LeftButton);
    QTRY_VERIFY(main.mdiArea->subWindowList().isEmpty());
}

QTEST_MAIN(AddressEntryTest)
#include "address_entry_test.moc"
