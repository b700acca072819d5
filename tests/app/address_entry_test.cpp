// The address entry window driven as a person uses it: Kannada typed through the keyboard
// bridge, list entries picked with the keyboard, the dialogs answered; the database checked
// afterwards.
#include <QClipboard>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSignalSpy>
#include <QTabWidget>
#include <QtTest>

#include <algorithm>

#include "address_data.h"
#include "frmaddressentry.h"
#include "frmmain.h"
#include "menu_label.h"
#include "menu_window.h"
#include "pin_code_box.h"
#include "record_captions.h"
#include "records_test_support.h"

namespace {

const QString kTumakuru = G("v\xC0\xC4\xAA\xC0\xC4P\xC0\xC6g\xC0\xC4");
const QString kMysuru = G("\xAA\xC9\xC4\xCA\xB8\xC0\xC6g\xC0\xC4");
const QString kGubbi = G("U\xC0\xC4\xA9\xE2");
const QString kBidara = G("\xA9\xC3z\xC0g\xC0");
const QString kKolara = G("P\xC9\xC6\xC3\xAF\xC1g\xC0");
const QString kBelagavi = G("\xA8\xC9\xBC\xC0U\xC1\xAB");
const QString kMane = G("\xAA\xC0\xC4\xA3\xC9");

QStringList inSortOrder(QStringList names) {
    std::sort(names.begin(), names.end(),
              [](const QString &a, const QString &b) { return ModDeclare::SortKey(a) < ModDeclare::SortKey(b); });
    return names;
}

}  // namespace

class AddressEntryTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void aTypedRecordIsSavedWithTheNextNumber();
    void anEmptyOrBlankNameWritesNothing();
    void answeringNoWritesNothing();
    void theEmailBoxTakesLatinLettersAndKannadaResumes();
    void changeModeLoadsARecordAndKeepsWhatWasEmptied();
    void aRecordDeletedMeanwhileIsNotWrittenAgain();
    void aNewRecordTakesTheNumberThatIsFreeWhenSaved();
    void theNextRecordInheritsNothingFromTheLast();
    void tabCyclesWithinThePage();
    void thePinCodeBoxTakesDigitsFullStopsAndSlashes();
    void listsArePickedNotTyped();
    void theSaveShakesTheWindowBackToWhereItWas();
    void theReferenceButtonsBringTheirListsUpToDate();
    void clearEntryBoxesEmptiesTextsButKeepsItems();
    void itOpensFromItsMenuAtTheTopLeft();

private:
    FrmAddressEntry *open(bool changeMode, int id = 0);
    void save(bool yes, std::optional<bool> another = std::nullopt);

    TestDatabase *db_ = nullptr;
    TypingSession *typing_ = nullptr;
    DialogWatcher *dialogs_ = nullptr;
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
    dialogs_ = new DialogWatcher;
    typing_->kannada(true);
}

void AddressEntryTest::cleanup() {
    delete w_;
    w_ = nullptr;
    delete dialogs_;
    delete db_;
}

FrmAddressEntry *AddressEntryTest::open(bool changeMode, int id) {
    ModDeclare::EditMode = changeMode;
    ModDeclare::CurrentId = id;
    w_ = new FrmAddressEntry;
    if (!showActive(w_)) return nullptr;
    // A key that is no letter ends whatever syllable an earlier test left open.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
    return w_;
}

// Presses save with the answers the dialogs will get.
void AddressEntryTest::save(bool yes, std::optional<bool> another) {
    dialogs_->answer(yes);
    if (another) dialogs_->answer(*another);
    QTest::mouseClick(w_->Cmdsave, Qt::LeftButton);
}

void AddressEntryTest::aTypedRecordIsSavedWithTheNextNumber() {
    QVERIFY(TestDatabase::exec("INSERT INTO addressh (id_no, Name) VALUES (4, 'x')"));
    FrmAddressEntry *w = open(false);
    QVERIFY(w);
    QCOMPARE(w->SSTab1->currentIndex(), 0);
    QVERIFY(w->Txtname->hasFocus());
    QSignalSpy closed(w, &FrmAddressEntry::closed);

    typeKeys(w->Txtname, "rAma");
    QCOMPARE(w->Txtname->text(), Typed::rAma());
    QVERIFY(pickItem(w->CmbRelation, kMane));
    QVERIFY(pickItem(w->CmbPrakara, kBidara));
    // The category's sub-categories, in Kannada order.
    QCOMPARE(itemTexts(w->CmbUpaprakara), inSortOrder({kKolara, kBelagavi}));
    QVERIFY(pickItem(w->CmbUpaprakara, kKolara));
    typeKeys(w->TxtHouseDet, "ki");

    w->SSTab1->setCurrentIndex(1);
    QVERIFY(w->TxtAdd1->hasFocus());
    typeKeys(w->Txtplace, "k");
    typeKeys(w->Txtpincode, "572 216");
    QVERIFY(pickItem(w->CmbDistrict, kTumakuru));
    QCOMPARE(itemTexts(w->CmbTaluk), inSortOrder({kTumakuru, kGubbi}));
    QVERIFY(pickItem(w->CmbTaluk, kGubbi));
    QCOMPARE(w->relationNumber(), 41);
    QCOMPARE(w->districtNumber(), 1);
    QCOMPARE(w->talukNumber(), 12);
    QCOMPARE(w->prakaraNumber(), 21);
    QCOMPARE(w->upaprakaraNumber(), 31);

    save(true, false);
    QCOMPARE(dialogs_->questions, (QStringList{RecordCaption::confirmSave(), RecordCaption::enterAnother()}));
    QVERIFY(dialogs_->messages.isEmpty());
    QCOMPARE(addressCount(), 2);
    QCOMPARE(column(5, "Name").toString(), Typed::rAma());
    QCOMPARE(column(5, "sortcol").toString(), ModDeclare::SortKey(Typed::rAma()));
    QCOMPARE(column(5, "members").toString(), Typed::ki());
    QCOMPARE(column(5, "hcity").toString(), Typed::ka());
    QCOMPARE(column(5, "hpin_code").toString(), G("572216"));
    QCOMPARE(column(5, "sl_no").toInt(), 41);
    QCOMPARE(column(5, "districtno").toInt(), 1);
    QCOMPARE(column(5, "Talukno").toInt(), 12);
    QCOMPARE(column(5, "PrakaraNo").toInt(), 21);
    QCOMPARE(column(5, "UpaPrakaraNo").toInt(), 31);
    // Boxes left empty are not written.
    QVERIFY(column(5, "hstate").isNull());
    QVERIFY(column(5, "he_mail").isNull());
    // No more records wanted: the window closed.
    QVERIFY(!w->isVisible());
    QCOMPARE(closed.count(), 1);
    QVERIFY(ModDeclare::ClearBeforeFill);
}

void AddressEntryTest::anEmptyOrBlankNameWritesNothing() {
    FrmAddressEntry *w = open(false);
    QVERIFY(w);
    typeKeys(w->Txtplace, "k");
    save(true);
    QCOMPARE(dialogs_->messages, QStringList{RecordCaption::emptyName()});
    QVERIFY(dialogs_->questions.isEmpty());
    typeKeys(w->Txtname, "   ");
    QCOMPARE(w->Txtname->text(), G("   "));
    dialogs_->forget();
    QTest::mouseClick(w->Cmdsave, Qt::LeftButton);
    QCOMPARE(dialogs_->messages, QStringList{RecordCaption::emptyName()});
    QVERIFY(dialogs_->questions.isEmpty());
    QCOMPARE(addressCount(), 0);
    QCOMPARE(w->Txtplace->text(), Typed::ka());  // the boxes keep what was typed
}

void AddressEntryTest::answeringNoWritesNothing() {
    FrmAddressEntry *w = open(false);
    QVERIFY(w);
    typeKeys(w->Txtname, "rAma");
    QVERIFY(pickItem(w->CmbRelation, kMane));
    save(false);
    QCOMPARE(dialogs_->questions, QStringList{RecordCaption::confirmSave()});
    QCOMPARE(addressCount(), 0);
    QCOMPARE(w->Txtname->text(), Typed::rAma());
    QCOMPARE(w->CmbRelation->text(), kMane);
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
    QVERIFY(!w->Txtemail->font().family().contains("Kannada"));
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
    QTest::mouseClick(w->Command4, Qt::LeftButton);
    QVERIFY(!w->isVisible());
    QVERIFY(KeyboardBridge::kannadaOn());
}

void AddressEntryTest::changeModeLoadsARecordAndKeepsWhatWasEmptied() {
    AddressData addresses(Database::connection());
    AddressWrite record;
    record.name = Typed::rAma();
    record.assign(AddressColumn::Hcity, Typed::ka());
    record.assign(AddressColumn::Hphone, G("0816 22"));
    record.assign(AddressColumn::HeMail, G("rama@kelda.in"));
    record.assign(AddressColumn::Otherinfor, G("line\nline"));
    record.assign(AddressColumn::District, 1);
    record.assign(AddressColumn::Taluk, 12);
    record.assign(AddressColumn::Prakara, 21);
    record.assign(AddressColumn::Upaprakara, 32);
    record.assign(AddressColumn::Relation, 99);  // no such relation
    const int id = addresses.insert(record);
    QVERIFY(id > 0);

    FrmAddressEntry *w = open(true, id);
    QVERIFY(w);
    QVERIFY(w->changeMode());
    QCOMPARE(w->Txtno->text(), QString::number(id));
    QVERIFY(w->Txtno->isReadOnly());
    QCOMPARE(w->Txtname->text(), Typed::rAma());
    QCOMPARE(w->Txtplace->text(), Typed::ka());
    QCOMPARE(w->Txtphone->text(), G("0816 22"));
    QCOMPARE(w->Txtemail->text(), G("rama@kelda.in"));
    QCOMPARE(w->Txtremarks->text(), G("line\nline"));
    QCOMPARE(w->TxtState->text(), QString());
    // The lists show the record's entries; the taluk and sub-category lists hold those of its
    // district and category, filled after the texts were put in.
    QCOMPARE(w->CmbDistrict->text(), kTumakuru);
    QCOMPARE(w->CmbTaluk->text(), kGubbi);
    QCOMPARE(itemTexts(w->CmbTaluk), inSortOrder({kTumakuru, kGubbi}));
    QCOMPARE(w->CmbPrakara->text(), kBidara);
    QCOMPARE(w->CmbUpaprakara->text(), kBelagavi);
    QCOMPARE(w->CmbUpaprakara->count(), 2);
    QCOMPARE(w->CmbRelation->text(), QString());  // its number matches no relation
    QCOMPARE(w->relationNumber(), 0);
    QCOMPARE(w->talukNumber(), 12);
    QCOMPARE(w->upaprakaraNumber(), 32);

    // The place emptied, the district list emptied with Delete, the phone changed.
    w->SSTab1->setCurrentIndex(1);
    w->Txtplace->setFocus();
    QTest::keyClick(w->Txtplace, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(w->Txtplace, Qt::Key_Backspace);
    QCOMPARE(w->Txtplace->text(), QString());
    w->CmbDistrict->setFocus();
    QTest::keyClick(w->CmbDistrict, Qt::Key_Delete);
    QCOMPARE(w->CmbDistrict->text(), QString());
    QCOMPARE(w->CmbTaluk->count(), 0);
    w->Txtphone->setFocus();
    QTest::keyClick(w->Txtphone, Qt::Key_End, Qt::ControlModifier);
    typing_->kannada(false);
    QTest::keyClicks(w->Txtphone, "5");
    typing_->kannada(true);

    save(true);
    QCOMPARE(dialogs_->questions, QStringList{RecordCaption::confirmSave()});  // no "another?"
    QVERIFY(dialogs_->messages.isEmpty());
    QCOMPARE(addressCount(), 1);
    QCOMPARE(column(id, "hcity").toString(), Typed::ka());  // kept
    QCOMPARE(column(id, "districtno").toInt(), 1);          // kept
    QCOMPARE(column(id, "Talukno").toInt(), 12);            // kept: its list was emptied
    QCOMPARE(column(id, "hphone").toString(), G("0816 225"));
    QCOMPARE(column(id, "UpaPrakaraNo").toInt(), 32);
    QCOMPARE(column(id, "sl_no").toInt(), 99);  // an empty relation list writes nothing
    // The window stays with the saved values.
    QVERIFY(w->isVisible());
    QCOMPARE(w->Txtno->text(), QString::number(id));
    QCOMPARE(w->Txtname->text(), Typed::rAma());
}

void AddressEntryTest::aRecordDeletedMeanwhileIsNotWrittenAgain() {
    AddressData addresses(Database::connection());
    AddressWrite record;
    record.name = Typed::rAma();
    const int id = addresses.insert(record);
    FrmAddressEntry *w = open(true, id);
    QVERIFY(w);
    QVERIFY(TestDatabase::exec("DELETE FROM addressh WHERE id_no = ?", {id}));
    typeKeys(w->Txtplace, "k");
    save(true);
    QCOMPARE(dialogs_->messages, QStringList{RecordCaption::recordDeleted()});
    QCOMPARE(addressCount(), 0);
    QVERIFY(!w->Timer1->isActive());  // no shake: nothing was saved

    // A record that was gone before the window opened: nothing loads, nothing is written.
    delete w_;
    dialogs_->forget();
    w = open(true, id);
    QVERIFY(w);
    QCOMPARE(w->Txtno->text(), QString());
    QCOMPARE(w->Txtname->text(), QString());
    typeKeys(w->Txtname, "rAma");
    save(true);
    QCOMPARE(dialogs_->messages, QStringList{RecordCaption::recordDeleted()});
    QCOMPARE(addressCount(), 0);
}

void AddressEntryTest::aNewRecordTakesTheNumberThatIsFreeWhenSaved() {
    FrmAddressEntry *w = open(false);
    QVERIFY(w);
    typeKeys(w->Txtname, "rAma");
    // Another copy of the program saves a record while this one is being typed.
    {
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other-copy");
        other.setDatabaseName(db_->path());
        QVERIFY(other.open());
        AddressWrite theirs;
        theirs.name = G("theirs");
        QCOMPARE(AddressData(other).insert(theirs), 1);
        other.close();
    }
    QSqlDatabase::removeDatabase("other-copy");
    save(true, true);
    QCOMPARE(addressCount(), 2);
    QCOMPARE(column(1, "Name").toString(), G("theirs"));
    QCOMPARE(column(2, "Name").toString(), Typed::rAma());
}

void AddressEntryTest::theNextRecordInheritsNothingFromTheLast() {
    FrmAddressEntry *w = open(false);
    QVERIFY(w);
    typeKeys(w->Txtname, "rAma");
    w->SSTab1->setCurrentIndex(1);
    QVERIFY(pickItem(w->CmbDistrict, kMysuru));
    QVERIFY(pickItem(w->CmbTaluk, G("\xBA\xC1\xB8\xC0\xA3\xC0")));
    save(true, true);
    // Another record is wanted: the boxes and list texts are empty, the taluk and
    // sub-category lists too, and the name box on page 0 has the focus.
    QVERIFY(w->isVisible());
    QCOMPARE(w->SSTab1->currentIndex(), 0);
    QVERIFY(showActive(w));
    QVERIFY(w->Txtname->hasFocus());
    QCOMPARE(w->Txtname->text(), QString());
    QCOMPARE(w->CmbDistrict->text(), QString());
    QCOMPARE(w->CmbDistrict->count(), 2);
    QCOMPARE(w->CmbTaluk->count(), 0);
    QCOMPARE(w->CmbUpaprakara->count(), 0);
    QCOMPARE(w->Txtno->text(), QString());
    QCOMPARE(w->districtNumber(), 2);  // the window's number stays; the empty list decides

    typeKeys(w->Txtname, "ki");
    save(true, false);
    QCOMPARE(addressCount(), 2);
    QCOMPARE(column(1, "districtno").toInt(), 2);
    QCOMPARE(column(1, "Talukno").toInt(), 13);
    QCOMPARE(column(2, "Name").toString(), Typed::ki());
    QCOMPARE(column(2, "districtno").toInt(), 0);
    QCOMPARE(column(2, "Talukno").toInt(), 0);
}

void AddressEntryTest::tabCyclesWithinThePage() {
    FrmAddressEntry *w = open(false);
    QVERIFY(w);
    QVERIFY(w->Txtname->hasFocus());
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
    // A mouse click on the save button still saves while the last box of a page has the
    // focus: only Tab sends it round.
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
    QTest::keyClick(pin, Qt::Key_Backspace);
    QCOMPARE(pin->text(), G("560."));
    // With Kannada typing on, the glyphs of a syllable are dropped, and the engine taking that
    // syllable back erases nothing that is in the box.
    typing_->kannada(true);
    QTest::keyClicks(pin, "7kim9");
    QCOMPARE(pin->text(), G("560.79"));
    QTest::keyClick(pin, Qt::Key_Backspace);
    QCOMPARE(pin->text(), G("560.7"));
    // Nothing is pasted into it.
    QApplication::clipboard()->setText(QStringLiteral("ab12"));
    QTest::keyClick(pin, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(pin->text(), G("560.7"));
}

void AddressEntryTest::listsArePickedNotTyped() {
    FrmAddressEntry *w = open(false);
    QVERIFY(w);
    QCOMPARE(itemTexts(w->CmbRelation), inSortOrder({kMane, G("P\xC0" "b\xC9\xC3j")}));
    typeKeys(w->CmbRelation, "rAma");
    QCOMPARE(w->CmbRelation->text(), QString());
    w->SSTab1->setCurrentIndex(1);
    typeKeys(w->CmbTaluk, "k");
    QCOMPARE(w->CmbTaluk->text(), QString());
    QVERIFY(pickItem(w->CmbDistrict, kTumakuru));
    QVERIFY(pickItem(w->CmbTaluk, kGubbi));
    // Picking another district refills the taluks and empties the taluk text.
    QVERIFY(pickItem(w->CmbDistrict, kMysuru));
    QCOMPARE(itemTexts(w->CmbTaluk), QStringList{G("\xBA\xC1\xB8\xC0\xA3\xC0")});
    QCOMPARE(w->CmbTaluk->text(), QString());
    QCOMPARE(w->districtNumber(), 2);
    // Delete in the district list empties the taluk list; in the category list, the
    // sub-category list.
    QTest::keyClick(w->CmbDistrict, Qt::Key_Delete);
    QCOMPARE(w->CmbTaluk->count(), 0);
    QCOMPARE(w->CmbDistrict->text(), QString());
    QCOMPARE(w->CmbDistrict->count(), 2);
    w->SSTab1->setCurrentIndex(0);
    QVERIFY(pickItem(w->CmbPrakara, kBidara));
    QCOMPARE(w->CmbUpaprakara->count(), 2);
    QTest::keyClick(w->CmbPrakara, Qt::Key_Delete);
    QCOMPARE(w->CmbUpaprakara->count(), 0);
}

void AddressEntryTest::theSaveShakesTheWindowBackToWhereItWas() {
    AddressWrite record;
    record.name = Typed::rAma();
    const int id = AddressData(Database::connection()).insert(record);
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
    const QPoint start = sub->pos();
    save(true);
    QVERIFY(w_->Timer1->isActive());
    QCOMPARE(w_->Timer1->interval(), 50);
    w_->Timer1->stop();
    QList<int> offsets;
    for (int tick = 0; tick < 12; ++tick) {
        QMetaObject::invokeMethod(w_, "Timer1_Timer");
        offsets << sub->pos().x() - start.x();
    }
    // 100 twips (7 pixels) right and back, six times.
    QCOMPARE(offsets, (QList<int>{7, 0, 7, 0, 7, 0, 7, 0, 7, 0, 7, 0}));
    QCOMPARE(w_->shakeCounter(), 12);
    w_->Timer1->start();
    QMetaObject::invokeMethod(w_, "Timer1_Timer");
    QVERIFY(!w_->Timer1->isActive());
    QCOMPARE(w_->shakeCounter(), 0);
    QCOMPARE(sub->pos(), start);
    // Left to itself, a shake ends about 0.6 seconds after the save, where it started.
    save(true);
    QTRY_VERIFY_WITH_TIMEOUT(!w_->Timer1->isActive(), 3000);
    QCOMPARE(sub->pos(), start);
    QCOMPARE(addressCount(), 1);
    delete w_;
    w_ = nullptr;
}

void AddressEntryTest::theReferenceButtonsBringTheirListsUpToDate() {
    FrmAddressEntry *w = open(false);
    QVERIFY(w);
    w->SSTab1->setCurrentIndex(1);
    QVERIFY(pickItem(w->CmbDistrict, kTumakuru));
    QCOMPARE(w->CmbTaluk->count(), 2);
    // The districts window opens modally; a district is added while it is open.
    QString opened;
    dialogs_->onOtherModal([&opened](QWidget *modal) {
        opened = modal->objectName();
        ModDeclare::Data().save(RefTable::District, 3, G("\xA9\xC3z\xC0g\xC0"), 0, SaveIntent::ByNumber);
        modal->close();
    });
    QTest::mouseClick(w->Command6, Qt::LeftButton);
    QCOMPARE(opened, QStringLiteral("frmDistrict"));
    QCOMPARE(itemTexts(w->CmbDistrict), inSortOrder({kTumakuru, kMysuru, kBidara}));
    QCOMPARE(w->CmbTaluk->count(), 0);

    // Opened for change, the category list is refilled once, not doubled.
    delete w_;
    AddressWrite record;
    record.name = Typed::rAma();
    record.assign(AddressColumn::Prakara, 21);
    const int id = AddressData(Database::connection()).insert(record);
    w = open(true, id);
    QVERIFY(w);
    QCOMPARE(w->CmbPrakara->count(), 1);
    dialogs_->onOtherModal([&opened](QWidget *modal) {
        opened = modal->objectName();
        modal->close();
    });
    QTest::mouseClick(w->Command3, Qt::LeftButton);
    QCOMPARE(opened, QStringLiteral("FrmPrakara"));
    QCOMPARE(w->CmbPrakara->count(), 1);
    QCOMPARE(w->CmbUpaprakara->count(), 0);
    dialogs_->onOtherModal([&opened](QWidget *modal) {
        opened = modal->objectName();
        modal->close();
    });
    QVERIFY(pickItem(w->CmbPrakara, kBidara));
    QTest::mouseClick(w->Command5, Qt::LeftButton);
    QCOMPARE(opened, QStringLiteral("FrmUpaprakara"));
    QCOMPARE(itemTexts(w->CmbUpaprakara), inSortOrder({kKolara, kBelagavi}));
}

void AddressEntryTest::clearEntryBoxesEmptiesTextsButKeepsItems() {
    AddressWrite record;
    record.name = Typed::rAma();
    record.assign(AddressColumn::Hcity, Typed::ka());
    record.assign(AddressColumn::HeMail, G("a@b"));
    record.assign(AddressColumn::District, 1);
    const int id = AddressData(Database::connection()).insert(record);
    FrmAddressEntry *w = open(true, id);
    QVERIFY(w);
    FrmAddressEntry::ClearEntryBoxes(w);
    QCOMPARE(w->Txtname->text(), QString());
    QCOMPARE(w->Txtplace->text(), QString());
    QCOMPARE(w->Txtemail->text(), QString());
    QCOMPARE(w->Txtno->text(), QString());
    QCOMPARE(w->CmbDistrict->text(), QString());
    QCOMPARE(w->CmbDistrict->count(), 2);
    QCOMPARE(w->CmbTaluk->count(), 2);
    QCOMPARE(w->pageCaption(0), RecordCaption::page0());
    QCOMPARE(w->pageCaption(2), RecordCaption::page2());
}

void AddressEntryTest::itOpensFromItsMenuAtTheTopLeft() {
    frmmain main;
    QVERIFY(showActive(&main));
    ModDeclare::EditMode = true;
    emit main.l[1]->mousePressed();
    QTest::mouseClick(main.menu(1)->findChild<MenuLabel *>("lnew"), Qt::LeftButton);
    QVERIFY(!ModDeclare::EditMode);
    QMdiSubWindow *sub = main.mdiArea->activeSubWindow();
    QVERIFY(sub);
    auto *entry = qobject_cast<FrmAddressEntry *>(sub->widget());
    QVERIFY(entry);
    QVERIFY(!entry->changeMode());
    QCOMPARE(sub->pos(), QPoint(0, 0));
    QCOMPARE(entry->CmbRelation->count(), 2);
    // Its close button closes the child window.
    QTest::mouseClick(entry->Command2, Qt::LeftButton);
    QTRY_VERIFY(main.mdiArea->subWindowList().isEmpty());
}

QTEST_MAIN(AddressEntryTest)
#include "address_entry_test.moc"
