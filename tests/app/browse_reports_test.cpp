// The browse window book7 and the reports window book9 driven as a person uses them (filters
// ticked and picked, rows chosen, changed and deleted; reports run into PDF files), and the
// report layouts and their printing, read back from the PDF pages. Which addresses a selection
// takes and what the report table receives of each is the data layer's (address_selection_test).
#include <QHeaderView>
#include <QListWidget>
#include <QMdiArea>
#include <QProgressBar>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableWidget>

#include "address_entry_window.h"
#include "address_selection.h"
#include "app_files.h"
#include "browse_window.h"
#include "captions.h"
#include "csv_format.h"
#include "exchange_captions.h"
#include "export_window.h"
#include "glyph_text.h"
#include "import_window.h"
#include "flex_grid.h"
#include "main_window.h"
#include "record_captions.h"
#include "report_control.h"
#include "report_layout.h"
#include "report_renderer.h"
#include "reports_window.h"
#include "window_test.h"

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

bool gridEmpty(FlexGrid *grid) { return grid->Rows() == 2 && grid->TextMatrix(1, 1).isEmpty(); }

void clickRow(FlexGrid *grid, int row, bool twice = false) {
    const QPoint at = grid->visualRect(grid->model()->index(row - 1, 1)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    if (!twice) return;
    // As a platform delivers a double click: press, release, press, double click, release.
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, at);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, at, grid->viewport()->mapToGlobal(at), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &dbl);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, at);
}

// Ticks the filter and picks the entry of that text in its list.
bool filter(GlyphCheckBox *check, GlyphComboBox *list, const QString &entry) {
    if (!check->isChecked()) check->click();
    return pickItem(list, entry);
}

ReportLayout shipped(const char *file) {
    QString error;
    const std::optional<ReportLayout> l = ReportLayout::load(AppFiles::path(QLatin1String(file)), &error);
    if (!l) qWarning() << error;
    return l.value_or(ReportLayout());
}

// Report rows whose PIN codes and phones are markers that pdftotext reads back.
QVector<ReportRow> markedRows(int count) {
    QVector<ReportRow> rows;
    for (int i = 0; i < count; ++i) {
        ReportRow r;
        r.name = kannadaName(i);
        r.address = G("\xAA\xC0\xC4\xA3\xC9 \xA3\xC0" "A. 12\nCq\xC0\xD8 g\xC0\xB8\xC9\xDB");
        r.place = G("\xAA\xC9\xC4\xCA\xB8\xC0\xC6g\xC0\xC4");
        r.pinCode = QStringLiteral("5%1").arg(i, 5, 10, QLatin1Char('0'));
        r.phone = QStringLiteral("080-7%1").arg(i, 4, 10, QLatin1Char('0'));
        r.email = QStringLiteral("someone%1@example.in").arg(i);
        rows << r;
    }
    return rows;
}

// The markers of that pattern in the text, in the order they stand.
QStringList markers(const QString &text, const QString &pattern) {
    QStringList found;
    QRegularExpressionMatchIterator it = QRegularExpression(pattern).globalMatch(text);
    while (it.hasNext()) found << it.next().captured(0);
    return found;
}

}  // namespace

class BrowseReportsTest : public WindowTest {
    Q_OBJECT

private slots:
    // The browse window.
    void noListListsEveryRecordInSortOrder();
    void thePickedListsDecideAndDeleteEmptiesAList();
    void theFiltersNeedTheirParentsAndAllAddressesClearsThem();
    void anEmptyListIsToldAndAnEmptyGridDoesNothing();
    void deletingAsksAndTakesOnlyThatRow();
    void aChangeInTheEntryWindowRewritesItsRowInPlace();
    void resetEmptiesTheListsButKeepsTicksAndGrid();
    void theGridShowsLinesTipsWhatIsCutOffAndSortsByAHeader();

    // Layouts and printing.
    void layoutMistakesAreNamedWithTheirLine();
    void fieldsJoinOnALineOnlyWhenBothHaveText();
    void labelsFillSheetsOfTwentyOneInKannadaScript();
    void theListPrintsEveryRowOnceInOrderAcrossItsPages();

    // The reports window.
    void theWindowKeepsItsModeAndPrintsTheChosenAddress();
    void textCriteriaAndListFiltersPickTheRows();
    void aResetKeepsTheDistrictFilter();
    void theProgressBarAdvancesByOnePerRow();
    void anEmptySelectionTellsSoInEachMode();
    void textCriteriaAndListFiltersExcludeEachOther();
    void aBrokenLayoutIsToldNotPrinted();

    // The export and import windows.
    void theListGoesOutAndComesBackThroughTheImportPreview();

private:
    void prepare() override {
        QVERIFY(seed(RefTable::District, 1, kDistrict1) && seed(RefTable::District, 2, kDistrict2) &&
                seed(RefTable::Taluk, 5, kTaluk, 1) && seed(RefTable::Relation, 1, kRelation1) &&
                seed(RefTable::Relation, 2, kRelation2) && seed(RefTable::Prakara, 1, kPrakara1) &&
                seed(RefTable::Prakara, 2, kPrakara2) && seed(RefTable::Upaprakara, 7, kUpaprakara, 1));
    }
    book7 *openBrowse() { return open(new book7); }
    book9 *openReports(int mode) {
        ModDeclare::ReportMode = mode;
        book9 *w = open(new book9);
        if (w) w->Crrp->destination = ReportControl::Destination::File;
        return w;
    }
    // Runs the report into a new PDF file; returns its path.
    QString run(book9 *w) {
        const QString path = out_.filePath(QStringLiteral("report-%1.pdf").arg(++runs_));
        w->Crrp->PrintFileName = path;
        w->cmdreport->click();
        return path;
    }
    static int tempRows() { return count("SELECT count(*) FROM temp"); }

    QTemporaryDir out_;
    int runs_ = 0;
};

// ---- The browse window ------------------------------------------------------------------------

void BrowseReportsTest::noListListsEveryRecordInSortOrder() {
    QStringList names;
    for (int i = 1; i <= 12; ++i) {
        TestAddress a = makeAddress(i, kannadaName(i), i % 3, i % 2 + 1, 0, i % 2 + 1);
        a.hphone = QStringLiteral("080 %1").arg(i);
        a.hcity = G("Hg\xC0\xC4");
        QVERIFY(insertAddress(a));
        names << a.name;
    }
    book7 *w = openBrowse();
    QVERIFY(w && gridEmpty(w->Mg));
    w->cmdview->click();
    QCOMPARE(gridNames(w->Mg), inSortOrder(names));
    // Each row: the hidden number, the name, category, sub-category, phone and place.
    const int row = static_cast<int>(gridNames(w->Mg).indexOf(kannadaName(4))) + 1;
    QStringList cells;
    for (int c = 0; c < 6; ++c) cells << w->Mg->TextMatrix(row, c);
    QCOMPARE(cells, (QStringList{"4", kannadaName(4), kPrakara1, "", "080 4", G("Hg\xC0\xC4")}));
    QVERIFY(answerer_->messages.isEmpty());
}

void BrowseReportsTest::thePickedListsDecideAndDeleteEmptiesAList() {
    QVERIFY(insertAddress(makeAddress(1, kannadaName(1), 2, 1, 5, 1, 7)));
    QVERIFY(insertAddress(makeAddress(2, kannadaName(2), 2, 1, 0, 1, 0)));
    QVERIFY(insertAddress(makeAddress(3, kannadaName(3), 1, 1, 5, 1, 7)));
    QVERIFY(insertAddress(makeAddress(4, kannadaName(4), 2, 2, 5, 1, 7)));
    book7 *w = openBrowse();
    QVERIFY(w);
    QVERIFY(filter(w->Check2, w->CmbDistrict, kDistrict1) && filter(w->Check4, w->CmbRelation, kRelation2) &&
            filter(w->Check5, w->CmbPrakara, kPrakara1));
    w->cmdview->click();
    QCOMPARE(gridNames(w->Mg), inSortOrder({kannadaName(1), kannadaName(2)}));
    QVERIFY(filter(w->Check3, w->CmbTaluk, kTaluk) && filter(w->Check6, w->CmbUpaprakara, kUpaprakara));
    w->cmdview->click();
    QCOMPARE(gridNames(w->Mg), QStringList{kannadaName(1)});
    // Delete empties the district list and takes the taluk entries away; the taluk's text stays,
    // and a taluk without its district lists everything.
    w->CmbDistrict->setFocus();
    QTest::keyClick(w->CmbDistrict, Qt::Key_Delete);
    QVERIFY(w->CmbDistrict->text().isEmpty());
    QCOMPARE(w->CmbTaluk->text(), kTaluk);
    QCOMPARE(w->CmbTaluk->count(), 0);
    w->cmdview->click();
    QCOMPARE(w->Mg->Rows() - 1, 4);
}

void BrowseReportsTest::theFiltersNeedTheirParentsAndAllAddressesClearsThem() {
    book7 *w = openBrowse();
    QVERIFY(w && !w->CmbDistrict->isEnabled());
    w->Check3->click();
    QCOMPARE(answerer_->messages, QStringList{RecordCaption::firstDistrict()});
    QVERIFY(!w->Check3->isChecked());
    w->Check6->click();
    QCOMPARE(answerer_->messages.last(), RecordCaption::firstPrakara());
    QVERIFY(!w->Check6->isChecked());
    QVERIFY(filter(w->Check2, w->CmbDistrict, kDistrict1));
    w->Check3->click();
    QCOMPARE(w->CmbTaluk->count(), 1);
    // A district picked again refills its taluks afresh, never twice over.
    QVERIFY(pickItem(w->CmbDistrict, kDistrict1));
    QCOMPARE(w->CmbTaluk->count(), 1);
    QVERIFY(pickItem(w->CmbDistrict, kDistrict2));
    QCOMPARE(w->CmbTaluk->count(), 0);
    // Taking the district's tick off takes the taluk's along.
    w->Check2->click();
    QVERIFY(!w->Check3->isChecked() && w->CmbDistrict->text().isEmpty());
    QVERIFY(filter(w->Check2, w->CmbDistrict, kDistrict1) && filter(w->Check4, w->CmbRelation, kRelation1) &&
            filter(w->Check5, w->CmbPrakara, kPrakara2));
    w->Check1->click();
    for (GlyphCheckBox *c : {w->Check2, w->Check3, w->Check4, w->Check5, w->Check6}) QVERIFY(!c->isChecked());
    for (GlyphComboBox *l : {w->CmbDistrict, w->CmbTaluk, w->CmbRelation, w->CmbPrakara})
        QVERIFY(l->text().isEmpty() && !l->isEnabled());
}

void BrowseReportsTest::anEmptyListIsToldAndAnEmptyGridDoesNothing() {
    QVERIFY(insertAddress(makeAddress(1, kannadaName(1), 0, 1)));
    book7 *w = openBrowse();
    QVERIFY(w && filter(w->Check2, w->CmbDistrict, kDistrict2));
    w->cmdview->click();
    QCOMPARE(answerer_->messages, QStringList{RecordCaption::nothingFound()});
    QVERIFY(gridEmpty(w->Mg));
    ModDeclare::SelectedRow = 0;
    ModDeclare::EditMode = false;
    clickRow(w->Mg, 1);
    w->cmdchange->click();
    w->CmdDelete->click();
    QCOMPARE(ModDeclare::SelectedRow, 0);
    QVERIFY(!ModDeclare::EditMode);
    QVERIFY(answerer_->questions.isEmpty());
}

void BrowseReportsTest::deletingAsksAndTakesOnlyThatRow() {
    for (int i = 1; i <= 4; ++i) QVERIFY(insertAddress(makeAddress(i, kannadaName(i))));
    book7 *w = openBrowse();
    QVERIFY(w);
    w->cmdview->click();
    const QStringList before = gridNames(w->Mg);
    clickRow(w->Mg, 2);
    QCOMPARE(ModDeclare::SelectedRow, 2);
    const int id = w->Mg->TextMatrix(2, 0).toInt();
    QCOMPARE(ModDeclare::CurrentId, id);
    w->CmdDelete->click();  // answered no; the question names the address
    QCOMPARE(answerer_->questions, QStringList{RecordCaption::deleteQuestion().arg(before.at(1), QString::number(id))});
    QCOMPARE(gridNames(w->Mg), before);
    answerer_->answerNextQuestion(true);
    w->CmdDelete->click();
    QStringList after = before;
    after.removeAt(1);
    QCOMPARE(gridNames(w->Mg), after);
    QCOMPARE(column(id, "Name").toString(), QStringLiteral("<none>"));
    QCOMPARE(count("SELECT count(*) FROM addressh"), 3);
    // Deleting the only row left listed leaves the empty grid.
    QVERIFY(filter(w->Check2, w->CmbDistrict, kDistrict2));
    QVERIFY(insertAddress(makeAddress(9, kannadaName(9), 0, 2)));
    w->cmdview->click();
    clickRow(w->Mg, 1);
    answerer_->answerNextQuestion(true);
    w->CmdDelete->click();
    QVERIFY(gridEmpty(w->Mg) && w->Mg->TextMatrix(1, 0).isEmpty());
    QCOMPARE(ModDeclare::SelectedRow, 0);
}

void BrowseReportsTest::aChangeInTheEntryWindowRewritesItsRowInPlace() {
    for (int i = 1; i <= 5; ++i) QVERIFY(insertAddress(makeAddress(i, kannadaName(i), 0, 0, 0, 1)));
    frmmain *main = open(new frmmain);
    QVERIFY(main);
    auto *w = qobject_cast<book7 *>(main->showWindow(QStringLiteral("book7")));
    QVERIFY(w);
    w->cmdview->click();
    const QStringList before = gridNames(w->Mg);
    const int id = w->Mg->TextMatrix(3, 0).toInt();
    clickRow(w->Mg, 3, true);  // a double click opens it for change
    auto *entry = main->findChild<FrmAddressEntry *>();
    QVERIFY(entry && ModDeclare::EditMode);
    QCOMPARE(entry->Txtname->text(), before.at(2));
    // A name that sorts first; the row keeps its place all the same, once the window closes.
    const QString renamed = G("C") + before.at(2);
    entry->Txtname->setText(renamed);
    answerer_->answerNextQuestion(true);
    entry->Cmdsave->click();
    QTRY_COMPARE(column(id, "Name").toString(), renamed);
    QCOMPARE(w->Mg->TextMatrix(3, 1), before.at(2));
    entry->Command2->click();
    QTRY_COMPARE(w->Mg->TextMatrix(3, 1), renamed);
    QTRY_VERIFY(!main->findChild<FrmAddressEntry *>());
    QCOMPARE(gridNames(w->Mg).mid(3), before.mid(3));
    QCOMPARE(w->Mg->TextMatrix(3, 2), kPrakara1);

    // A browse window closed before the entry window has nothing to refresh; opened again, it
    // starts empty.
    clickRow(w->Mg, 1);
    w->cmdchange->click();
    entry = main->findChild<FrmAddressEntry *>();
    QVERIFY(entry);
    w->cmdback->click();
    QTRY_VERIFY(!main->findChild<book7 *>());
    entry->Command2->click();
    QTRY_VERIFY(!main->findChild<FrmAddressEntry *>());
    auto *again = qobject_cast<book7 *>(main->showWindow(QStringLiteral("book7")));
    QVERIFY(again && gridEmpty(again->Mg));
}

void BrowseReportsTest::resetEmptiesTheListsButKeepsTicksAndGrid() {
    QVERIFY(insertAddress(makeAddress(1, kannadaName(1), 1, 1)));
    book7 *w = openBrowse();
    QVERIFY(w && filter(w->Check2, w->CmbDistrict, kDistrict1) && filter(w->Check4, w->CmbRelation, kRelation1));
    w->cmdview->click();
    ModDeclare::EditMode = true;
    w->cmdcancel->click();
    QVERIFY(!ModDeclare::EditMode);
    QVERIFY(w->CmbDistrict->text().isEmpty() && w->CmbRelation->text().isEmpty());
    QVERIFY(w->Check2->isChecked() && w->Check4->isChecked());
    QCOMPARE(gridNames(w->Mg), QStringList{kannadaName(1)});
    QPointer<book7> gone = w;
    w->Command4->click();
    QTRY_VERIFY(gone.isNull());
}

// A phone of two lines shows both, one under the other; a place too long for its cell shows
// whole as a tip; a header click sorts by that column in Kannada order, again the other way.
void BrowseReportsTest::theGridShowsLinesTipsWhatIsCutOffAndSortsByAHeader() {
    for (int i = 1; i <= 4; ++i) {
        TestAddress a = makeAddress(i, kannadaName(i));
        a.hphone = i == 2 ? QStringLiteral("080 1111\n080 2222") : QStringLiteral("080 %1").arg(i);
        a.hcity = i == 3 ? G("Hg\xC0\xC4 ").repeated(20) : kannadaName(5 - i);
        QVERIFY(insertAddress(a));
    }
    book7 *w = openBrowse();
    QVERIFY(w);
    w->cmdview->click();
    FlexGrid *g = w->Mg;
    const auto rowOf = [&](int id) { return int(gridNames(g).indexOf(kannadaName(id))) + 1; };
    const int one = g->rowHeight(rowOf(1) - 1), two = g->rowHeight(rowOf(2) - 1);
    QVERIFY2(two >= 2 * one - 8, qPrintable(QStringLiteral("%1 and %2").arg(one).arg(two)));
    QCOMPARE(g->cutOffText(rowOf(2), 4), QString());  // both lines show
    QCOMPARE(g->cutOffText(rowOf(1), 5), QString());
    QCOMPARE(g->cutOffText(rowOf(3), 5), GlyphText::toDisplay(G("Hg\xC0\xC4 ").repeated(20)));
    clickRow(g, rowOf(4));
    const auto clickHeader = [&](int col) {
        QHeaderView *h = g->horizontalHeader();
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(h->sectionViewportPosition(col) + 5, h->height() / 2));
    };
    clickHeader(5);
    QStringList places;
    for (int r = 1; r < g->Rows(); ++r) places << g->TextMatrix(r, 5);
    QCOMPARE(places, inSortOrder(places));
    QVERIFY(gridNames(g) != inSortOrder(gridNames(g)));
    QCOMPARE(g->TextMatrix(g->Row(), 0), QStringLiteral("4"));  // the chosen row goes with its address
    clickHeader(1);
    QCOMPARE(gridNames(g), inSortOrder(gridNames(g)));
    clickHeader(1);
    QStringList down = inSortOrder(gridNames(g));
    std::reverse(down.begin(), down.end());
    QCOMPARE(gridNames(g), down);
    QCOMPARE(g->rowHeight(rowOf(2) - 1), two);  // the tall row stays with its address
}

// ---- Layouts and printing ---------------------------------------------------------------------

void BrowseReportsTest::layoutMistakesAreNamedWithTheirLine() {
    const QString base = QStringLiteral("report labels\npage A4\nmargins 10 10 10 10\nlabels 3 7\nlabel 60 38\n");
    const std::pair<QString, const char *> cases[] = {
        {base + "line Name\nline hcountry\n", "line 7: \"hcountry\" is no field"},
        {base + "line Name \"unclosed\n", "line 6: a quoted text is not closed"},
        {base + "line Name lines 0\n", "line 6: \"lines\" needs a whole number"},
        {QStringLiteral("report labels\npage A4\nmargins 10 5 10 5\nlabels 3 7\nlabel 70 38\nline Name\n"),
         "the labels do not fit on the paper"},
        {QStringLiteral("report list\npage A4\nmargins 10 10 10 10\ncolumn \"a\" 120 Name\ncolumn \"b\" 80 hphone\n"),
         "wider than the paper"},
        {QStringLiteral("report list\npage B9\n"), "line 2: the paper is A4, A5"},
    };
    for (const auto &[text, expected] : cases) {
        QString error;
        QVERIFY2(!ReportLayout::parse(text, &error), expected);
        QVERIFY2(error.contains(QLatin1String(expected)), qPrintable(error));
    }
    QString error;
    const auto ok = ReportLayout::parse(base + "# a comment\nline Name bold lines 2  # and one here\n", &error);
    QVERIFY2(ok && ok->lines.size() == 1, qPrintable(error));
    QVERIFY(ok->lines.first().bold);
    QCOMPARE(ok->lines.first().maxLines, 2);
    QVERIFY(!ReportLayout::load(out_.filePath("missing.rpt"), &error));
    QVERIFY(error.contains("missing.rpt"));
}

void BrowseReportsTest::fieldsJoinOnALineOnlyWhenBothHaveText() {
    ReportContent c;
    c.parts = {{true, "haddress"}, {true, "hcity"}, {false, " - "}, {true, "hpin_code"}, {true, "he_mail"}};
    ReportRow r;
    r.address = G("P\xC0\nq\xC0");
    r.place = G("Hg\xC0\xC4");
    r.pinCode = "560001";
    r.email = "Ka@example.in";
    // Glyph text turns into Kannada script; the e-mail address is Latin and stays as it is.
    const QString address = GlyphText::toDisplay(r.address), place = GlyphText::toDisplay(r.place);
    QVERIFY(address.contains(QChar(0x0C95)));
    QCOMPARE(ReportRenderer::compose(c, r), (QStringList{address, place + " - 560001", "Ka@example.in"}));
    r.place.clear();
    QCOMPARE(ReportRenderer::compose(c, r), (QStringList{address, "560001", "Ka@example.in"}));
    r.pinCode.clear();
    r.email.clear();
    r.place = G("Hg\xC0\xC4");
    QCOMPARE(ReportRenderer::compose(c, r), (QStringList{address, place}));
}

void BrowseReportsTest::labelsFillSheetsOfTwentyOneInKannadaScript() {
    const ReportLayout labels = shipped("rpkeldalabel.rpt");
    for (int rows : {1, 21, 22, 43}) {
        const QString path = out_.filePath(QStringLiteral("labels-%1.pdf").arg(rows));
        QString error;
        const int expected = (rows + 20) / 21;
        QCOMPARE(ReportRenderer::writePdf(labels, markedRows(rows), path, &error), expected);
        QCOMPARE(Pdf::pages(path), expected);
        // Each sheet holds its own 21 labels, every one with its PIN code.
        for (int page = 1; page <= expected; ++page) {
            QStringList pins = markers(Pdf::text(path, page), QStringLiteral("5\\d{5}"));
            pins.sort();
            QStringList wanted;
            for (int i = (page - 1) * 21; i < qMin(rows, page * 21); ++i)
                wanted << QStringLiteral("5%1").arg(i, 5, 10, QLatin1Char('0'));
            QCOMPARE(pins, wanted);
        }
    }
    // The names print in the Kannada font, and a reader finds each as the Unicode Kannada it
    // shows, conjuncts and all; never the Latin-1 letters they are stored as.
    const QString text = Pdf::text(out_.filePath("labels-43.pdf"));
    QVERIFY2(Pdf::run("pdffonts", {out_.filePath("labels-43.pdf")}).contains("Lohit"), "no Kannada font");
    for (const ReportRow &r : markedRows(43))
        QVERIFY2(text.contains(GlyphText::toDisplay(r.name)), qPrintable(GlyphText::toDisplay(r.name)));
    QVERIFY(!text.contains(QChar(0xC0)));
    QString error;
    QCOMPARE(ReportRenderer::writePdf(labels, {}, out_.filePath("none.pdf"), &error), 0);
    QVERIFY(!QFile::exists(out_.filePath("none.pdf")));
}

void BrowseReportsTest::theListPrintsEveryRowOnceInOrderAcrossItsPages() {
    const ReportLayout list = shipped("rpoffice.rpt");
    const QString path = out_.filePath("list.pdf");
    QString error;
    const int pages = ReportRenderer::writePdf(list, markedRows(80), path, &error);
    QVERIFY2(pages >= 2, qPrintable(error));
    QCOMPARE(Pdf::pages(path), pages);
    QStringList all;
    for (int page = 1; page <= pages; ++page) {
        const QString text = Pdf::text(path, page);
        const QStringList here = markers(text, QStringLiteral("080-7\\d{4}"));
        QVERIFY2(!here.isEmpty() && text.contains("someone"), qPrintable(QStringLiteral("page %1").arg(page)));
        all += here;
        QVERIFY2(text.contains(QStringLiteral("%1 / %2").arg(page).arg(pages)), qPrintable(text.right(200)));
    }
    QStringList wanted;
    for (int i = 0; i < 80; ++i) wanted << QStringLiteral("080-7%1").arg(i, 4, 10, QLatin1Char('0'));
    QCOMPARE(all, wanted);
    // An e-mail address too long for its column breaks only after its "@" and its dots.
    QVector<ReportRow> rows = markedRows(1);
    rows[0].email = QStringLiteral("kalyanasundaram.venkataramanan@mysoreuniversity.example.in");
    QCOMPARE(ReportRenderer::writePdf(list, rows, out_.filePath("email.pdf"), &error), 1);
    const QStringList lines = Pdf::text(out_.filePath("email.pdf")).split(QLatin1Char('\n'));
    for (const char *part : {"kalyanasundaram.", "venkataramanan@", "mysoreuniversity."})
        QVERIFY2(std::any_of(lines.begin(), lines.end(), [&](const QString &l) { return l.contains(part); }), part);
    // One row more than the first page holds starts a page of its own.
    const int firstPage = static_cast<int>(markers(Pdf::text(path, 1), QStringLiteral("080-7\\d{4}")).size());
    QCOMPARE(ReportRenderer::writePdf(list, markedRows(firstPage), out_.filePath("one.pdf"), &error), 1);
    QCOMPARE(ReportRenderer::writePdf(list, markedRows(firstPage + 1), out_.filePath("two.pdf"), &error), 2);
}

// ---- The reports window -----------------------------------------------------------------------

void BrowseReportsTest::theWindowKeepsItsModeAndPrintsTheChosenAddress() {
    TestAddress both = makeAddress(1, G("\xB9\xC3v\xC1"));
    both.haddress = G("H1");
    both.oaddress = G("P\xC0Z\xC9\xC3j 12");
    both.hpin_code = "577209";
    TestAddress first = makeAddress(2, G("g\xC1\xAA\xC0\xC4"));
    first.haddress = G("\xAA\xC0\xC4\xA3\xC9");
    first.hpin_code = "577201";
    QVERIFY(insertAddress(both) && insertAddress(first));
    book9 *w = openReports(50);
    QVERIFY(w);
    QCOMPARE(w->Label1->text(), Caption::labelsTitle());
    QCOMPARE(w->CmbDistrict->count(), 2);
    QVERIFY(w->Frame2->isHidden() && w->Opth->isChecked() && !w->CmbDistrict->isEnabled());
    for (GlyphLineEdit *box : {w->Txtname, w->Txtplace, w->TxtState, w->TxtCountry}) QVERIFY(!box->isEnabled());
    QVERIFY(openReports(51));
    QCOMPARE(w->reportMode(), 50);  // whatever the menu sets later
    // The second address where there is one (whose PIN code is not the first's), else the first.
    w->OptO->click();
    const QString pdf = run(w);
    QCOMPARE(Pdf::pages(pdf), 1);
    QVERIFY(Pdf::text(pdf).contains("577201") && !Pdf::text(pdf).contains("577209"));
    QVERIFY(answerer_->messages.isEmpty());
    QVERIFY(w->Frame2->isHidden() && w->cmdreport->isEnabled());
}

void BrowseReportsTest::textCriteriaAndListFiltersPickTheRows() {
    const QString state = G("P\xC0\xA3\xC0\xF0lP\xC1");
    for (int i = 1; i <= 30; ++i) {
        TestAddress a = makeAddress(i, kannadaName(i), 0, i <= 23 ? 1 : 2);
        a.hstate = i % 2 ? state : state + G("\xC0");
        QVERIFY(insertAddress(a));
    }
    book9 *w = openReports(50);
    QVERIFY(w);
    w->Check1->click();
    QVERIFY(w->TxtState->isEnabled());
    w->TxtState->setText(state);
    QCOMPARE(Pdf::pages(run(w)), 1);
    QCOMPARE(tempRows(), 15);
    QCOMPARE(w->rowsCopied(), 15);
    // The text counts as typed: a trailing blank matches nothing.
    w->TxtState->setText(state + " ");
    QVERIFY(!QFile::exists(run(w)));
    QCOMPARE(answerer_->messages, QStringList{RecordCaption::nothingFound()});
    // A list filter beats a text box typed before it was ticked.
    w->Check1->click();
    w->Txtname->setText(kannadaName(24));
    QVERIFY(filter(w->Check9, w->CmbDistrict, kDistrict1));
    QCOMPARE(Pdf::pages(run(w)), 2);
    QCOMPARE(tempRows(), 23);
}

void BrowseReportsTest::aResetKeepsTheDistrictFilter() {
    for (int i = 1; i <= 6; ++i) QVERIFY(insertAddress(makeAddress(i, kannadaName(i), i % 2, i <= 4 ? 2 : 1)));
    book9 *w = openReports(51);
    QVERIFY(w && filter(w->Check9, w->CmbDistrict, kDistrict2) && filter(w->Check4, w->CmbRelation, kRelation1));
    w->OptO->click();
    run(w);
    QCOMPARE(tempRows(), 2);  // district 2 and relation 1: addresses 1 and 3
    w->cmdcancel->click();
    QVERIFY(w->Check9->isChecked());
    QCOMPARE(w->CmbDistrict->text(), kDistrict2);
    QVERIFY(!w->Check4->isChecked() && w->CmbRelation->text().isEmpty());
    QVERIFY(w->Opth->isChecked());
    QVERIFY(w->PB->isHidden() && w->l1->isHidden());
    QCOMPARE(Pdf::pages(run(w)), 1);
    QCOMPARE(tempRows(), 4);
}

void BrowseReportsTest::theProgressBarAdvancesByOnePerRow() {
    QVERIFY(TestDatabase::exec("BEGIN"));
    for (int i = 1; i <= 130; ++i) QVERIFY(insertAddress(makeAddress(i, kannadaName(i))));
    QVERIFY(TestDatabase::exec("COMMIT"));
    book9 *w = openReports(50);
    QVERIFY(w);
    QSignalSpy values(w->PB, &QProgressBar::valueChanged);
    bool shownWhileCopying = false;
    connect(w->PB, &QProgressBar::valueChanged, w, [&] { shownWhileCopying = shownWhileCopying || w->PB->isVisible(); });
    // No event runs while temp is being filled inside its transaction, however long the copy
    // takes (the first row here takes a while); a timer that finds the transaction open says so.
    QVERIFY(TestDatabase::exec("CREATE TRIGGER slow AFTER INSERT ON temp WHEN (SELECT count(*) FROM temp) = 1 BEGIN "
                               "SELECT count(*) FROM addressh a, addressh b, addressh c, addressh d WHERE d.id_no <= 5; END"));
    bool ranInside = false;
    QTimer tick;
    connect(&tick, &QTimer::timeout, [&] {
        QSqlDatabase db = Database::connection();
        if (db.transaction())
            db.rollback();
        else
            ranInside = true;
    });
    tick.start(0);
    const QString pdf = run(w);
    tick.stop();
    QVERIFY(!ranInside);
    QList<int> seen, wanted;
    for (const QList<QVariant> &v : values) seen << v.first().toInt();
    for (int i = 1; i <= 130; ++i) wanted << i;
    QCOMPARE(seen.mid(seen.size() - 130), wanted);
    QCOMPARE(w->PB->maximum(), 130);
    QVERIFY(shownWhileCopying);
    QCOMPARE(Pdf::pages(pdf), 7);  // 130 labels, 21 to a sheet
}

void BrowseReportsTest::anEmptySelectionTellsSoInEachMode() {
    QVERIFY(insertAddress(makeAddress(1, kannadaName(1), 0, 1)));
    for (int mode : {50, 51}) {
        book9 *w = openReports(mode);
        QVERIFY(w && filter(w->Check9, w->CmbDistrict, kDistrict2));
        answerer_->forget();
        QVERIFY(!QFile::exists(run(w)));
        QCOMPARE(answerer_->messages,
                 QStringList{mode == 50 ? RecordCaption::nothingFound() : RecordCaption::nothingFoundList()});
        QCOMPARE(tempRows(), 0);
        QVERIFY(w->cmdreport->isEnabled());
    }
}

void BrowseReportsTest::textCriteriaAndListFiltersExcludeEachOther() {
    book9 *w = openReports(50);
    QVERIFY(w && filter(w->Check9, w->CmbDistrict, kDistrict1));
    w->Check7->click();
    QVERIFY(!w->Check9->isChecked() && w->CmbDistrict->text().isEmpty() && !w->CmbDistrict->isEnabled());
    QVERIFY(w->Txtname->isEnabled());
    w->Txtname->setText(G("g\xC1"));
    w->Check8->click();
    QVERIFY(!w->Check7->isChecked() && w->Txtname->text().isEmpty() && !w->Txtname->isEnabled());
    w->Txtplace->setText(G("Hg\xC0\xC4"));
    w->Check2->click();
    QVERIFY(!w->Check8->isChecked() && w->Txtplace->text().isEmpty());
    QVERIFY(w->CmbPrakara->isEnabled());
    QPointer<book9> gone = w;
    w->cmdexit->click();
    QTRY_VERIFY(gone.isNull());
}

void BrowseReportsTest::aBrokenLayoutIsToldNotPrinted() {
    QVERIFY(insertAddress(makeAddress(1, kannadaName(1))));
    QCOMPARE(AddressListData(Database::connection()).fillReportTable({}, ReportKind::Labels, AddressChoice::First), 1);
    QFile broken(out_.filePath("broken.rpt"));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("report labels\nlabel 60 30\nline Name hfax\n");
    broken.close();
    ReportControl control;
    control.destination = ReportControl::Destination::File;
    control.PrintFileName = out_.filePath("broken.pdf");
    control.ReportFileName = broken.fileName();
    QVERIFY(!control.run(nullptr));
    control.ReportFileName = out_.filePath("absent.rpt");
    QVERIFY(!control.run(nullptr));
    QCOMPARE(answerer_->failures.size(), 2);
    QVERIFY2(answerer_->failures.first().contains("line 3"), qPrintable(answerer_->failures.first()));
    QVERIFY(answerer_->failures.last().contains("absent.rpt"));
    QVERIFY(!QFile::exists(control.PrintFileName));
    answerer_->forget();
}

// ---- The export and import windows -------------------------------------------------------------

// The browse window's list handed to the export, and the file back in the import's preview with
// a new district to accept or decline and a name the glyph encoding cannot hold.
void BrowseReportsTest::theListGoesOutAndComesBackThroughTheImportPreview() {
    for (int i = 1; i <= 12; ++i) QVERIFY(insertAddress(makeAddress(i, kannadaName(i), 1, 2)));
    frmmain *main = open(new frmmain);
    auto *browse = qobject_cast<book7 *>(main->showWindow(QStringLiteral("book7")));
    QVERIFY(browse);
    browse->Check1->click();
    browse->cmdview->click();
    browse->cmdexport->click();
    auto *out = main->findChild<ExportWindow *>();
    QVERIFY(out && out->LblChoice->text().endsWith(QStringLiteral(": 12")));
    out->OptCsv->click();
    const QString file = out_.filePath(QStringLiteral("out.csv"));
    QVERIFY(out->exportTo(file));
    QFile csv(file);
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QCOMPARE(CsvFormat::read(csv.readAll()).records.size(), 12);
    csv.close();
    QVERIFY(csv.open(QIODevice::Append));
    csv.write(QStringLiteral("99,ಹೊಸಬ,,,,,ಹೊಸ ಜಿಲ್ಲೆ\r\n,José\r\n").toUtf8());
    csv.close();

    // Twelve to change, one to add with its new district, one left out and why.
    auto *in = qobject_cast<ImportWindow *>(main->showWindow(QStringLiteral("ImportWindow")));
    QVERIFY(in && in->openFile(file));
    QCOMPARE(in->GrdPreview->rowCount(), 14);
    const QString add = GlyphText::toDisplay(ExchangeCaption::add());
    QCOMPARE(in->GrdPreview->item(12, 2)->text(), add);
    QVERIFY(in->GrdPreview->item(13, 3)->text().contains(QStringLiteral("cannot hold \"é\"")));
    QCOMPARE(in->LstNewEntries->count(), 1);
    // Declined, the district keeps its record out; accepted again, in it goes.
    in->LstNewEntries->item(0)->setCheckState(Qt::Unchecked);
    QCOMPARE(in->GrdPreview->item(12, 2)->text(), GlyphText::toDisplay(ExchangeCaption::skip()));
    in->LstNewEntries->item(0)->setCheckState(Qt::Checked);
    QCOMPARE(in->GrdPreview->item(12, 2)->text(), add);
    in->CmdImport->click();
    QCOMPARE(answerer_->messages, (QStringList{ExchangeCaption::exportedAddresses() + QStringLiteral(": 12"),
                                               ExchangeCaption::importDone()}));
    QCOMPARE(count("SELECT count(*) FROM addressh"), 13);
    QCOMPARE(count("SELECT districtno FROM addressh WHERE id_no = 99"), count("SELECT max(districtno) FROM district"));
    QVERIFY(!in->CmdImport->isEnabled());
}

QTEST_MAIN(BrowseReportsTest)
#include "browse_reports_test.moc"
