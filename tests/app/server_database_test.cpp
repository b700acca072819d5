// An address book on a PostgreSQL server: what is refused and why, a session's own report
// table, and copies of the program saving at once. Runs on the test cluster only.
#include <gtest/gtest.h>

#include <QProcess>
#include <QSqlQuery>

#include "address_selection.h"
#include "database.h"
#include "app_test_support.h"

namespace {

QString opened(const QString &address) {
    QString error;
    return Database::open(address, &error) ? QStringLiteral("opened") : error;
}

TEST(ServerDatabase, WhatIsNotAnAddressBookOrCannotBeReachedIsRefusedWithTheReason) {
    TestDatabase db;
    ASSERT_TRUE(db.opened()) << db.error().toStdString();
    // A schema that holds another program's table, and one whose "district" is another's.
    const QString theirs = db.freshAddress(), clash = db.freshAddress();
    ASSERT_EQ(opened(theirs), "opened");
    const QString theirSchema = TestDatabase::scalar("SELECT current_schema()").toString();
    ASSERT_TRUE(TestDatabase::exec(QStringLiteral("DROP TABLE addressh, district, taluk, prakara, upaprakara, "
                                                  "addrelation, %1.temp").arg(theirSchema)) &&
                TestDatabase::exec("CREATE TABLE invoices (id INTEGER)"));
    const QString refused = opened(theirs);
    EXPECT_TRUE(refused.contains("another program's database") && refused.contains("invoices")) << refused.toStdString();
    ASSERT_EQ(opened(clash), "opened");
    ASSERT_TRUE(TestDatabase::exec("ALTER TABLE district DROP COLUMN sortcol"));
    EXPECT_TRUE(opened(clash).contains("has no column \"sortcol\"")) << opened(clash).toStdString();
    QSqlQuery tables(QSqlDatabase::database("kelda-test-admin"));
    tables.exec(QStringLiteral("SELECT count(*) FROM information_schema.tables WHERE table_schema = '%1'").arg(theirSchema));
    EXPECT_TRUE(tables.next() && tables.value(0).toInt() == 1) << "a refused database is left as it was";

    // No server there; no database named; a password never shows.
    const QString away = "postgresql://kelda:secret@/kelda?host=/nonexistent/folder";
    const QString unreachable = opened(away);
    EXPECT_TRUE(unreachable.contains("cannot be reached")) << unreachable.toStdString();
    EXPECT_FALSE(unreachable.contains("secret")) << unreachable.toStdString();
    EXPECT_TRUE(opened("postgresql://localhost").contains("names no database"));
    QProcess program;
    program.start(KELDA_VASI_BINARY, {"--database", away, "--export", "csv", db.folder() + "/x.csv"});
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitCode(), 1);
    EXPECT_TRUE(program.readAllStandardError().contains("cannot be reached"));
}

TEST(ServerDatabase, AUserWhoMayOnlyReadIsRefused) {
    TestDatabase db;
    ASSERT_TRUE(db.opened());
    const QString schema = TestDatabase::scalar("SELECT current_schema()").toString();
    TestDatabase::exec("DROP ROLE IF EXISTS " + schema + "_reader");
    ASSERT_TRUE(TestDatabase::exec(QStringLiteral("CREATE ROLE %1_reader LOGIN; GRANT USAGE ON SCHEMA %1 TO %1_reader; "
                                                  "GRANT SELECT ON ALL TABLES IN SCHEMA %1 TO %1_reader")
                                       .arg(schema)));
    const QString refused = opened(db.path() + "&user=" + schema + "_reader");
    EXPECT_TRUE(refused.contains("may not change its table \"district\"")) << refused.toStdString();
    Database::close();
    QSqlQuery(QSqlDatabase::database("kelda-test-admin")).exec(QStringLiteral("DROP OWNED BY %1_reader; DROP ROLE %1_reader").arg(schema));
}

// Each copy prints from a report table of its own.
TEST(ServerDatabase, TwoCopiesFillingTheReportTableDoNotMixTheirRows) {
    TestDatabase db;
    ASSERT_TRUE(db.opened());
    ASSERT_TRUE(TestDatabase::exec("INSERT INTO addressh (id_no, Name, sortcol) VALUES (1, 'a', '1'), (2, 'b', '2')"));
    ASSERT_TRUE(db.openOther("other-copy"));
    {
        AddressListData mine(Database::connection()), theirs(QSqlDatabase::database("other-copy"));
        EXPECT_EQ(mine.fillReportTable({{"id_no", 1}}, ReportKind::Labels, AddressChoice::First), 1);
        EXPECT_EQ(theirs.fillReportTable({}, ReportKind::Labels, AddressChoice::First), 2);
        EXPECT_EQ(mine.reportRows()->size(), 1);
    }
    QSqlDatabase::removeDatabase("other-copy");
}

// Two copies, each saving 1,000 addresses at the same time into a database neither has used.
TEST(ServerDatabase, TwoCopiesSavingAtOnceNeverShareANumberNorLoseASave) {
    TestDatabase db;
    const QString address = db.freshAddress();
    QProcess a, b;
    a.start(OPEN_AND_SAVE_BINARY, {address, "1000"});
    b.start(OPEN_AND_SAVE_BINARY, {address, "1000"});
    ASSERT_TRUE(a.waitForFinished(60000) && b.waitForFinished(60000));
    EXPECT_EQ(a.exitCode(), 0) << a.readAllStandardError().toStdString();
    EXPECT_EQ(b.exitCode(), 0) << b.readAllStandardError().toStdString();
    ASSERT_EQ(opened(address), "opened");
    EXPECT_EQ(TestDatabase::scalar("SELECT count(*) FROM addressh").toInt(), 2000);
    EXPECT_EQ(TestDatabase::scalar("SELECT count(DISTINCT id_no) FROM addressh").toInt(), 2000);
    EXPECT_EQ(TestDatabase::scalar("SELECT max(id_no) FROM addressh").toInt(), 2000);
}

}  // namespace
