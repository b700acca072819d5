// Opening the database file: a new file gets every table, a foreign file is refused untouched,
// and the program says so and ends with a failure status.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "database.h"
#include "test_database.h"

namespace {

QStringList tableNames() {
    QStringList out;
    QSqlQuery q(Database::connection());
    q.exec("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name");
    while (q.next()) out << q.value(0).toString();
    return out;
}

QByteArray contents(const QString &path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

TEST(DatabaseOpen, ANewFileGetsEveryTableAndIndex) {
    TestDatabase db;
    ASSERT_TRUE(db.opened()) << db.error().toStdString();
    EXPECT_EQ(tableNames(), (QStringList{"addrelation", "addressh", "district", "prakara", "taluk", "temp",
                                         "upaprakara"}));
    // Classification numbers of a new address default to 0, none.
    ASSERT_TRUE(TestDatabase::exec("INSERT INTO addressh (id_no, Name) VALUES (1, 'x')"));
    EXPECT_EQ(TestDatabase::scalar("SELECT sl_no + districtno + talukno + prakarano + upaprakarano "
                                   "FROM addressh").toInt(), 0);
    EXPECT_TRUE(TestDatabase::scalar("SELECT hcity FROM addressh").isNull());
    // The lists and the cascades are served by indexes.
    for (const char *sql : {"SELECT * FROM district ORDER BY sortcol",
                            "SELECT * FROM taluk WHERE districtno = 1 ORDER BY sortcol",
                            "SELECT * FROM upaprakara WHERE prakarano = 1 ORDER BY usortcol",
                            "SELECT * FROM addressh WHERE talukno = 3",
                            "SELECT * FROM addressh WHERE hcity >= 'a' AND hcity < 'b'"}) {
        QSqlQuery q(Database::connection());
        ASSERT_TRUE(q.exec(QStringLiteral("EXPLAIN QUERY PLAN ") + sql));
        QString plan;
        while (q.next()) plan += q.value(3).toString() + ' ';
        EXPECT_TRUE(plan.contains("INDEX")) << sql << ": " << plan.toStdString();
        EXPECT_FALSE(plan.contains("TEMP B-TREE")) << sql << " sorts in memory: " << plan.toStdString();
    }
    // Names and letters of any case reach the same columns.
    EXPECT_TRUE(TestDatabase::exec("INSERT INTO TALUK (TALUKNO, TalukName) VALUES (1, 'x')"));
}

TEST(DatabaseOpen, AnExistingDatabaseKeepsItsRows) {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.sqlite");
    QString error;
    ASSERT_TRUE(Database::open(path, &error));
    ASSERT_TRUE(TestDatabase::exec("INSERT INTO district (districtno, districtname) VALUES (4, 'x')"));
    Database::close();
    EXPECT_FALSE(Database::isOpen());
    ASSERT_TRUE(Database::open(path, &error)) << error.toStdString();
    EXPECT_EQ(TestDatabase::scalar("SELECT districtno FROM district").toInt(), 4);
    Database::close();
}

TEST(DatabaseOpen, AFileThatIsNotOursIsRefusedAndLeftAlone) {
    QTemporaryDir dir;
    struct Case {
        const char *name;
        QByteArray bytes;
        const char *reason;
    } cases[] = {
        {"notes.txt", QByteArray("These are not addresses.\n").repeated(200), "not a database"},
        {"empty.sqlite", QByteArray(), "empty"},
    };
    for (const Case &c : cases) {
        const QString path = dir.filePath(c.name);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.bytes);
        f.close();
        QString error;
        EXPECT_FALSE(Database::open(path, &error)) << c.name;
        EXPECT_TRUE(error.contains(path)) << error.toStdString();
        EXPECT_TRUE(error.contains(c.reason)) << error.toStdString();
        EXPECT_EQ(contents(path), c.bytes) << c.name << " was changed";
        EXPECT_FALSE(Database::isOpen());
    }

    // Another program's SQLite database.
    const QString other = dir.filePath("other.sqlite");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "other");
        db.setDatabaseName(other);
        ASSERT_TRUE(db.open());
        QSqlQuery(db).exec("CREATE TABLE district (id INTEGER)");
        db.close();
    }
    QSqlDatabase::removeDatabase("other");
    const QByteArray before = contents(other);
    QString error;
    EXPECT_FALSE(Database::open(other, &error));
    EXPECT_TRUE(error.contains("no table") || error.contains("no column")) << error.toStdString();
    EXPECT_EQ(contents(other), before);

    EXPECT_FALSE(Database::open(dir.filePath("missing/folder/a.sqlite"), &error));
    EXPECT_TRUE(error.contains("does not exist")) << error.toStdString();
}

TEST(DatabaseOpen, AReadOnlyFileIsRefused) {
    QTemporaryDir dir;
    const QString path = dir.filePath("ro.sqlite");
    QString error;
    ASSERT_TRUE(Database::open(path, &error));
    Database::close();
    QFile::setPermissions(path, QFile::ReadOwner);
    if (QFileInfo(path).isWritable()) GTEST_SKIP() << "running as a user who may write any file";
    EXPECT_FALSE(Database::open(path, &error));
    EXPECT_TRUE(error.contains("readonly") || error.contains("read-only") || error.contains("read only"))
        << error.toStdString();
}

TEST(ProgramStart, AForeignFileEndsTheProgramWithAMessage) {
    QTemporaryDir dir;
    const QString path = dir.filePath("photo.jpg");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, '\xFF'));
    f.close();
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(KELDA_VASI_BINARY, {"--database", path});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString out = QString::fromLocal8Bit(p.readAll());
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_NE(p.exitCode(), 0);
    EXPECT_TRUE(out.contains(path)) << out.toStdString();
    EXPECT_EQ(contents(path), QByteArray(4096, '\xFF'));
}

}  // namespace
