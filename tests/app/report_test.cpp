// Reports and labels: the layout files, the printing of labels and lists into PDF files, and
// the reports window book9 driven as a person would, each run checked in the report table temp
// and in the pages of the PDF it wrote.
#include <QProgressBar>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QtTest>

#include <cmath>

#include "address_rows.h"
#include "reports_window.h"
#include "captions.h"
#include "data_access.h"
#include "record_captions.h"
#include "glyph_text.h"
#include "app_files.h"
#include "report_control.h"
#include "report_layout.h"
#include "report_renderer.h"
#include "report_test_support.h"

namespace {

const QString kDistrictA = G("\xA8\xC9" "AU\xC0\xBC\xC0\xC6g\xC0\xC4");
const QString kDistrictB = G("\xAA\xC9\xC4\xCA\xB8\xC0\xC6g\xC0\xC4");
const QString kRelation = G("\xB8\xC9\xDF\xC3\xBBv\xC0");
const QString kState = G("P\xC0\xA3\xC0\xF0lP\xC1");

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

class ReportTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    // Layouts and printing.
    void theShippedLayoutsDescribeALabelSheetAndAList();
    void layoutMistakesAreNamedWithTheirLine();
    void fieldsJoinOnALineOnlyWhenBothHaveText();
    void labelsFillSheetsOfTwentyOne();
    void theListPrintsEveryRowOnceInOrderAcrossItsPages();
    void kannadaPrintsAsKannadaScript();

    // The reports window.
    void theWindowOpensForItsModeWithTheListsFilled();
    void labelsWithTheSecondAddressFallBackToTheFirst();
    void labelsWithTheFirstAddressFallBackToTheSecond();
    void theGeneralListDoesNotFallBack();
    void aStateMatchesExactlyAndATrailingBlankMatchesNothing();
    void countryWinsOverName();
    void aListFilterBeatsATextBox();
    void aResetKeepsTheDistrictFilter();
    void theProgressBarAdvancesByOnePerRow();
    void anEmptySelectionTellsSoInEachMode();
    void textCriteriaAndListFiltersExcludeEachOther();
    void aBrokenLayoutIsToldNotPrinted();

private:
    book9 *openReports(int mode);
    // Runs the report into a new PDF file; returns its path.
    QString run(book9 *w);
    QString tempText(const QString &name, const char *column);
    int tempRows() { return TestDatabase::scalar("SELECT count(*) FROM temp").toInt(); }

    TestDatabase *db_ = nullptr;
    DialogAnswerer *dialogs_ = nullptr;
    QTemporaryDir out_;
    int runs_ = 0;
    QList<QPointer<book9>> windows_;
};

void ReportTest::initTestCase() { QVERIFY(!QStandardPaths::findExecutable("pdfinfo").isEmpty()); }

void ReportTest::init() {
    db_ = new TestDatabase;
    QVERIFY2(db_->opened(), qPrintable(db_->error()));
    dialogs_ = new DialogAnswerer;
    AddressBookData ref(Database::connection());
    QVERIFY(ref.save(RefTable::District, 1, kDistrictA, 0, SaveIntent::NewEntry).ok);
    QVERIFY(ref.save(RefTable::District, 2, kDistrictB, 0, SaveIntent::NewEntry).ok);
    QVERIFY(ref.save(RefTable::Relation, 1, kRelation, 0, SaveIntent::NewEntry).ok);
    QVERIFY(ref.save(RefTable::Prakara, 1, G("\xB1\xC1\xAF\xC9"), 0, SaveIntent::NewEntry).ok);
}

void ReportTest::cleanup() {
    qDeleteAll(windows_);
    windows_.clear();
    delete dialogs_;
    delete db_;
}

book9 *ReportTest::openReports(int mode) {
    ModDeclare::ReportMode = mode;
    auto *w = new book9;
    windows_ << w;
    w->Crrp->destination = ReportControl::Destination::File;
    w->show();
    return w;
}

QString ReportTest::run(book9 *w) {
    const QString path = out_.filePath(QStringLiteral("report-%1.pdf").arg(++runs_));
    w->Crrp->PrintFileName = path;
    w->cmdreport->click();
    return path;
}

QString ReportTest::tempText(const QString &name, const char *column) {
    const QVariant v = TestDatabase::scalar(QStringLiteral("SELECT %1 FROM temp WHERE Name = ?").arg(column), {name});
    return v.isNull() ? QStringLiteral("<null>") : v.toString();
}

// ---- Layouts and printing ---------------------------------------------------------------------

void ReportTest::theShippedLayoutsDescribeALabelSheetAndAList() {
    const ReportLayout labels = shipped("rpkeldalabel.rpt");
    QCOMPARE(labels.kind, ReportLayout::Kind::Labels);
    QCOMPARE(labels.labelsPerPage(), 21);
    QCOMPARE(labels.pageSize.id(), QPageSize::A4);
    QSet<QString> labelFields;
    for (const ReportContent &c : labels.lines)
        for (const ReportPart &p : c.parts)
            if (p.field) labelFields << p.text;
    QCOMPARE(labelFields, (QSet<QString>{"Name", "haddress", "hcity", "hpin_code"}));

    const ReportLayout list = shipped("rpoffice.rpt");
    QCOMPARE(list.kind, ReportLayout::Kind::List);
    QSet<QString> listFields;
    for (const ReportColumn &c : list.columns)
        for (const ReportPart &p : c.content.parts)
            if (p.field) listFields << p.text;
    QCOMPARE(listFields, (QSet<QString>{"Name", "haddress", "hcity", "hpin_code", "hphone", "he_mail", "ojob", "odept"}));
    // Each file tells a person how it is written.
    for (const char *file : {"rpkeldalabel.rpt", "rpoffice.rpt"}) {
        QFile f(AppFiles::path(QLatin1String(file)));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(f.readAll());
        QVERIFY(text.startsWith(QLatin1Char('#')));
        QVERIFY2(text.contains("FIELDS are the columns of the report table"), file);
    }
}

void ReportTest::layoutMistakesAreNamedWithTheirLine() {
    const QString base = QStringLiteral("report labels\npage A4\nmargins 10 10 10 10\nlabels 3 7\nlabel 60 38\n");
    struct Case {
        QString text;
        const char *expected;
    };
    const Case cases[] = {
        {base + "line Name\nline hcountry\n", "line 7: \"hcountry\" is no field"},
        {base + "line Name \"unclosed\n", "line 6: a quoted text is not closed"},
        {base + "line Name lines 0\n", "line 6: \"lines\" needs a whole number"},
        {base + "line Name\nsize 3\n", "line 7: \"size\" is no setting"},
        {base + "line \" - \"\n", "line 6: there is no field to print"},
        {QStringLiteral("page A4\nline Name\n"), "does not say \"report labels\""},
        {QStringLiteral("report labels\npage A4\nmargins 10 5 10 5\nlabels 3 7\nlabel 70 38\nline Name\n"),
         "the labels do not fit on the paper"},
        {QStringLiteral("report list\npage A4\nmargins 10 10 10 10\ncolumn \"a\" 120 Name\ncolumn \"b\" 80 hphone\n"),
         "wider than the paper"},
        {QStringLiteral("report list\npage B9\n"), "line 2: the paper is A4, A5"},
    };
    for (const Case &c : cases) {
        QString error;
        QVERIFY2(!ReportLayout::parse(c.text, &error), c.expected);
        QVERIFY2(error.contains(QLatin1String(c.expected)), qPrintable(error));
    }
    QString error;
    const std::optional<ReportLayout> ok = ReportLayout::parse(base + "# a comment\nline Name bold lines 2  # and one here\n", &error);
    QVERIFY2(ok, qPrintable(error));
    QCOMPARE(ok->lines.size(), 1);
    QVERIFY(ok->lines.first().bold);
    QCOMPARE(ok->lines.first().maxLines, 2);
    QCOMPARE(ok->labelSize, QSizeF(60, 38));
    QVERIFY(!ReportLayout::load(out_.filePath("missing.rpt"), &error));
    QVERIFY(error.contains("missing.rpt"));
}

void ReportTest::fieldsJoinOnALineOnlyWhenBothHaveText() {
    ReportContent c;
    c.parts = {{true, "haddress"}, {true, "hcity"}, {false, " - "}, {true, "hpin_code"}, {true, "he_mail"}};
    ReportRow r;
    r.address = G("P\xC0\nq\xC0");
    r.place = G("Hg\xC0\xC4");
    r.pinCode = "560001";
    r.email = "Ka@example.in";
    const QString address = GlyphText::toDisplay(r.address), place = GlyphText::toDisplay(r.place);
    QCOMPARE(ReportRenderer::compose(c, r), (QStringList{address, place + " - 560001", "Ka@example.in"}));
    r.place.clear();
    QCOMPARE(ReportRenderer::compose(c, r), (QStringList{address, "560001", "Ka@example.in"}));
    r.pinCode.clear();
    r.email.clear();
    r.place = G("Hg\xC0\xC4");
    QCOMPARE(ReportRenderer::compose(c, r), (QStringList{address, place}));
    // Glyph text turns into Kannada script; the e-mail address is Latin and stays as it is.
    QVERIFY(address.contains(QChar(0x0C95)));
}

void ReportTest::labelsFillSheetsOfTwentyOne() {
    const ReportLayout labels = shipped("rpkeldalabel.rpt");
    for (int count : {1, 21, 22, 43}) {
        const QString path = out_.filePath(QStringLiteral("labels-%1.pdf").arg(count));
        QString error;
        const int pages = ReportRenderer::writePdf(labels, markedRows(count), path, &error);
        QVERIFY2(pages > 0, qPrintable(error));
        const int expected = (count + 20) / 21;
        QCOMPARE(pages, expected);
        QCOMPARE(Pdf::pages(path), expected);
        // Each sheet holds its own 21 labels, every one with its PIN code.
        for (int page = 1; page <= expected; ++page) {
            QStringList pins = markers(Pdf::text(path, page), QStringLiteral("5\\d{5}"));
            pins.sort();
            QStringList wanted;
            for (int i = (page - 1) * 21; i < qMin(count, page * 21); ++i) wanted << QStringLiteral("5%1").arg(i, 5, 10, QLatin1Char('0'));
            QCOMPARE(pins, wanted);
        }
    }
    QString error;
    QCOMPARE(ReportRenderer::writePdf(labels, {}, out_.filePath("none.pdf"), &error), 0);
    QVERIFY(!QFile::exists(out_.filePath("none.pdf")));
}

void ReportTest::theListPrintsEveryRowOnceInOrderAcrossItsPages() {
    const ReportLayout list = shipped("rpoffice.rpt");
    const int count = 80;
    const QString path = out_.filePath("list.pdf");
    QString error;
    const int pages = ReportRenderer::writePdf(list, markedRows(count), path, &error);
    QVERIFY2(pages >= 2, qPrintable(QStringLiteral("%1 pages %2").arg(pages).arg(error)));
    QCOMPARE(Pdf::pages(path), pages);
    QStringList all;
    for (int page = 1; page <= pages; ++page) {
        const QString text = Pdf::text(path, page);
        const QStringList here = markers(text, QStringLiteral("080-7\\d{4}"));
        QVERIFY2(!here.isEmpty(), qPrintable(QStringLiteral("page %1 is empty").arg(page)));
        all += here;
        QVERIFY2(text.contains(QStringLiteral("%1 / %2").arg(page).arg(pages)), qPrintable(text.right(200)));
        QVERIFY(text.contains("someone"));
    }
    QStringList wanted;
    for (int i = 0; i < count; ++i) wanted << QStringLiteral("080-7%1").arg(i, 4, 10, QLatin1Char('0'));
    QCOMPARE(all, wanted);

    // One row more than the first page holds starts a page of its own.
    const int firstPage = static_cast<int>(markers(Pdf::text(path, 1), QStringLiteral("080-7\\d{4}")).size());
    QCOMPARE(ReportRenderer::writePdf(list, markedRows(firstPage), out_.filePath("one.pdf"), &error), 1);
    QCOMPARE(ReportRenderer::writePdf(list, markedRows(firstPage + 1), out_.filePath("two.pdf"), &error), 2);
    QCOMPARE(Pdf::pages(out_.filePath("two.pdf")), 2);
}

void ReportTest::kannadaPrintsAsKannadaScript() {
    const QString path = out_.filePath("kannada.pdf");
    QString error;
    QVERIFY(ReportRenderer::writePdf(shipped("rpkeldalabel.rpt"), markedRows(3), path, &error) == 1);
    QVERIFY2(Pdf::fonts(path).contains("Lohit"), qPrintable(Pdf::fonts(path)));
    const QString text = Pdf::text(path);
    int kannada = 0;
    for (QChar c : text) kannada += c.unicode() >= 0x0C80 && c.unicode() <= 0x0CFF;
    QVERIFY2(kannada > 20, qPrintable(text));
    // No glyph code is printed as the Latin-1 letter it is stored as.
    QVERIFY(!text.contains(QChar(0xC0)));
}

// ---- The reports window -----------------------------------------------------------------------

void ReportTest::theWindowOpensForItsModeWithTheListsFilled() {
    book9 *labels = openReports(50);
    QCOMPARE(labels->Label1->text(), Caption::labelsTitle());
    QCOMPARE(labels->CmbDistrict->count(), 2);
    QCOMPARE(labels->CmbRelation->count(), 1);
    QCOMPARE(labels->CmbPrakara->count(), 1);
    QVERIFY(labels->Frame2->isHidden());
    QVERIFY(labels->Opth->isChecked());
    QVERIFY(!labels->CmbDistrict->isEnabled());
    book9 *list = openReports(51);
    QCOMPARE(list->Label1->text(), Caption::generalTitle());
    // The window keeps the report it opened for, whatever the menu sets later.
    QCOMPARE(labels->reportMode(), 50);
    QCOMPARE(labels->Check9->text(), RecordCaption::filterDistrict());
    QCOMPARE(labels->l1->text(), G("v\xC9\xC6\xC3j\xB8\xC0\xC4w\xDBz\xC9"));
}

void ReportTest::labelsWithTheSecondAddressFallBackToTheFirst() {
    TestAddress a = makeAddress(1, G("g\xC1\xAA\xC0\xC4"));
    a.haddress = G("\xAA\xC0\xC4\xA3\xC9 \xA3\xC0" "A. 7");
    a.hcity = G("Hg\xC0\xC4");
    a.hpin_code = "577201";
    QVERIFY(insertAddress(a));
    // One who has both gets the second, without the first one's PIN code and place.
    TestAddress both = makeAddress(2, G("\xB9\xC3v\xC1"));
    both.haddress = G("H1");
    both.oaddress = G("P\xC0Z\xC9\xC3j");
    both.hpin_code = "577209";
    QVERIFY(insertAddress(both));
    book9 *w = openReports(50);
    w->OptO->click();
    const QString pdf = run(w);
    QCOMPARE(tempText(both.name, "haddress"), both.oaddress.toString());
    QCOMPARE(tempText(both.name, "hpin_code"), QStringLiteral("<null>"));
    QCOMPARE(tempText(a.name, "haddress"), a.haddress.toString());
    QCOMPARE(tempText(a.name, "hpin_code"), QStringLiteral("577201"));
    QCOMPARE(tempText(a.name, "hcity"), a.hcity.toString());
    QCOMPARE(Pdf::pages(pdf), 1);
    QVERIFY(Pdf::text(pdf).contains("577201"));
    QVERIFY(dialogs_->messages.isEmpty());
    QVERIFY(w->Frame2->isHidden());
    QVERIFY(w->cmdreport->isEnabled());
}

void ReportTest::labelsWithTheFirstAddressFallBackToTheSecond() {
    TestAddress a = makeAddress(1, G("\xB9\xC3v\xC1"));
    a.oaddress = G("P\xC0Z\xC9\xC3j 12");
    a.hcity = G("Hg\xC0\xC4");
    a.hpin_code = "577202";
    QVERIFY(insertAddress(a));
    // Two more, to see the page count follow the rows.
    QVERIFY(insertAddress(makeAddress(2, kannadaName(2))));
    QVERIFY(insertAddress(makeAddress(3, kannadaName(3))));
    book9 *w = openReports(50);
    const QString pdf = run(w);
    QCOMPARE(tempRows(), 3);
    QCOMPARE(tempText(a.name, "haddress"), a.oaddress.toString());
    QCOMPARE(tempText(a.name, "hpin_code"), QStringLiteral("<null>"));
    QCOMPARE(tempText(a.name, "hcity"), QStringLiteral("<null>"));
    QCOMPARE(Pdf::pages(pdf), 1);
    QVERIFY(!Pdf::text(pdf).contains("577202"));
    QVERIFY(Pdf::text(pdf).contains("12"));
}

void ReportTest::theGeneralListDoesNotFallBack() {
    TestAddress a = makeAddress(1, G("\xB9\xC3v\xC1"), 0, 0, 0, 1);
    a.oaddress = G("P\xC0Z\xC9\xC3j");
    a.hphone = "080 2233";
    a.he_mail = "sita@example.in";
    QVERIFY(insertAddress(a));
    book9 *w = openReports(51);
    const QString pdf = run(w);
    QCOMPARE(tempText(a.name, "Name"), a.name);
    QCOMPARE(tempText(a.name, "haddress"), QStringLiteral("<null>"));
    QCOMPARE(tempText(a.name, "hphone"), QStringLiteral("080 2233"));
    QCOMPARE(tempText(a.name, "ojob"), G("\xB1\xC1\xAF\xC9"));
    QCOMPARE(Pdf::pages(pdf), 1);
    QVERIFY(Pdf::text(pdf).contains("sita@example.in"));
}

void ReportTest::aStateMatchesExactlyAndATrailingBlankMatchesNothing() {
    for (int i = 1; i <= 30; ++i) {
        TestAddress a = makeAddress(i, kannadaName(i));
        a.hstate = i % 2 ? kState : kState + G("\xC0");
        QVERIFY(insertAddress(a));
    }
    book9 *w = openReports(50);
    w->Check1->click();
    QVERIFY(w->TxtState->isEnabled());
    w->TxtState->setText(kState);
    const QString pdf = run(w);
    QCOMPARE(tempRows(), 15);
    QCOMPARE(Pdf::pages(pdf), 1);
    QCOMPARE(w->rowsCopied(), 15);

    w->TxtState->setText(kState + " ");
    const QString none = run(w);
    QCOMPARE(dialogs_->messages, QStringList{RecordCaption::nothingFound()});
    QCOMPARE(tempRows(), 0);
    QVERIFY(!QFile::exists(none));
}

void ReportTest::countryWinsOverName() {
    TestAddress byName = makeAddress(1, G("g\xC1\xAA\xC0\xC4")), byCountry = makeAddress(2, G("\xB9\xC3v\xC1"));
    byCountry.hcountry = G("\xA8s\xC1g\xC0v\xC0");
    QVERIFY(insertAddress(byName) && insertAddress(byCountry));
    book9 *w = openReports(50);
    // Both boxes typed before any criterion was ticked.
    w->Txtname->setText(byName.name);
    w->TxtCountry->setText(byCountry.hcountry.toString());
    const QString pdf = run(w);
    QCOMPARE(tempRows(), 1);
    QCOMPARE(tempText(byCountry.name, "Name"), byCountry.name);
    QCOMPARE(Pdf::pages(pdf), 1);
}

void ReportTest::aListFilterBeatsATextBox() {
    for (int i = 1; i <= 25; ++i) QVERIFY(insertAddress(makeAddress(i, kannadaName(i), 0, i <= 23 ? 1 : 2)));
    book9 *w = openReports(50);
    w->Txtname->setText(kannadaName(24));
    w->Check9->click();
    QVERIFY(pickItem(w->CmbDistrict, kDistrictA));
    const QString pdf = run(w);
    QCOMPARE(tempRows(), 23);
    QCOMPARE(Pdf::pages(pdf), 2);
}

void ReportTest::aResetKeepsTheDistrictFilter() {
    for (int i = 1; i <= 6; ++i) QVERIFY(insertAddress(makeAddress(i, kannadaName(i), i % 2, i <= 4 ? 2 : 1)));
    book9 *w = openReports(51);
    w->Check9->click();
    QVERIFY(pickItem(w->CmbDistrict, kDistrictB));
    w->Check4->click();
    QVERIFY(pickItem(w->CmbRelation, kRelation));
    w->OptO->click();
    run(w);
    QCOMPARE(tempRows(), 2);  // district 2 and relation 1: addresses 1 and 3

    w->cmdcancel->click();
    QVERIFY(w->Check9->isChecked());
    QCOMPARE(w->CmbDistrict->text(), kDistrictB);
    QVERIFY(!w->Check4->isChecked());
    QVERIFY(w->CmbRelation->text().isEmpty());
    QVERIFY(w->Opth->isChecked());
    QVERIFY(w->PB->isHidden() && w->l1->isHidden());
    const QString pdf = run(w);
    QCOMPARE(tempRows(), 4);
    QCOMPARE(Pdf::pages(pdf), 1);
}

void ReportTest::theProgressBarAdvancesByOnePerRow() {
    QVERIFY(TestDatabase::exec("BEGIN"));
    for (int i = 1; i <= 130; ++i) QVERIFY(insertAddress(makeAddress(i, kannadaName(i))));
    QVERIFY(TestDatabase::exec("COMMIT"));
    book9 *w = openReports(50);
    QSignalSpy values(w->PB, &QProgressBar::valueChanged);
    bool shownWhileCopying = false;
    connect(w->PB, &QProgressBar::valueChanged, w, [&] { shownWhileCopying = shownWhileCopying || w->PB->isVisible(); });
    const QString pdf = run(w);
    QList<int> seen;
    for (const QList<QVariant> &v : values) seen << v.first().toInt();
    QList<int> wanted;
    for (int i = 1; i <= 130; ++i) wanted << i;
    QCOMPARE(seen.mid(seen.size() - 130), wanted);
    QCOMPARE(w->PB->maximum(), 130);
    QVERIFY(shownWhileCopying);
    QCOMPARE(Pdf::pages(pdf), 7);  // 130 labels, 21 to a sheet
}

void ReportTest::anEmptySelectionTellsSoInEachMode() {
    QVERIFY(insertAddress(makeAddress(1, kannadaName(1), 0, 1)));
    for (int mode : {50, 51}) {
        book9 *w = openReports(mode);
        run(w);
        QCOMPARE(tempRows(), 1);
        w->Check9->click();
        QVERIFY(pickItem(w->CmbDistrict, kDistrictB));
        dialogs_->messages.clear();
        const QString pdf = run(w);
        QCOMPARE(dialogs_->messages,
                 QStringList{mode == 50 ? RecordCaption::nothingFound() : RecordCaption::nothingFoundList()});
        QCOMPARE(tempRows(), 0);
        QVERIFY(!QFile::exists(pdf));
        QVERIFY(w->cmdreport->isEnabled());
    }
}

void ReportTest::textCriteriaAndListFiltersExcludeEachOther() {
    book9 *w = openReports(50);
    // A taluk or sub-category needs its district or category first.
    w->Check3->click();
    QCOMPARE(dialogs_->messages, QStringList{RecordCaption::firstDistrict()});
    QVERIFY(!w->Check3->isChecked());
    w->Check6->click();
    QCOMPARE(dialogs_->messages.last(), RecordCaption::firstPrakara());
    QVERIFY(!w->Check6->isChecked());

    w->Check9->click();
    QVERIFY(w->CmbDistrict->isEnabled());
    QVERIFY(pickItem(w->CmbDistrict, kDistrictA));
    w->Check7->click();
    QVERIFY(!w->Check9->isChecked());
    QVERIFY(w->CmbDistrict->text().isEmpty());
    QVERIFY(!w->CmbDistrict->isEnabled());
    QVERIFY(w->Txtname->isEnabled());
    w->Txtname->setText(G("g\xC1"));
    w->Check8->click();
    QVERIFY(!w->Check7->isChecked());
    QVERIFY(w->Txtname->text().isEmpty());
    QVERIFY(!w->Txtname->isEnabled());
    w->Txtplace->setText(G("Hg\xC0\xC4"));
    w->Check2->click();
    QVERIFY(!w->Check8->isChecked());
    QVERIFY(w->Txtplace->text().isEmpty());
    QVERIFY(w->CmbPrakara->isEnabled());

    w->cmdexit->click();
    QTRY_VERIFY(!w->isVisible());
}

void ReportTest::aBrokenLayoutIsToldNotPrinted() {
    QVERIFY(insertAddress(makeAddress(1, kannadaName(1))));
    AddressListData data(Database::connection());
    QCOMPARE(data.fillReportTable({}, ReportKind::Labels, AddressChoice::First), 1);
    QFile broken(out_.filePath("broken.rpt"));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("report labels\nlabel 60 30\nline Name hfax\n");
    broken.close();
    ReportControl control;
    control.destination = ReportControl::Destination::File;
    control.PrintFileName = out_.filePath("broken.pdf");
    control.ReportFileName = broken.fileName();
    QVERIFY(!control.run(nullptr));
    QCOMPARE(dialogs_->failures.size(), 1);
    QVERIFY2(dialogs_->failures.first().contains("line 3"), qPrintable(dialogs_->failures.first()));
    QVERIFY(!QFile::exists(control.PrintFileName));
    control.ReportFileName = out_.filePath("absent.rpt");
    QVERIFY(!control.run(nullptr));
    QVERIFY(dialogs_->failures.last().contains("absent.rpt"));
}

QTEST_MAIN(ReportTest)
#include "report_test.moc"
