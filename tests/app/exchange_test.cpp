// vCard and CSV out and in: the round trip of a whole address book, the files as independent
// readers see them, the import's matching, its refusals with their reasons, and the command line.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "address_export.h"
#include "address_import.h"
#include "csv_format.h"
#include "exchange_conversion.h"
#include "exchange_samples.h"
#include "app_test_support.h"
#include "vcard_format.h"

// Failures show texts as they read.
inline void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }

namespace {

QString U(const char *utf8) { return QString::fromUtf8(utf8); }

QByteArray exported(ExchangeFormat format, const QVector<int> &numbers = {}) {
    AddressExport out(Database::connection());
    const std::optional<QByteArray> bytes = out.write(format, numbers);
    EXPECT_TRUE(bytes.has_value()) << out.lastError().toStdString();
    return bytes.value_or(QByteArray());
}

ImportPlan imported(const QByteArray &bytes, const QVector<NewEntry> &choices = {}) {
    AddressImport in(Database::connection());
    const std::optional<ImportPlan> plan = in.run(AddressImport::readBytes(bytes), choices);
    EXPECT_TRUE(plan.has_value()) << in.lastError().toStdString();
    return plan.value_or(ImportPlan());
}

int addressCount() { return TestDatabase::scalar("SELECT count(*) FROM addressh").toInt(); }

bool writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// The reasons of the rows not taken, one text per row.
QStringList refusals(const ImportPlan &plan) {
    QStringList out;
    for (const ImportRow &r : plan.rows)
        if (r.action == ImportRow::Action::Skip) out << QStringLiteral("%1: %2").arg(r.line).arg(r.reasons.join("; "));
    return out;
}

class ExchangeTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(db.opened()) << db.error().toStdString(); }
    TestDatabase db;
};

// 1,000 addresses with every box and reference: out, into an empty book, out again.
TEST_F(ExchangeTest, AWholeBookComesBackByteForByteInBothFormats) {
    QString error;
    ASSERT_TRUE(ExchangeSamples::fill(Database::connection(), 1000, &error)) << error.toStdString();
    const QByteArray vcard = exported(ExchangeFormat::VCard), csv = exported(ExchangeFormat::Csv);
    QStringList names;
    for (int id = 1; id <= 1000; ++id)
        names << *glyphsToUnicode(TestDatabase::scalar("SELECT Name FROM addressh WHERE id_no = ?", {id}).toString());

    // Read by independent parsers: every card's FN and every row's name is the stored name.
    const QString dir = db.folder();
    ASSERT_TRUE(writeFile(dir + "/book.vcf", vcard) && writeFile(dir + "/book.csv", csv));
    ASSERT_TRUE(writeFile(dir + "/names.txt", (names.join('\n') + '\n').toUtf8()));
    QProcess python;
    python.setProcessChannelMode(QProcess::MergedChannels);
    python.start("/usr/bin/python3", {EXCHANGE_READER, dir + "/book.vcf", dir + "/book.csv", dir + "/names.txt"});
    ASSERT_TRUE(python.waitForFinished(60000));
    EXPECT_EQ(python.exitCode(), 0) << python.readAll().toStdString();

    for (const auto &[format, bytes] : {std::pair{ExchangeFormat::VCard, vcard}, std::pair{ExchangeFormat::Csv, csv}}) {
        TestDatabase empty;
        ASSERT_TRUE(empty.opened());
        const ImportPlan plan = imported(bytes);
        EXPECT_EQ(plan.added, 1000);
        EXPECT_EQ(plan.skipped + plan.updated, 0) << refusals(plan).join('\n').toStdString();
        EXPECT_EQ(plan.newEntries.size(), 8 + 24 + 6 + 18 + 5) << "the reference lists grow by the new names";
        EXPECT_TRUE(exported(format) == bytes) << "the second export differs from the first";
        // Once more into the same book: every address and every reference is found.
        const ImportPlan again = imported(bytes);
        EXPECT_EQ(again.updated, 1000);
        EXPECT_EQ(again.newEntries.size(), 0);
        EXPECT_TRUE(exported(format) == bytes);
    }
}

TEST_F(ExchangeTest, VCardLinesAreFoldedWithoutSplittingACharacter) {
    ExchangeRecord r;
    r.number = 32768;
    r[ExchangeField::Name] = U("ಕನ್ನಡ, \"ರಾಮ\"; \\ ").repeated(6);
    r[ExchangeField::Phone] = "080 1\n\n 090 2 ";
    r[ExchangeField::OtherInfo] = "a\nb";
    const QByteArray card = VCardFormat::write(r);
    EXPECT_TRUE(card.startsWith("BEGIN:VCARD\r\nVERSION:4.0\r\nUID:urn:kelda-vasi:32768\r\n"));
    EXPECT_TRUE(card.contains("TEL;TYPE=voice:080 1\r\nTEL;TYPE=voice:090 2\r\n")) << card.toStdString();
    EXPECT_TRUE(card.contains("NOTE:a\\nb\r\n"));
    for (const QByteArray &line : card.chopped(1).split('\n')) {
        EXPECT_TRUE(line.endsWith('\r'));
        EXPECT_LE(line.size(), 76);
        EXPECT_TRUE(QString::fromUtf8(line).toUtf8() == line) << "a fold split a character";
    }
    const ExchangeFile back = VCardFormat::read(card);
    ASSERT_EQ(back.records.size(), 1);
    EXPECT_EQ(back.records[0].number, 32768);
    EXPECT_EQ(back.records[0][ExchangeField::Name], r[ExchangeField::Name].trimmed());
    EXPECT_EQ(back.records[0][ExchangeField::Phone], "080 1\n090 2");
}

// Cards as other programs write them: what fits a field is taken, the rest listed.
TEST_F(ExchangeTest, ForeignCardsAreReadAndWhatFitsNoFieldIsListed) {
    const QByteArray file =
        "BEGIN:VCARD\nVERSION:2.1\nN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=E0=B2=B0=E0=B2=BE=E0=B2=AE;=E0=B2=95=\n"
        "=E0=B3=83=E0=B2=B7=E0=B3=8D=E0=B2=A3;;;\nTEL;CELL;VOICE:+91 98450\nTEL;HOME;FAX:080 2\n"
        "item1.EMAIL;TYPE=INTERNET:a@b.in\nBDAY:1980-01-01\nEND:VCARD\n"
        "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Name\r\nADR;TYPE=WORK:;;Street 1;Town;State;560001;India\r\n"
        "ADR;TYPE=HOME,pref:;;Home\\, street;Place;;;\r\nADR:;;third;;;;\r\nCATEGORIES:a,b,c\r\nRELATED:urn:x\r\n"
        "ORG:Acme\r\n";
    const ExchangeFile f = VCardFormat::read(file);
    ASSERT_EQ(f.records.size(), 2);
    const ExchangeRecord &first = f.records[0], &second = f.records[1];
    EXPECT_EQ(first[ExchangeField::Name], U("ಕೃಷ್ಣ ರಾಮ"));
    EXPECT_EQ(first[ExchangeField::Phone], "+91 98450");
    EXPECT_EQ(first[ExchangeField::Fax], "080 2");
    EXPECT_EQ(first[ExchangeField::Email], "a@b.in");
    EXPECT_EQ(first.notTaken, QStringList{"BDAY: 1980-01-01"});
    EXPECT_EQ(second[ExchangeField::HomeAddress], "Home, street");
    EXPECT_EQ(second[ExchangeField::Place], "Place");
    EXPECT_EQ(second[ExchangeField::OtherAddress], "Street 1\nTown\nState\n560001\nIndia");
    EXPECT_EQ(second[ExchangeField::Category], "a");
    EXPECT_EQ(second[ExchangeField::SubCategory], "b");
    EXPECT_EQ(second.notTaken, (QStringList{"ADR: ;;third;;;;", "RELATED: urn:x", "ORG: Acme", "CATEGORIES: c"}));
    EXPECT_FALSE(second.error.isEmpty()) << "a card without its end is not taken";
    EXPECT_FALSE(VCardFormat::read("\xFF\xFE").error.isEmpty());
}

TEST_F(ExchangeTest, CsvColumnsAreFoundByTitleAndValuesQuotedOnlyWhenNeeded) {
    ExchangeRecord r;
    r.number = 7;
    r[ExchangeField::Name] = "a,b";
    r[ExchangeField::Phone] = "1\n2";
    r[ExchangeField::Email] = "say \"hi\"";
    r[ExchangeField::Place] = "plain";
    const QByteArray row = CsvFormat::row(r);
    EXPECT_TRUE(row.startsWith("7,\"a,b\",,,plain,,,,,,\"1\r\n2\",,,\"say \"\"hi\"\"\",")) << row.toStdString();
    EXPECT_TRUE(row.endsWith(",,,,,\r\n"));

    const ExchangeFile f = CsvFormat::read("\xEF\xBB\xBFphone,NAME,Shoe size\r\n\"1\r\n2\",\"x \"\"y\"\"\",44,extra\n\n,z");
    ASSERT_TRUE(f.error.isEmpty());
    ASSERT_EQ(f.records.size(), 2);
    EXPECT_EQ(f.records[0][ExchangeField::Phone], "1\n2");
    EXPECT_EQ(f.records[0][ExchangeField::Name], "x \"y\"");
    EXPECT_EQ(f.records[0].notTaken, QStringList{"a value past the last column: extra"});
    EXPECT_EQ(f.records[1].line, 5);
    EXPECT_EQ(f.notes, QStringList{"the column \"Shoe size\" is not taken"});
    EXPECT_TRUE(f.carries[int(ExchangeField::Phone)] && !f.carries[int(ExchangeField::Place)]);
    EXPECT_FALSE(CsvFormat::read("a,b\r\n1,2\r\n").error.isEmpty()) << "no column of ours";
}

// Matching by UID, then by name; a CSV without a column leaves that field as it was.
TEST_F(ExchangeTest, RecordsAreMatchedByUidThenByNameAndUpdated) {
    QString error;
    ASSERT_TRUE(ExchangeSamples::fill(Database::connection(), 3, &error));
    const QString two = *glyphsToUnicode(TestDatabase::scalar("SELECT Name FROM addressh WHERE id_no = 2").toString());
    const QString place3 = TestDatabase::scalar("SELECT hcity FROM addressh WHERE id_no = 3").toString();
    const QByteArray csv = "Number,Name,Phone\r\n"
                           "1,Changed,111\r\n" +               // UID 1: updated, renamed
                           (",\"" + two + "\",222\r\n").toUtf8() +  // the name of 2
                           "3,Chloe,333\r\n"
                           "9,Fresh,999\r\n"                    // a free number is kept
                           ",Extra,000\r\n"                     // the next past every number
                           "3,Abe,444\r\n";                     // 3 once more
    const ImportPlan plan = imported(csv);
    EXPECT_EQ(plan.updated, 3);
    EXPECT_EQ(plan.added, 2);
    EXPECT_EQ(refusals(plan), QStringList{"7: line 4 is for the same address"});
    EXPECT_EQ(plan.rows[0].currentName.isEmpty(), false);
    EXPECT_EQ(TestDatabase::scalar("SELECT hphone FROM addressh WHERE id_no = 2").toString(), "222");
    EXPECT_EQ(TestDatabase::scalar("SELECT hphone FROM addressh WHERE id_no = 3").toString(), "333");
    EXPECT_EQ(TestDatabase::scalar("SELECT hcity FROM addressh WHERE id_no = 3").toString(), place3);
    EXPECT_EQ(*glyphsToUnicode(TestDatabase::scalar("SELECT Name FROM addressh WHERE id_no = 9").toString()), "Fresh");
    EXPECT_EQ(*glyphsToUnicode(TestDatabase::scalar("SELECT Name FROM addressh WHERE id_no = 10").toString()), "Extra");
}

// What cannot be taken is listed with its reason, and nothing of that record is written.
TEST_F(ExchangeTest, ARecordThatCannotBeHeldAddsNothingAndSaysWhy) {
    const QByteArray vcard = U("BEGIN:VCARD\r\nVERSION:4.0\r\nFN:ರಾಮ é\r\nTEL:1\r\nEND:VCARD\r\n"
                               "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:सीता\r\nEND:VCARD\r\n"
                               "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:ಗೀತಾ\r\nEMAIL:ಗೀ@x.in\r\nEND:VCARD\r\n"
                               "BEGIN:VCARD\r\nVERSION:4.0\r\nN:;;;;\r\nEND:VCARD\r\n"
                               "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:ಸರಿ\r\nNOTE:")
                                 .toUtf8() +
                             QByteArray(4001, 'x') + "\r\nEND:VCARD\r\n";
    const ImportPlan plan = imported(vcard);
    EXPECT_EQ(plan.added, 0);
    EXPECT_EQ(refusals(plan),
              (QStringList{U("1: Name: the glyph encoding cannot hold \"é\" (U+00E9)"),
                           U("6: Name: the glyph encoding cannot hold \"स\" (U+0938), \"ी\" (U+0940), \"त\" (U+0924)"),
                           U("10: E-mail: Latin text cannot hold \"ಗ\" (U+0C97)"), "15: it has no name",
                           "19: Other information is too long: 4001 characters, at most 4000 are taken"}));
    EXPECT_EQ(addressCount(), 0);
}

// An unknown reference is offered as a new entry; declined, its records stay out.
TEST_F(ExchangeTest, NewReferenceEntriesAreOfferedAndADeclinedOneKeepsItsRecordsOut) {
    const QByteArray csv = U("Name,District,Taluk,Category\r\nಒಂದು,ಕೋಲಾರ,ಮಾಲೂರು,\r\nಎರಡು,ಕೋಲಾರ,,ಶಾಲೆ\r\n").toUtf8();
    AddressImport in(Database::connection());
    const ExchangeFile file = AddressImport::readBytes(csv);
    std::optional<ImportPlan> preview = in.preview(file);
    ASSERT_TRUE(preview);
    ASSERT_EQ(preview->newEntries.size(), 3);
    EXPECT_EQ(preview->newEntries[1].table, RefTable::Taluk);
    EXPECT_EQ(preview->newEntries[1].parentName, U("ಕೋಲಾರ"));
    EXPECT_EQ(preview->newEntries[0].rows, 2);
    EXPECT_EQ(addressCount(), 0) << "a preview writes nothing";

    preview->newEntries[2].accepted = false;  // the category
    const ImportPlan plan = imported(csv, preview->newEntries);
    EXPECT_EQ(plan.added, 1);
    EXPECT_EQ(refusals(plan), QStringList{U("3: the new category \"ಶಾಲೆ\" is not added")});
    EXPECT_EQ(TestDatabase::scalar("SELECT count(*) FROM prakara").toInt(), 0);
    EXPECT_EQ(TestDatabase::scalar("SELECT districtno FROM taluk").toInt(),
              TestDatabase::scalar("SELECT districtno FROM addressh").toInt());
    EXPECT_EQ(TestDatabase::scalar("SELECT Talukno FROM addressh").toInt(), TestDatabase::scalar("SELECT Talukno FROM taluk").toInt());
}

TEST_F(ExchangeTest, ACancelledImportWritesNothing) {
    const QByteArray csv = "Name,District\r\na,x\r\nb,y\r\n";
    AddressImport in(Database::connection());
    const auto plan = in.run(AddressImport::readBytes(csv), {}, [](int done, int) { return done < 1; });
    ASSERT_TRUE(plan);
    EXPECT_TRUE(plan->cancelled);
    EXPECT_EQ(addressCount(), 0);
    EXPECT_EQ(TestDatabase::scalar("SELECT count(*) FROM district").toInt(), 0);
}

// Without a window and without a display: a summary, and the status tells how it went.
TEST_F(ExchangeTest, TheCommandLineExportsAndImportsWithoutAWindow) {
    QString error;
    ASSERT_TRUE(ExchangeSamples::fill(Database::connection(), 5, &error));
    Database::close();
    auto kelda = [](const QStringList &args, QString *out) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("QT_QPA_PLATFORM");
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(KELDA_VASI_BINARY, args);
        p.waitForFinished(60000);
        *out = QString::fromUtf8(p.readAll());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    };
    const QString vcf = db.folder() + "/out.vcf", other = db.freshAddress();
    QString out;
    EXPECT_EQ(kelda({"--database", db.path(), "--export", "vcard", vcf}, &out), 0) << out.toStdString();
    EXPECT_TRUE(out.contains("Exported 5 addresses")) << out.toStdString();
    EXPECT_EQ(kelda({"--database", other, "--import", vcf}, &out), 0) << out.toStdString();
    EXPECT_TRUE(out.contains("5 added, 0 updated, 0 not taken")) << out.toStdString();
    ASSERT_TRUE(writeFile(db.folder() + "/bad.csv", U("Name\r\nಸರಿ\r\nरा\r\n").toUtf8()));
    EXPECT_EQ(kelda({"--database", other, "--import", db.folder() + "/bad.csv"}, &out), 2);
    EXPECT_TRUE(out.contains(U("line 3 (रा): not taken: Name: the glyph encoding cannot hold"))) << out.toStdString();
    EXPECT_EQ(kelda({"--database", other, "--export", "pdf", vcf}, &out), 1);
    EXPECT_EQ(kelda({"--database", other, "--import", db.folder() + "/missing.vcf"}, &out), 1);
}

}  // namespace
