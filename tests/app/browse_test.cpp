// The browse window book7 driven as a person uses it: filters ticked and picked, the list
// shown, rows chosen, changed in the entry window and deleted.
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QtTest>

#include <algorithm>

#include "address_rows.h"
#include "browse_window.h"
#include "data_access.h"
#include "record_captions.h"
#include "filter_panel.h"
#include "flex_grid.h"
#include "address_entry_window.h"
#include "main_window.h"
#include "keyboard_bridge.h"
#include "report_test_support.h"

namespace {

const QString kDistrict1 = G("\xA8\xC9" "AU\xC0\xBC\xC0\xC6g\xC0\xC4");
const QString kDistrict2 = G("\xAA\xC9\xC4\xCA\xB8\xC0\xC6g\xC0\xC4");
const QString kTaluk = G("D\xA3\xC9\xC3P\xC0\xAF\xEF");
const QString kRelation1 = G("\xB8\xC9\xDF\xC3\xBBv\xC0");
const QString kRelation2 = G("\xB8\xC0" "A\xA7" "A\xA2\xFC");
const QString kPrakara1 = G("\xB1\xC1\xAF\xC9");
const QString kPrakara2 = G("P\xC0Z\xC9\xC3j");
const QString kUpaprakara = G("\xB2P\xC0\xEBP\xC0");

// The names of the grid's rows, top to bottom.
QStringList gridNames(FlexGrid *grid) {
    QStringList names;
    for (int r = 1; r < grid->Rows(); ++r) names << grid->TextMatrix(r, 1);
    return names;
}

void clickRow(FlexGrid *grid, int row, bool twice = false) {
    const QPoint at = grid->visualRect(grid->model()->index(row - 1, 1)).center();
    if (twice) {
        // As a platform delivers a double click: press, release, press, double click, release.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
        QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, at);
        QMouseEvent dbl(QEvent::MouseButtonDblClick, at, grid->viewport()->mapToGlobal(at), Qt::LeftButton,
                        Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(grid->viewport(), &dbl);
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, at);
    } else
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
}

}  // namespace

class BrowseTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void noListListsEveryRecordInSortOrder();
    void districtRelationAndCategoryGiveExactlyThoseConditions();
    void aTalukWithoutItsDistrictOrASubCategoryWithoutItsCategoryListsEverything();
    void theFiltersNeedTheirParentsAndAllAddressesClearsThem();
    void nothingFoundIsToldAndLeavesTheEmptyHeader();
    void deletingAsksAndTakesOnlyThatRow();
    void deletingTheOnlyListedRecordLeavesTheEmptyHeader();
    void changingANameInTheEntryWindowUpdatesItsRowInPlace();
    void closingTheBrowseWindowFirstLeavesNothingToRefresh();
    void resetEmptiesTheListsButKeepsTicksAndGrid();

private:
    book7 *open();
    // Ticks the filter and picks the entry of that text in its list.
    void filter(GlyphCheckBox *check, GlyphComboBox *list, const QString &entry) {
        if (!check->isChecked()) check->click();
        QVERIFY(pickItem(list, entry));
    }

    TestDatabase *db_ = nullptr;
    DialogAnswerer *dialogs_ = nullptr;
    KeyboardBridge *bridge_ = nullptr;
    QPointer<book7> w_;
    frmmain *main_ = nullptr;
};

void BrowseTest::init() {
    db_ = new TestDatabase;
    QVERIFY2(db_->opened(), qPrintable(db_->error()));
    dialogs_ = new DialogAnswerer;
    AddressBookData ref(Database::connection());
    const struct {
        RefTable table;
        int number;
        QString name;
        int parent;
    } entries[] = {
        {RefTable::District, 1, kDistrict1, 0}, {RefTable::District, 2, kDistrict2, 0},
        {RefTable::Taluk, 5, kTaluk, 1},        {RefTable::Relation, 1, kRelation1, 0},
        {RefTable::Relation, 2, kRelation2, 0}, {RefTable::Prakara, 1, kPrakara1, 0},
        {RefTable::Prakara, 2, kPrakara2, 0},   {RefTable::Upaprakara, 7, kUpaprakara, 1},
    };
    for (const auto &e : entries) QVERIFY(ref.save(e.table, e.number, e.name, e.parent, SaveIntent::ByNumber).ok);
}

void BrowseTest::cleanup() {
    delete w_;
    delete main_;
    main_ = nullptr;
    delete bridge_;
    bridge_ = nullptr;
    delete dialogs_;
    delete db_;
}

book7 *BrowseTest::open() {
    w_ = new book7;
    w_->show();
    return w_;
}

void BrowseTest::noListListsEveryRecordInSortOrder() {
    QStringList names;
    for (int i = 1; i <= 12; ++i) {
        TestAddress a = makeAddress(i, kannadaName(i), i % 3, i % 2 + 1, 0, i % 2 + 1);
        a.hphone = QStringLiteral("080 %1").arg(i);
        a.hcity = G("Hg\xC0\xC4");
        QVERIFY(insertAddress(a));
        names << a.name;
    }
    book7 *w = open();
    // The grid opens with its header and one empty row; the number column is hidden.
    QCOMPARE(w->Mg->Rows(), 2);
    QCOMPARE(w->Mg->Cols(), 6);
    QVERIFY(w->Mg->isColumnHidden(0));
    QCOMPARE(w->Mg->TextMatrix(0, 1), RecordCaption::fullName() + QString(19, ' '));
    QCOMPARE(w->Mg->TextMatrix(0, 2), RecordCaption::prakara() + QString(20, ' '));
    QCOMPARE(w->Mg->TextMatrix(0, 3), RecordCaption::upaprakara() + QString(23, ' '));
    QCOMPARE(w->Mg->TextMatrix(0, 4), RecordCaption::phone() + QString(29, ' '));
    QCOMPARE(w->Mg->TextMatrix(0, 5), RecordCaption::place() + QString(16, ' '));
    QCOMPARE(w->CmbDistrict->count(), 2);
    QCOMPARE(w->CmbRelation->count(), 2);
    QCOMPARE(w->CmbPrakara->count(), 2);

    w->cmdview->click();
    QCOMPARE(gridNames(w->Mg), inSortOrder(names));
    // Each row: the hidden number, the name, category, sub-category, phone and place.
    const int row = static_cast<int>(gridNames(w->Mg).indexOf(kannadaName(4))) + 1;
    QCOMPARE(w->Mg->TextMatrix(row, 0), QStringLiteral("4"));
    QCOMPARE(w->Mg->TextMatrix(row, 2), kPrakara1);
    QCOMPARE(w->Mg->TextMatrix(row, 4), QStringLiteral("080 4"));
    QCOMPARE(w->Mg->TextMatrix(row, 5), G("Hg\xC0\xC4"));
    QVERIFY(dialogs_->messages.isEmpty());
}

void BrowseTest::districtRelationAndCategoryGiveExactlyThoseConditions() {
    // Four that meet all three (with any taluk and sub-category) and three that miss one each.
    QVERIFY(insertAddress(makeAddress(1, kannadaName(1), 2, 1, 5, 1, 7)));
    QVERIFY(insertAddress(makeAddress(2, kannadaName(2), 2, 1, 0, 1, 0)));
    QVERIFY(insertAddress(makeAddress(3, kannadaName(3), 2, 1, 9, 1, 8)));
    QVERIFY(insertAddress(makeAddress(4, kannadaName(4), 2, 1, 5, 1, 0)));
    QVERIFY(insertAddress(makeAddress(5, kannadaName(5), 1, 1, 5, 1, 7)));
    QVERIFY(insertAddress(makeAddress(6, kannadaName(6), 2, 2, 5, 1, 7)));
    QVERIFY(insertAddress(makeAddress(7, kannadaName(7), 2, 1, 5, 2, 7)));
    book7 *w = open();
    filter(w->Check2, w->CmbDistrict, kDistrict1);
    filter(w->Check4, w->CmbRelation, kRelation2);
    filter(w->Check5, w->CmbPrakara, kPrakara1);
    w->cmdview->click();
    QCOMPARE(gridNames(w->Mg), inSortOrder({kannadaName(1), kannadaName(2), kannadaName(3), kannadaName(4)}));

    // With the taluk too, only those of that taluk.
    filter(w->Check3, w->CmbTaluk, kTaluk);
    w->cmdview->click();
    QCOMPARE(gridNames(w->Mg), inSortOrder({kannadaName(1), kannadaName(4)}));
}

void BrowseTest::aTalukWithoutItsDistrictOrASubCategoryWithoutItsCategoryListsEverything() {
    for (int i = 1; i <= 6; ++i) QVERIFY(insertAddress(makeAddress(i, kannadaName(i), 1, i <= 2 ? 1 : 2, i <= 2 ? 5 : 0, 1, i == 1 ? 7 : 0)));
    book7 *w = open();
    filter(w->Check2, w->CmbDistrict, kDistrict1);
    filter(w->Check3, w->CmbTaluk, kTaluk);
    w->cmdview->click();
    QCOMPARE(w->Mg->Rows() - 1, 2);
    // Delete empties the district box and takes the taluk entries away; the taluk's text stays.
    w->CmbDistrict->setFocus();
    QTest::keyClick(w->CmbDistrict, Qt::Key_Delete);
    QVERIFY(w->CmbDistrict->text().isEmpty());
    QCOMPARE(w->CmbTaluk->text(), kTaluk);
    QCOMPARE(w->CmbTaluk->count(), 0);
    w->cmdview->click();
    QCOMPARE(w->Mg->Rows() - 1, 6);

    w->Check2->click();  // cleared: the district list and the taluk filter go
    QVERIFY(!w->Check3->isChecked());
    QVERIFY(w->CmbTaluk->text().isEmpty());
    filter(w->Check5, w->CmbPrakara, kPrakara1);
    filter(w->Check6, w->CmbUpaprakara, kUpaprakara);
    w->cmdview->click();
    QCOMPARE(gridNames(w->Mg), QStringList{kannadaName(1)});
    w->CmbPrakara->setFocus();
    QTest::keyClick(w->CmbPrakara, Qt::Key_Delete);
    QCOMPARE(w->CmbUpaprakara->text(), kUpaprakara);
    w->cmdview->click();
    QCOMPARE(w->Mg->Rows() - 1, 6);
    // A relation and a sub-category without a category: everything too.
    filter(w->Check4, w->CmbRelation, kRelation1);
    w->cmdview->click();
    QCOMPARE(w->Mg->Rows() - 1, 6);
}

void BrowseTest::theFiltersNeedTheirParentsAndAllAddressesClearsThem() {
    book7 *w = open();
    QVERIFY(!w->CmbDistrict->isEnabled());
    w->Check3->click();
    QCOMPARE(dialogs_->messages, QStringList{RecordCaption::firstDistrict()});
    QVERIFY(!w->Check3->isChecked());
    w->Check6->click();
    QCOMPARE(dialogs_->messages.last(), RecordCaption::firstPrakara());
    QVERIFY(!w->Check6->isChecked());

    filter(w->Check2, w->CmbDistrict, kDistrict1);
    QVERIFY(w->CmbDistrict->isEnabled());
    w->Check3->click();
    QVERIFY(w->Check3->isChecked());
    QCOMPARE(w->CmbTaluk->count(), 1);
    // A district picked again refills its taluks afresh, never twice over.
    QVERIFY(pickItem(w->CmbDistrict, kDistrict1));
    QCOMPARE(w->CmbTaluk->count(), 1);
    QVERIFY(pickItem(w->CmbDistrict, kDistrict2));
    QCOMPARE(w->CmbTaluk->count(), 0);
    filter(w->Check4, w->CmbRelation, kRelation1);
    filter(w->Check5, w->CmbPrakara, kPrakara2);

    w->Check1->click();
    for (GlyphCheckBox *c : {w->Check2, w->Check3, w->Check4, w->Check5, w->Check6}) QVERIFY(!c->isChecked());
    for (GlyphComboBox *l : {w->CmbDistrict, w->CmbTaluk, w->CmbRelation, w->CmbPrakara}) {
        QVERIFY(l->text().isEmpty());
        QVERIFY(!l->isEnabled());
    }
}

void BrowseTest::nothingFoundIsToldAndLeavesTheEmptyHeader() {
    QVERIFY(insertAddress(makeAddress(1, kannadaName(1), 0, 1)));
    book7 *w = open();
    w->cmdview->click();
    QCOMPARE(w->Mg->Rows(), 2);
    filter(w->Check2, w->CmbDistrict, kDistrict2);
    w->cmdview->click();
    QCOMPARE(dialogs_->messages, QStringList{RecordCaption::nothingFound()});
    QCOMPARE(w->Mg->Rows(), 2);
    QVERIFY(w->Mg->TextMatrix(1, 1).isEmpty());
    // On an empty grid a click, a change and a delete do nothing.
    ModDeclare::SelectedRow = 0;
    ModDeclare::EditMode = false;
    clickRow(w->Mg, 1);
    w->cmdchange->click();
    w->CmdDelete->click();
    QCOMPARE(ModDeclare::SelectedRow, 0);
    QVERIFY(!ModDeclare::EditMode);
    QVERIFY(dialogs_->questions.isEmpty());
}

void BrowseTest::deletingAsksAndTakesOnlyThatRow() {
    for (int i = 1; i <= 4; ++i) QVERIFY(insertAddress(makeAddress(i, kannadaName(i))));
    book7 *w = open();
    w->cmdview->click();
    const QStringList before = gridNames(w->Mg);
    clickRow(w->Mg, 2);
    QCOMPARE(ModDeclare::SelectedRow, 2);
    const int id = w->Mg->TextMatrix(2, 0).toInt();
    QCOMPARE(ModDeclare::CurrentId, id);

    w->CmdDelete->click();  // answered no
    QCOMPARE(dialogs_->questions, QStringList{RecordCaption::deleteQuestion()});
    QCOMPARE(gridNames(w->Mg), before);
    QCOMPARE(TestDatabase::scalar("SELECT count(*) FROM addressh").toInt(), 4);

    dialogs_->answerNextQuestion(true);
    w->CmdDelete->click();
    QStringList after = before;
    after.removeAt(1);
    QCOMPARE(gridNames(w->Mg), after);
    QVERIFY(!TestDatabase::scalar("SELECT count(*) FROM addressh WHERE id_no = ?", {id}).toBool());
    QCOMPARE(TestDatabase::scalar("SELECT count(*) FROM addressh").toInt(), 3);
}

void BrowseTest::deletingTheOnlyListedRecordLeavesTheEmptyHeader() {
    QVERIFY(insertAddress(makeAddress(1, kannadaName(1), 0, 1)));
    QVERIFY(insertAddress(makeAddress(2, kannadaName(2), 0, 2)));
    book7 *w = open();
    filter(w->Check2, w->CmbDistrict, kDistrict2);
    w->cmdview->click();
    QCOMPARE(gridNames(w->Mg), QStringList{kannadaName(2)});
    clickRow(w->Mg, 1);
    dialogs_->answerNextQuestion(true);
    w->CmdDelete->click();
    QCOMPARE(w->Mg->Rows(), 2);
    QVERIFY(w->Mg->TextMatrix(1, 1).isEmpty());
    QVERIFY(w->Mg->TextMatrix(1, 0).isEmpty());
    QCOMPARE(w->Mg->TextMatrix(0, 1), RecordCaption::fullName() + QString(19, ' '));
    QCOMPARE(TestDatabase::scalar("SELECT count(*) FROM addressh").toInt(), 1);
    QCOMPARE(ModDeclare::SelectedRow, 0);
}

void BrowseTest::changingANameInTheEntryWindowUpdatesItsRowInPlace() {
    for (int i = 1; i <= 5; ++i) QVERIFY(insertAddress(makeAddress(i, kannadaName(i), 0, 0, 0, 1)));
    bridge_ = new KeyboardBridge;
    bridge_->start();
    main_ = new frmmain;
    main_->show();
    w_ = qobject_cast<book7 *>(main_->showWindow(QStringLiteral("book7")));
    QVERIFY(w_);
    w_->cmdview->click();
    const QStringList before = gridNames(w_->Mg);
    const int id = w_->Mg->TextMatrix(3, 0).toInt();
    clickRow(w_->Mg, 3, true);  // a double click opens it for change

    auto *entry = main_->findChild<FrmAddressEntry *>();
    QVERIFY(entry);
    QVERIFY(ModDeclare::EditMode);
    QCOMPARE(ModDeclare::CurrentId, id);
    QCOMPARE(entry->Txtname->text(), before.at(2));
    // A name that sorts first; the row keeps its place all the same.
    const QString renamed = G("C") + before.at(2);
    entry->Txtname->setText(renamed);
    dialogs_->answerNextQuestion(true);
    entry->Cmdsave->click();
    QTRY_COMPARE(TestDatabase::scalar("SELECT Name FROM addressh WHERE id_no = ?", {id}).toString(), renamed);
    QCOMPARE(w_->Mg->TextMatrix(3, 1), before.at(2));  // not yet: the window is still open
    entry->Command2->click();
    QTRY_COMPARE(w_->Mg->TextMatrix(3, 1), renamed);
    QStringList after = before;
    after[2] = renamed;
    QCOMPARE(gridNames(w_->Mg), after);
    QCOMPARE(w_->Mg->TextMatrix(3, 2), kPrakara1);
}

void BrowseTest::closingTheBrowseWindowFirstLeavesNothingToRefresh() {
    QVERIFY(insertAddress(makeAddress(1, kannadaName(1))));
    bridge_ = new KeyboardBridge;
    bridge_->start();
    main_ = new frmmain;
    main_->show();
    auto *browse = qobject_cast<book7 *>(main_->showWindow(QStringLiteral("book7")));
    QVERIFY(browse);
    browse->cmdview->click();
    clickRow(browse->Mg, 1);
    browse->cmdchange->click();
    auto *entry = main_->findChild<FrmAddressEntry *>();
    QVERIFY(entry);
    browse->cmdback->click();
    QTRY_VERIFY(!main_->findChild<book7 *>());
    entry->Command2->click();
    QTRY_VERIFY(!main_->findChild<FrmAddressEntry *>());
    // Opened again, the browse window starts empty.
    auto *again = qobject_cast<book7 *>(main_->showWindow(QStringLiteral("book7")));
    QVERIFY(again);
    QCOMPARE(again->Mg->Rows(), 2);
    QVERIFY(again->Mg->TextMatrix(1, 1).isEmpty());
}

void BrowseTest::resetEmptiesTheListsButKeepsTicksAndGrid() {
    QVERIFY(insertAddress(makeAddress(1, kannadaName(1), 1, 1)));
    book7 *w = open();
    filter(w->Check2, w->CmbDistrict, kDistrict1);
    filter(w->Check4, w->CmbRelation, kRelation1);
    w->cmdview->click();
    ModDeclare::EditMode = true;
    w->cmdcancel->click();
    QVERIFY(!ModDeclare::EditMode);
    QVERIFY(w->CmbDistrict->text().isEmpty() && w->CmbRelation->text().isEmpty());
    QVERIFY(w->Check2->isChecked() && w->Check4->isChecked());
    QCOMPARE(gridNames(w->Mg), QStringList{kannadaName(1)});
    w->Command4->click();
    QTRY_VERIFY(w_.isNull());
}

QTEST_MAIN(BrowseTest)
#include "browse_test.moc"
