// The address entry and search windows driven as a person uses them: Kannada typed through the
// keyboard bridge, list entries picked with the keyboard, the dialogs answered; the database
// checked afterwards.
#include <QClipboard>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>

#include <iterator>

#include "address_entry_window.h"
#include "main_window.h"
#include "pin_code_box.h"
#include "record_captions.h"
#include "search_window.h"
#include "window_test.h"

using C = AddressColumn;

namespace {

int addressCount() { return count("SELECT count(*) FROM addressh"); }

// Names with their places, states and countries: three places begin with the glyphs of KA
// ("P\xC0"), one with KAA, one with KA-RA in other glyphs, one with RA; two names of KA come
// without a place (ke. subbaNNa as typed, karnATaka with its repha).
struct Sample {
    const char *name, *place, *state, *country;
    int relation, prakara, upaprakara;
    const char *phone, *email, *home, *office;
};
const Sample kSamples[] = {
    {"q\xC0", "P\xC0g\xC0", "P\xC0", nullptr, 41, 21, 31, "0816", "da@x.in", "home\nline", "office"},
    {"P\xC0", "P\xC0", nullptr, nullptr, 0, 0, 0, nullptr, nullptr, nullptr, nullptr},
    {"\xA9\xC3z\xC0g\xC0", "P\xC1", nullptr, nullptr, 0, 0, 0, nullptr, nullptr, nullptr, nullptr},
    {"\x51", "Pg\xC0", nullptr, "\xA9\xC3", 42, 21, 99, nullptr, nullptr, nullptr, nullptr},
    {"v\xC0", "g\xC0P\xC0", "g\xC1", nullptr, 0, 0, 0, nullptr, nullptr, nullptr, nullptr},
    {"g\xC1\xAA\xC0\xC4", "P\xC0'g\xC0", nullptr, nullptr, 0, 0, 0, nullptr, nullptr, nullptr, nullptr},
    {"P\xC9. \xB8\xC0\xC4\xA7\xE2t\xDA", nullptr, nullptr, nullptr, 0, 0, 0, nullptr, nullptr, nullptr, nullptr},
    {"P\xC0\xA3\xC1\xF0lP\xC0", nullptr, nullptr, nullptr, 0, 0, 0, nullptr, nullptr, nullptr, nullptr},
};
const QString kSubbanna = G(kSamples[6].name), kKarnataka = G(kSamples[7].name);

bool addSearchSamples() {
    for (const Sample &s : kSamples) {
        QVector<QPair<C, QVariant>> values{{C::Relation, s.relation}, {C::Prakara, s.prakara}, {C::Upaprakara, s.upaprakara}};
        const std::pair<C, const char *> texts[] = {{C::Hcity, s.place},  {C::Hstate, s.state},   {C::Hcountry, s.country},
                                                    {C::Hphone, s.phone}, {C::HeMail, s.email},   {C::Haddress, s.home},
                                                    {C::Oaddress, s.office}};
        for (const auto &[column, text] : texts)
            if (text) values.append({column, G(text)});
        if (saveAddress(G(s.name), values) <= 0) return false;
    }
    return true;
}

}  // namespace

class AddressWindowsTest : public WindowTest {
    Q_OBJECT

private slots:
    void aTypedRecordIsSavedWithTheNextNumber();
    void nothingIsWrittenForABlankNameOrANo();
    void theEmailBoxTakesLatinLettersAndKannadaResumes();
    void changeModeLoadsARecordAndClearsWhatWasEmptied();
    void closingWithUnsavedChangesAsks();
    void aRecordDeletedMeanwhileIsNotWrittenAgain();
    void theNextRecordInheritsNothingFromTheLast();
    void tabCyclesWithinThePage();
    void thePinCodeBoxTakesDigitsFullStopsAndSlashes();
    void listsArePickedNotTyped();
    void theSaveShakesTheWindowBackToWhereItWas();
    void theReferenceButtonsBringTheirListsUpToDate();
    void anEntryWindowComesForwardOnlyForItsModeAndRecord();

    void aLetterPrefixFindsWhateverFollowsAndResultsComeAsTyped();
    void theCriteriaGoInTheirOrder();
    void theMatchShowsItsEightBoxes();
    void theCheckBoxesEnableAndEmptyTheirBoxes();
    void theThreeMessagesAndTheReset();

private:
    void prepare() override { QVERIFY(addReferenceLists()); }
    FrmAddressEntry *openEntry(bool changeMode, int id = 0) {
        ModDeclare::EditMode = changeMode;
        ModDeclare::CurrentId = id;
        FrmAddressEntry *w = open(new FrmAddressEntry);
        // A key that is no letter ends whatever syllable an earlier test left open.
        if (w) QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
        return w;
    }
    // Presses save with the answers the questions will get.
    void save(FrmAddressEntry *w, bool yes, std::optional<bool> another = std::nullopt) {
        answerer_->answerNextQuestion(yes);
        if (another) answerer_->answerNextQuestion(*another);
        QTest::mouseClick(w->Cmdsave, Qt::LeftButton);
    }
    book5 *openSearch() { return addSearchSamples() ? open(new book5) : nullptr; }
    // The names of the matches as the scroll bar steps through them.
    static QStringList stepThrough(book5 *w) {
        QStringList names;
        for (int position = w->Vs->minimum(); position <= w->Vs->maximum(); ++position) {
            w->Vs->setValue(position);
            names << w->Txtname->text();
        }
        return names;
    }
    static void search(book5 *w) { QTest::mouseClick(w->Command1, Qt::LeftButton); }
};

// ---- The entry window -------------------------------------------------------------------------

void AddressWindowsTest::aTypedRecordIsSavedWithTheNextNumber() {
    QVERIFY(TestDatabase::exec("INSERT INTO addressh (id_no, Name) VALUES (4, 'x')"));
    FrmAddressEntry *w = openEntry(false);
    QVERIFY(w && w->Txtname->hasFocus());
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
    save(w, true, false);
    // The question whether to take another tells the new record's number.
    QCOMPARE(answerer_->questions, (QStringList{RecordCaption::confirmSave(),
                                                RecordCaption::savedAs().arg(5) + ' ' + RecordCaption::enterAnother()}));
    QVERIFY(answerer_->messages.isEmpty());
    QCOMPARE(addressCount(), 2);
    QCOMPARE(column(5, "Name").toString(), Typed::rAma());
    QCOMPARE(column(5, "sortcol").toString(), ModDeclare::SortKey(Typed::rAma()));
    QCOMPARE(column(5, "members").toString(), Typed::ki());
    QCOMPARE(column(5, "hcity").toString(), Typed::ka());
    QCOMPARE(column(5, "hpin_code").toString(), G("572216"));
    QCOMPARE(addressLinks(5), (QList<int>{41, 1, 12, 21, 31}));
    QVERIFY(column(5, "hstate").isNull());  // boxes left empty are not written
    // No more records wanted: the window closed.
    QVERIFY(!w->isVisible());
    QCOMPARE(closed.count(), 1);
    QVERIFY(ModDeclare::ClearBeforeFill);
}

void AddressWindowsTest::nothingIsWrittenForABlankNameOrANo() {
    FrmAddressEntry *w = openEntry(false);
    QVERIFY(w);
    typeKeys(w->Txtplace, "k");
    for (const char *name : {"", "   "}) {
        answerer_->forget();
        typeKeys(w->Txtname, name);
        QTest::mouseClick(w->Cmdsave, Qt::LeftButton);
        QCOMPARE(answerer_->messages, QStringList{RecordCaption::emptyName()});
        QVERIFY(answerer_->questions.isEmpty());
    }
    // Answering no to the question writes nothing either; the boxes keep what was typed.
    QVERIFY(showActive(w));
    w->Txtname->setText(QString());
    typeKeys(w->Txtname, "rAma");
    QVERIFY(pickItem(w->CmbRelation, Typed::mane()));
    save(w, false);
    QCOMPARE(addressCount(), 0);
    QCOMPARE(w->Txtname->text(), Typed::rAma());
    QCOMPARE(w->Txtplace->text(), Typed::ka());
    QCOMPARE(w->CmbRelation->text(), Typed::mane());
    QVERIFY(w->isVisible());
}

void AddressWindowsTest::theEmailBoxTakesLatinLettersAndKannadaResumes() {
    FrmAddressEntry *w = openEntry(false);
    QVERIFY(w);
    typeKeys(w->Txtname, "rAma");
    w->SSTab1->setCurrentIndex(1);
    typeKeys(w->Txtemail, "rama@kelda.in");
    QVERIFY(!KeyboardBridge::kannadaOn());
    QCOMPARE(w->Txtemail->text(), G("rama@kelda.in"));
    // Leaving the box, Kannada typing resumes in the next one.
    QTest::keyClick(w->Txtemail, Qt::Key_Tab);
    QVERIFY(w->TxtAdd2->hasFocus());
    QVERIFY(KeyboardBridge::kannadaOn());
    QTest::keyClicks(w->TxtAdd2, "ki");
    save(w, true, true);
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

void AddressWindowsTest::changeModeLoadsARecordAndClearsWhatWasEmptied() {
    const int id = saveAddress(Typed::rAma(), {{C::Hcity, Typed::ka()}, {C::Hphone, G("0816 22")},
                                               {C::HeMail, G("rama@kelda.in")}, {C::Otherinfor, G("a\nb")},
                                               {C::District, 1}, {C::Taluk, 12}, {C::Prakara, 21},
                                               {C::Upaprakara, 32}, {C::Relation, 99}});
    FrmAddressEntry *w = openEntry(true, id);
    QVERIFY(w && w->changeMode());
    QCOMPARE(w->Txtno->text(), QString::number(id));
    QVERIFY(w->Txtno->isReadOnly());
    QCOMPARE(w->Txtname->text(), Typed::rAma());
    QCOMPARE(w->Txtemail->text(), G("rama@kelda.in"));
    QCOMPARE(w->Txtremarks->text(), G("a\nb"));
    // The taluk and sub-category lists hold those of the record's district and category,
    // filled after their texts were put in.
    QCOMPARE(w->CmbTaluk->text(), Typed::gubbi());
    QCOMPARE(itemTexts(w->CmbTaluk), inSortOrder({Typed::tumakUru(), Typed::gubbi()}));
    QCOMPARE(w->CmbUpaprakara->text(), Typed::beLagAvi());
    QCOMPARE(w->CmbUpaprakara->count(), 2);
    QCOMPARE(w->CmbRelation->text(), QString());  // its number matches no relation
    QCOMPARE(w->relationNumber(), 0);
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
    // The question names the boxes that will be emptied (Delete in the district list took the
    // taluk along); no keeps them as they are.
    save(w, false);
    const QString question =
        RecordCaption::confirmSave() + ' ' +
        RecordCaption::clearedBoxes().arg(QStringList{RecordCaption::place(), RecordCaption::district(), RecordCaption::taluk()}.join(", "));
    QCOMPARE(answerer_->questions, QStringList{question});
    QCOMPARE(column(id, "hcity").toString(), Typed::ka());
    save(w, true);
    QCOMPARE(answerer_->questions, (QStringList{question, question}));  // no "another?"
    QCOMPARE(addressCount(), 1);
    QVERIFY(column(id, "hcity").isNull());
    QCOMPARE(column(id, "hphone").toString(), G("0816 225"));
    QCOMPARE(addressLinks(id), (QList<int>{99, 0, 0, 21, 32}));  // the relation was never shown
    // The window stays, with the saved values.
    QVERIFY(w->isVisible());
    QCOMPARE(w->Txtname->text(), Typed::rAma());
    // Emptying the window's boxes leaves the lists' items in place.
    FrmAddressEntry::ClearEntryBoxes(w);
    for (const QString &text : {w->Txtname->text(), w->Txtphone->text(), w->Txtemail->text(), w->Txtno->text(),
                                w->CmbUpaprakara->text()})
        QCOMPARE(text, QString());
    QCOMPARE(w->CmbUpaprakara->count(), 2);
}

// Typing not saved goes only once the question is answered: stay, save (and close, without
// offering another record), or leave it unsaved.
void AddressWindowsTest::closingWithUnsavedChangesAsks() {
    QPointer<FrmAddressEntry> w = openEntry(false);
    QVERIFY(w);
    typeKeys(w->Txtname, "rAma");
    answerer_->answerNextSaveQuestion(SaveQuestion::Choice::Stay);
    QTest::mouseClick(w->Command2, Qt::LeftButton);
    QCOMPARE(answerer_->saveQuestions, QStringList{Caption::unsavedQuestion()});
    QVERIFY(w->isVisible());
    answerer_->answerNextSaveQuestion(SaveQuestion::Choice::Save);
    QTest::mouseClick(w->Command4, Qt::LeftButton);
    QVERIFY(!w->isVisible());
    QCOMPARE(column(1, "Name").toString(), Typed::rAma());
    QVERIFY(answerer_->questions.isEmpty());
    w = openEntry(true, 1);
    QVERIFY(w);
    typeKeys(w->Txtplace, "k");
    answerer_->answerNextSaveQuestion(SaveQuestion::Choice::Discard);
    w->close();
    QVERIFY(column(1, "hcity").isNull());
    // Leaving the program asks too: going back to the window keeps the program open.
    frmmain *main = open(new frmmain);
    QVERIFY(main);
    ModDeclare::EditMode = false;
    auto *entry = qobject_cast<FrmAddressEntry *>(main->showWindow("FrmAddressEntry"));
    QVERIFY(entry);
    entry->Txtname->setText(Typed::ki());
    answerer_->answerNextQuestion(true);
    answerer_->answerNextSaveQuestion(SaveQuestion::Choice::Stay);
    QVERIFY(!main->close());
    QVERIFY(entry->isVisible() && !ModDeclare::Ending && Database::isOpen());
    QCOMPARE(answerer_->saveQuestions.size(), 4);
}

void AddressWindowsTest::aRecordDeletedMeanwhileIsNotWrittenAgain() {
    const int id = saveAddress(Typed::rAma(), {});
    FrmAddressEntry *w = openEntry(true, id);
    QVERIFY(w);
    QVERIFY(TestDatabase::exec("DELETE FROM addressh WHERE id_no = ?", {id}));
    typeKeys(w->Txtplace, "k");
    save(w, true);
    QCOMPARE(answerer_->messages, QStringList{RecordCaption::recordDeleted()});
    QVERIFY(!w->Timer1->isActive());  // no shake: nothing was saved
    QCOMPARE(addressCount(), 0);
}

void AddressWindowsTest::theNextRecordInheritsNothingFromTheLast() {
    FrmAddressEntry *w = openEntry(false);
    QVERIFY(w);
    typeKeys(w->Txtname, "rAma");
    w->SSTab1->setCurrentIndex(1);
    QVERIFY(pickItem(w->CmbDistrict, Typed::mYsUru()));
    QVERIFY(pickItem(w->CmbTaluk, Typed::hAsana()));
    save(w, true, true);
    // Another record is wanted: the texts are empty, and so are the taluk and sub-category
    // lists; page 0 shows with the focus in the name box.
    QCOMPARE(w->SSTab1->currentIndex(), 0);
    QVERIFY(showActive(w));
    QVERIFY(w->Txtname->hasFocus());
    QCOMPARE(w->CmbDistrict->text(), QString());
    QCOMPARE(w->CmbDistrict->count(), 2);
    QCOMPARE(w->CmbTaluk->count(), 0);
    typeKeys(w->Txtname, "ki");
    save(w, true, false);
    QCOMPARE(column(1, "Talukno").toInt(), 13);
    QCOMPARE(column(2, "Name").toString(), Typed::ki());
    QCOMPARE(addressLinks(2), (QList<int>{0, 0, 0, 0, 0}));
}

void AddressWindowsTest::tabCyclesWithinThePage() {
    FrmAddressEntry *w = openEntry(false);
    QVERIFY(w);
    QTest::keyClick(w->Txtname, Qt::Key_Tab);
    QVERIFY(w->CmbRelation->hasFocus());
    w->TxtHouseDet->setFocus();
    QTest::keyClick(w->TxtHouseDet, Qt::Key_Tab);
    QVERIFY(w->Txtname->hasFocus());
    w->SSTab1->setCurrentIndex(1);
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
    save(w, true, false);
    QCOMPARE(addressCount(), 1);
}

void AddressWindowsTest::thePinCodeBoxTakesDigitsFullStopsAndSlashes() {
    FrmAddressEntry *w = openEntry(false);
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
    QApplication::clipboard()->setText(QStringLiteral("ab12"));
    QTest::keyClick(pin, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(pin->text(), G("560./7"));
}

void AddressWindowsTest::listsArePickedNotTyped() {
    FrmAddressEntry *w = openEntry(false);
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

void AddressWindowsTest::theSaveShakesTheWindowBackToWhereItWas() {
    // Inside a multiple-document area, as in the main window: the frame around it shakes.
    auto *area = open(new QMdiArea);
    QVERIFY(area);
    area->resize(1200, 800);
    ModDeclare::EditMode = true;
    ModDeclare::CurrentId = saveAddress(Typed::rAma(), {});
    auto *w = new FrmAddressEntry;
    QMdiSubWindow *sub = area->addSubWindow(w);
    sub->show();
    sub->move(40, 30);
    save(w, true);
    QVERIFY(w->Timer1->isActive());
    QTRY_VERIFY(sub->x() != 40);
    // A shake ends about 0.6 seconds after the save, where it started.
    QTRY_VERIFY_WITH_TIMEOUT(!w->Timer1->isActive(), 3000);
    QCOMPARE(sub->pos(), QPoint(40, 30));
}

void AddressWindowsTest::theReferenceButtonsBringTheirListsUpToDate() {
    FrmAddressEntry *w = openEntry(false);
    QVERIFY(w);
    w->SSTab1->setCurrentIndex(1);
    QVERIFY(pickItem(w->CmbDistrict, Typed::tumakUru()));
    // The districts window opens modally; a district is added while it is open.
    QString opened;
    onNextReferenceWindow([&opened](QWidget *window) {
        opened = window->objectName();
        seed(RefTable::District, 3, Typed::bIdara());
        window->close();
    });
    QTest::mouseClick(w->Command6, Qt::LeftButton);
    QCOMPARE(opened, QStringLiteral("frmDistrict"));
    QCOMPARE(itemTexts(w->CmbDistrict), inSortOrder({Typed::tumakUru(), Typed::mYsUru(), Typed::bIdara()}));
    QCOMPARE(w->CmbTaluk->count(), 0);
    // Opened for change, a list is refilled once, not doubled.
    w = openEntry(true, saveAddress(Typed::rAma(), {{C::Prakara, 21}}));
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

// The menu brings an open new-record window forward; a record to change gets a window of its
// own, which comes forward when that record is asked for again.
void AddressWindowsTest::anEntryWindowComesForwardOnlyForItsModeAndRecord() {
    frmmain main;
    QVERIFY(showActive(&main));
    ModDeclare::EditMode = false;
    auto *entry = qobject_cast<FrmAddressEntry *>(main.showWindow("FrmAddressEntry"));
    QVERIFY(entry && !entry->changeMode());
    QCOMPARE(main.showWindow("FrmAddressEntry"), entry);
    ModDeclare::EditMode = true;
    ModDeclare::CurrentId = saveAddress(Typed::rAma(), {});
    auto *change = qobject_cast<FrmAddressEntry *>(main.showWindow("FrmAddressEntry"));
    QVERIFY(change && change != entry && change->changeMode());
    QCOMPARE(change->Txtname->text(), Typed::rAma());
    QCOMPARE(main.showWindow("FrmAddressEntry"), change);
    ModDeclare::CurrentId = saveAddress(Typed::ki(), {});
    QVERIFY(main.showWindow("FrmAddressEntry") != change);
    QCOMPARE(main.mdiArea->subWindowList().size(), 3);
}

// ---- The search window ------------------------------------------------------------------------

void AddressWindowsTest::aLetterPrefixFindsWhateverFollowsAndResultsComeAsTyped() {
    book5 *w = openSearch();
    QVERIFY(w);
    QTest::mouseClick(w->Chkplace, Qt::LeftButton);
    QVERIFY(w->Txtplace->isEnabled() && w->Txtplace->hasFocus());
    QTest::keyClicks(w->Txtplace, "k");  // the letter KA
    QCOMPARE(w->Txtplace->text(), Typed::ka());
    search(w);
    QVERIFY(answerer_->messages.isEmpty());
    // Every place of KA, whatever vowel sign or conjunct follows and however its glyphs run:
    // the scroll bar runs from 1 to 5, "n / N" beside it, and the first shows at once.
    const QStringList expected = inSortOrder({G("q\xC0"), G("P\xC0"), Typed::bIdara(), G("\x51"), Typed::rAma()});
    QCOMPARE(w->matchCount(), 5);
    QCOMPARE(w->Vs->minimum(), 1);
    QCOMPARE(w->Vs->maximum(), 5);
    QCOMPARE(w->Txtname->text(), expected.at(0));
    QCOMPARE(w->LblPosition->text(), QStringLiteral("1 / 5"));
    w->Vs->setValue(3);
    w->Vs->setFocus();
    QTest::keyClick(w->Vs, Qt::Key_Up);
    QCOMPARE(w->Txtname->text(), expected.at(1));
    QCOMPARE(w->LblPosition->text(), QStringLiteral("2 / 5"));
    QCOMPARE(stepThrough(w), expected);
    // Names as they are typed: the search runs by itself once the typing pauses.
    QTest::mouseClick(w->ChkName, Qt::LeftButton);
    QTest::keyClicks(w->txtsearch, "k");
    QTRY_COMPARE(w->matchCount(), 4);
    QCOMPARE(stepThrough(w), inSortOrder({G("P\xC0"), G("\x51"), kSubbanna, kKarnataka}));
    QTest::keyClicks(w->txtsearch, "arf");  // "kar": karnATaka, whose glyphs run KA, NAA, repha
    QTRY_COMPARE(w->matchCount(), 1);
    QCOMPARE(w->Txtname->text(), kKarnataka);
    QVERIFY(answerer_->messages.isEmpty());
}

void AddressWindowsTest::theCriteriaGoInTheirOrder() {
    book5 *w = openSearch();
    QVERIFY(w);
    QTest::mouseClick(w->ChkName, Qt::LeftButton);
    QTest::keyClicks(w->txtsearch, "rAma");
    // Ticking the place keeps the name typed.
    QTest::mouseClick(w->Chkplace, Qt::LeftButton);
    QCOMPARE(w->txtsearch->text(), Typed::rAma());
    w->Txtplace->setText(G("g"));
    search(w);
    QCOMPARE(w->matchCount(), 1);
    QCOMPARE(w->Txtname->text(), G("v\xC0"));  // the place RA-KA, not the name RAMA
    // Only blanks in the place: the name is searched.
    w->Txtplace->setText(G("  "));
    search(w);
    QCOMPARE(w->Txtname->text(), Typed::rAma());
    // The state comes before the country, and both before the name.
    QTest::mouseClick(w->ChkState, Qt::LeftButton);
    QTest::mouseClick(w->Chkcountry, Qt::LeftButton);
    w->TxtState->setText(G("P"));
    w->TxtCountry->setText(G("\xA9"));
    search(w);
    QCOMPARE(w->Txtname->text(), G("q\xC0"));
    w->TxtState->setText(QString());
    search(w);
    QCOMPARE(w->Txtname->text(), G("\x51"));
}

void AddressWindowsTest::theMatchShowsItsEightBoxes() {
    book5 *w = openSearch();
    QVERIFY(w);
    QTest::mouseClick(w->ChkState, Qt::LeftButton);
    w->TxtState->setText(G("P"));
    search(w);
    QCOMPARE(w->matchCount(), 1);
    const auto boxes = [w] {
        return QStringList{w->Txtname->text(),   w->txtrelation->text(), w->TxtPrakara->text(),
                           w->TxtUpaprakara->text(), w->txthphone->text(), w->Txtemail->text(),
                           w->txthaddress->text(), w->txtoaddress->text()};
    };
    QCOMPARE(boxes(), (QStringList{G("q\xC0"), Typed::mane(), Typed::bIdara(), Typed::kOlAra(), "0816", "da@x.in",
                                 "home\nline", "office"}));
    // A match without those details, or whose entries are gone, shows empty boxes.
    QTest::mouseClick(w->Chkcountry, Qt::LeftButton);
    w->TxtState->setText(QString());
    w->TxtCountry->setText(G("\xA9"));
    search(w);
    QCOMPARE(boxes(), (QStringList{G("\x51"), Typed::kachEri(), Typed::bIdara(), "", "", "", "", ""}));
    QVERIFY(w->Txtname->isReadOnly());
}

void AddressWindowsTest::theCheckBoxesEnableAndEmptyTheirBoxes() {
    book5 *w = openSearch();
    QVERIFY(w);
    for (GlyphLineEdit *box : {w->txtsearch, w->Txtplace, w->TxtState, w->TxtCountry}) QVERIFY(!box->isEnabled());
    QTest::mouseClick(w->Chkplace, Qt::LeftButton);
    QTest::mouseClick(w->ChkState, Qt::LeftButton);
    QVERIFY(w->TxtState->hasFocus());
    w->Txtplace->setText(G("P"));
    w->TxtState->setText(G("g"));
    // The name excludes the others: their boxes are emptied and disabled.
    QTest::mouseClick(w->ChkName, Qt::LeftButton);
    QVERIFY(!w->Chkplace->isChecked() && !w->ChkState->isChecked());
    QVERIFY(!w->Txtplace->isEnabled() && !w->TxtState->isEnabled());
    QVERIFY(w->Txtplace->text().isEmpty() && w->TxtState->text().isEmpty());
    QVERIFY(w->txtsearch->isEnabled() && w->txtsearch->hasFocus());
    QTest::keyClicks(w->txtsearch, "k");
    QTest::mouseClick(w->ChkName, Qt::LeftButton);
    QVERIFY(!w->txtsearch->isEnabled());
    QCOMPARE(w->txtsearch->text(), QString());
}

void AddressWindowsTest::theThreeMessagesAndTheReset() {
    book5 *w = openSearch();
    QVERIFY(w);
    search(w);
    QCOMPARE(answerer_->messages, QStringList{RecordCaption::noCriterion()});
    // Blanks in the place box count as nothing.
    QTest::mouseClick(w->Chkplace, Qt::LeftButton);
    QTest::keyClicks(w->Txtplace, "  ");
    search(w);
    QCOMPARE(answerer_->messages.last(), RecordCaption::noCriterion());
    // Only blanks in the name box.
    QTest::mouseClick(w->ChkName, Qt::LeftButton);
    QTest::keyClicks(w->txtsearch, " ");
    search(w);
    QCOMPARE(answerer_->messages.last(), RecordCaption::onlyBlanks());
    // A name typed with a leading blank finds only names that begin with a blank. (Offscreen,
    // no window manager gives the window back its activation after the message.)
    QVERIFY(showActive(w));
    w->txtsearch->setFocus();
    QTest::keyClicks(w->txtsearch, "k");
    QCOMPARE(w->txtsearch->text(), G(" P\xC0"));
    search(w);
    QCOMPARE(answerer_->messages.last(), RecordCaption::noMatch());
    QCOMPARE(w->Txtname->text(), QString());
    QCOMPARE(w->Vs->maximum(), 1);
    // The reset clears the criteria and the scroll bar, and keeps the match shown.
    QTest::mouseClick(w->ChkName, Qt::LeftButton);
    QTest::mouseClick(w->Chkplace, Qt::LeftButton);
    w->Txtplace->setText(G("P"));
    search(w);
    w->Vs->setValue(2);
    const QString shown = w->Txtname->text();
    QTest::mouseClick(w->Command2, Qt::LeftButton);
    QVERIFY(!w->Chkplace->isChecked() && !w->Txtplace->isEnabled() && w->Txtplace->text().isEmpty());
    QCOMPARE(w->Vs->maximum(), 1);
    QCOMPARE(w->Txtname->text(), shown);
}

QTEST_MAIN(AddressWindowsTest)
#include "address_windows_test.moc"
