// The address search driven as a person uses it: criteria ticked and typed in Kannada through
// the keyboard bridge, the search pressed, the matches stepped through with the scroll bar.
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QtTest>

#include <algorithm>
#include <iterator>

#include "address_data.h"
#include "search_window.h"
#include "main_window.h"
#include "menu_label.h"
#include "menu_window.h"
#include "record_captions.h"
#include "records_test_support.h"

namespace {

struct Sample {
    const char *name, *place, *state, *country;
    int relation, prakara, upaprakara;
    const char *phone, *email, *home, *office;
};

// Names with their places: three places begin with the letter KA ("P\xC0"), one with KAA, one
// with a conjunct of KA, one with RA.
const Sample kSamples[] = {
    {"q\xC0", "P\xC0g\xC0", "P\xC0", nullptr, 41, 21, 31, "0816", "da@x.in", "home\nline", "office"},
    {"P\xC0", "P\xC0", nullptr, nullptr, 0, 0, 0, nullptr, nullptr, nullptr, nullptr},
    {"\xA9\xC3z\xC0g\xC0", "P\xC1", nullptr, nullptr, 0, 0, 0, nullptr, nullptr, nullptr, nullptr},
    {"\x51", "Pg\xC0", nullptr, "\xA9\xC3", 42, 21, 99, nullptr, nullptr, nullptr, nullptr},
    {"v\xC0", "g\xC0P\xC0", "g\xC1", nullptr, 0, 0, 0, nullptr, nullptr, nullptr, nullptr},
    {"g\xC1\xAA\xC0\xC4", "P\xC0'g\xC0", nullptr, nullptr, 0, 0, 0, nullptr, nullptr, nullptr, nullptr},
};

}  // namespace

class AddressSearchTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void aOneLetterPlaceFindsEveryPlaceThatBeginsWithIt();
    void thePlaceGoesBeforeTheName();
    void aQuoteIsSearchedLikeAnyOtherCharacter();
    void theMatchShowsItsEightBoxes();
    void theCheckBoxesEnableAndEmptyTheirBoxes();
    void theThreeMessages();
    void resetClearsTheCriteriaButKeepsTheMatch();
    void itOpensFromItsMenuAtTheTopLeft();

private:
    // The names of the matches as the scroll bar steps through them.
    QStringList stepThrough();
    void search() { QTest::mouseClick(w_->Command1, Qt::LeftButton); }

    TestDatabase *db_ = nullptr;
    TypingSession *typing_ = nullptr;
    DialogAnswerer *dialogs_ = nullptr;
    book5 *w_ = nullptr;
};

void AddressSearchTest::initTestCase() {
    typing_ = new TypingSession;
    QVERIFY2(typing_->running(), "the keyboard engine did not start");
}

void AddressSearchTest::cleanupTestCase() { delete typing_; }

void AddressSearchTest::init() {
    db_ = new TestDatabase;
    QVERIFY2(db_->opened(), qPrintable(db_->error()));
    QVERIFY(addReferenceLists());
    AddressData addresses(Database::connection());
    for (const Sample &s : kSamples) {
        AddressWrite w;
        w.name = G(s.name);
        const std::pair<AddressColumn, const char *> texts[] = {
            {AddressColumn::Hcity, s.place},   {AddressColumn::Hstate, s.state},     {AddressColumn::Hcountry, s.country},
            {AddressColumn::Hphone, s.phone},  {AddressColumn::HeMail, s.email},     {AddressColumn::Haddress, s.home},
            {AddressColumn::Oaddress, s.office}};
        for (const auto &[column, text] : texts)
            if (text) w.assign(column, G(text));
        w.assign(AddressColumn::Relation, s.relation);
        w.assign(AddressColumn::Prakara, s.prakara);
        w.assign(AddressColumn::Upaprakara, s.upaprakara);
        QVERIFY(addresses.insert(w) > 0);
    }
    dialogs_ = new DialogAnswerer;
    typing_->kannada(true);
    w_ = new book5;
    QVERIFY(showActive(w_));
}

void AddressSearchTest::cleanup() {
    delete w_;
    w_ = nullptr;
    delete dialogs_;
    delete db_;
}

QStringList AddressSearchTest::stepThrough() {
    QStringList names;
    for (int position = w_->Vs->minimum(); position <= w_->Vs->maximum(); ++position) {
        w_->Vs->setValue(position);
        names << w_->Txtname->text();
    }
    return names;
}

void AddressSearchTest::aOneLetterPlaceFindsEveryPlaceThatBeginsWithIt() {
    QTest::mouseClick(w_->Chkplace, Qt::LeftButton);
    QVERIFY(w_->Txtplace->isEnabled() && w_->Txtplace->hasFocus());
    QTest::keyClicks(w_->Txtplace, "k");  // the letter KA
    QCOMPARE(w_->Txtplace->text(), Typed::ka());
    search();
    QVERIFY(dialogs_->messages.isEmpty());
    // Three matches: the scroll bar runs from 1 to 3 and shows the first at once.
    QCOMPARE(w_->matchCount(), 3);
    QCOMPARE(w_->Vs->minimum(), 1);
    QCOMPARE(w_->Vs->maximum(), 3);
    const QStringList expected = inSortOrder({G("q\xC0"), G("P\xC0"), Typed::rAma()});
    QCOMPARE(w_->Txtname->text(), expected.at(0));
    w_->Vs->setValue(3);
    QCOMPARE(w_->Txtname->text(), expected.at(2));
    w_->Vs->setFocus();
    QTest::keyClick(w_->Vs, Qt::Key_Up);
    QCOMPARE(w_->Txtname->text(), expected.at(1));
    QCOMPARE(stepThrough(), expected);
    // The consonant alone, without its vowel sign, begins the other places of KA too.
    w_->Txtplace->setText(G("P"));
    search();
    QCOMPARE(stepThrough(), inSortOrder({G("q\xC0"), G("P\xC0"), G("\x51"), Typed::rAma(), Typed::bIdara()}));
}

void AddressSearchTest::thePlaceGoesBeforeTheName() {
    QTest::mouseClick(w_->ChkName, Qt::LeftButton);
    QTest::keyClicks(w_->txtsearch, "rAma");
    QCOMPARE(w_->txtsearch->text(), Typed::rAma());
    // Ticking the place keeps the name typed.
    QTest::mouseClick(w_->Chkplace, Qt::LeftButton);
    QCOMPARE(w_->txtsearch->text(), Typed::rAma());
    QVERIFY(w_->ChkName->isChecked());
    w_->Txtplace->setText(G("g"));
    search();
    QCOMPARE(w_->matchCount(), 1);
    QCOMPARE(w_->Txtname->text(), G("v\xC0"));  // the place RA-KA, not the name RAMA
    // Only blanks in the place: the name is searched.
    w_->Txtplace->setText(G("  "));
    search();
    QCOMPARE(w_->matchCount(), 1);
    QCOMPARE(w_->Txtname->text(), Typed::rAma());
    // The state comes before the country, and both before the name.
    QTest::mouseClick(w_->ChkState, Qt::LeftButton);
    QTest::mouseClick(w_->Chkcountry, Qt::LeftButton);
    w_->TxtState->setText(G("P"));
    w_->TxtCountry->setText(G("\xA9"));
    search();
    QCOMPARE(w_->Txtname->text(), G("q\xC0"));
    w_->TxtState->setText(QString());
    search();
    QCOMPARE(w_->Txtname->text(), G("\x51"));
}

void AddressSearchTest::aQuoteIsSearchedLikeAnyOtherCharacter() {
    QTest::mouseClick(w_->Chkplace, Qt::LeftButton);
    QTest::keyClicks(w_->Txtplace, "k");
    typing_->kannada(false);
    QTest::keyClicks(w_->Txtplace, "'");
    QCOMPARE(w_->Txtplace->text(), G("P\xC0'"));
    search();
    QVERIFY(dialogs_->messages.isEmpty());
    QCOMPARE(w_->matchCount(), 1);
    QCOMPARE(w_->Txtname->text(), Typed::rAma());
    // A quote and the wildcards of other searches find nothing when nothing has them.
    for (const char *odd : {"'", "P\xC0''", "%", "*", "_"}) {
        dialogs_->forget();
        w_->Txtplace->setText(G(odd));
        search();
        QCOMPARE(w_->matchCount(), 0);
        QCOMPARE(dialogs_->messages, QStringList{RecordCaption::noMatch()});
    }
    QCOMPARE(addressCount(), int(std::size(kSamples)));
}

void AddressSearchTest::theMatchShowsItsEightBoxes() {
    QTest::mouseClick(w_->ChkState, Qt::LeftButton);
    w_->TxtState->setText(G("P"));
    search();
    QCOMPARE(w_->matchCount(), 1);
    QCOMPARE(w_->Txtname->text(), G("q\xC0"));
    QCOMPARE(w_->txtrelation->text(), G("\xAA\xC0\xC4\xA3\xC9"));
    QCOMPARE(w_->TxtPrakara->text(), G("\xA9\xC3z\xC0g\xC0"));
    QCOMPARE(w_->TxtUpaprakara->text(), G("P\xC9\xC6\xC3\xAF\xC1g\xC0"));
    QCOMPARE(w_->txthphone->text(), G("0816"));
    QCOMPARE(w_->Txtemail->text(), G("da@x.in"));
    QCOMPARE(w_->txthaddress->text(), G("home\nline"));
    QCOMPARE(w_->txtoaddress->text(), G("office"));
    // A match without those details, or whose entries are gone, shows empty boxes.
    QTest::mouseClick(w_->Chkcountry, Qt::LeftButton);
    w_->TxtState->setText(QString());
    w_->TxtCountry->setText(G("\xA9"));
    search();
    QCOMPARE(w_->Txtname->text(), G("\x51"));
    QCOMPARE(w_->txtrelation->text(), G("P\xC0" "b\xC9\xC3j"));
    QCOMPARE(w_->TxtPrakara->text(), G("\xA9\xC3z\xC0g\xC0"));
    QCOMPARE(w_->TxtUpaprakara->text(), QString());  // sub-category 99 does not exist
    QCOMPARE(w_->txthphone->text(), QString());
    QCOMPARE(w_->Txtemail->text(), QString());
    QCOMPARE(w_->txthaddress->text(), QString());
    QCOMPARE(w_->txtoaddress->text(), QString());
    QVERIFY(w_->Txtname->isReadOnly());
}

void AddressSearchTest::theCheckBoxesEnableAndEmptyTheirBoxes() {
    for (GlyphLineEdit *box : {w_->txtsearch, w_->Txtplace, w_->TxtState, w_->TxtCountry}) QVERIFY(!box->isEnabled());
    QTest::mouseClick(w_->Chkplace, Qt::LeftButton);
    QTest::mouseClick(w_->ChkState, Qt::LeftButton);
    QVERIFY(w_->TxtState->hasFocus());
    w_->Txtplace->setText(G("P"));
    w_->TxtState->setText(G("g"));
    // The name excludes the others: their boxes are emptied and disabled.
    QTest::mouseClick(w_->ChkName, Qt::LeftButton);
    QVERIFY(!w_->Chkplace->isChecked() && !w_->ChkState->isChecked());
    QVERIFY(!w_->Txtplace->isEnabled() && !w_->TxtState->isEnabled());
    QCOMPARE(w_->Txtplace->text(), QString());
    QCOMPARE(w_->TxtState->text(), QString());
    QVERIFY(w_->txtsearch->isEnabled() && w_->txtsearch->hasFocus());
    QTest::keyClicks(w_->txtsearch, "k");
    QTest::mouseClick(w_->ChkName, Qt::LeftButton);
    QVERIFY(!w_->txtsearch->isEnabled());
    QCOMPARE(w_->txtsearch->text(), QString());
}

void AddressSearchTest::theThreeMessages() {
    search();
    QCOMPARE(dialogs_->messages, QStringList{RecordCaption::noCriterion()});
    // Blanks in the place box count as nothing.
    QTest::mouseClick(w_->Chkplace, Qt::LeftButton);
    QTest::keyClicks(w_->Txtplace, "  ");
    dialogs_->forget();
    search();
    QCOMPARE(dialogs_->messages, QStringList{RecordCaption::noCriterion()});
    // Only blanks in the name box.
    QTest::mouseClick(w_->ChkName, Qt::LeftButton);
    QTest::keyClicks(w_->txtsearch, " ");
    dialogs_->forget();
    search();
    QCOMPARE(dialogs_->messages, QStringList{RecordCaption::onlyBlanks()});
    // A name typed with a leading blank finds only names that begin with a blank. (Offscreen,
    // no window manager gives the window back its activation after the message.)
    QVERIFY(showActive(w_));
    w_->txtsearch->setFocus();
    QTest::keyClicks(w_->txtsearch, "k");
    QCOMPARE(w_->txtsearch->text(), G(" P\xC0"));
    dialogs_->forget();
    search();
    QCOMPARE(dialogs_->messages, QStringList{RecordCaption::noMatch()});
    QCOMPARE(w_->Txtname->text(), QString());
    QCOMPARE(w_->Vs->maximum(), 1);
}

void AddressSearchTest::resetClearsTheCriteriaButKeepsTheMatch() {
    QTest::mouseClick(w_->Chkplace, Qt::LeftButton);
    w_->Txtplace->setText(G("P"));
    search();
    w_->Vs->setValue(2);
    const QString shown = w_->Txtname->text();
    QTest::mouseClick(w_->Command2, Qt::LeftButton);
    QVERIFY(!w_->Chkplace->isChecked());
    QCOMPARE(w_->Txtplace->text(), QString());
    QVERIFY(!w_->Txtplace->isEnabled());
    QCOMPARE(w_->Vs->minimum(), 1);
    QCOMPARE(w_->Vs->maximum(), 1);
    QCOMPARE(w_->Txtname->text(), shown);
}

void AddressSearchTest::itOpensFromItsMenuAtTheTopLeft() {
    delete w_;  // a search window of the test's own would be brought forward instead
    w_ = nullptr;
    frmmain main;
    QVERIFY(showActive(&main));
    emit main.l[2]->mousePressed();
    QTest::mouseClick(main.menu(2)->findChild<MenuLabel *>("lopen"), Qt::LeftButton);
    QMdiSubWindow *sub = main.mdiArea->activeSubWindow();
    QVERIFY(sub);
    auto *search = qobject_cast<book5 *>(sub->widget());
    QVERIFY(search);
    QCOMPARE(sub->pos(), QPoint(0, 0));
    QCOMPARE(search->Label1->text(), Caption::searchTitle());
    QTest::mouseClick(search->Command3, Qt::LeftButton);
    QTRY_VERIFY(main.mdiArea->subWindowList().isEmpty());
}

QTEST_MAIN(AddressSearchTest)
#include "address_search_test.moc"
