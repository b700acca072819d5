// Opening the database: a new one gets every table (both engines); a file that is not the
// program's, locked, damaged or read-only is refused untouched, and the program says so and
// ends with a failure status (SQLite files).
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>

#include <thread>

#include <sys/wait.h>
#include <unistd.h>

#include "app_test_support.h"
#include "database_schema.h"

namespace {

QStringList tableNames() {
    QSqlDatabase db = Database::connection();
    QStringList names = DatabaseSchema::tablesOf(db);
    names.sort();
    return names;
}

QByteArray contents(const QString &path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

TEST(DatabaseOpen, ANewDatabaseGetsEveryTable) {
    TestDatabase db;
    ASSERT_TRUE(db.opened()) << db.error().toStdString();
    EXPECT_EQ(tableNames(), (QStringList{"addrelation", "addressh", "district", "prakara", "taluk", "temp",
                                         "upaprakara"}));
    // Classification numbers of a new address default to 0, none.
    ASSERT_TRUE(TestDatabase::exec("INSERT INTO addressh (id_no, Name) VALUES (1, 'x')"));
    EXPECT_EQ(TestDatabase::scalar("SELECT sl_no + districtno + talukno + prakarano + upaprakarano "
                                   "FROM addressh").toInt(), 0);
    EXPECT_TRUE(TestDatabase::scalar("SELECT hcity FROM addressh").isNull());
    // Names and letters of any case reach the same columns.
    EXPECT_TRUE(TestDatabase::exec("INSERT INTO TALUK (TALUKNO, TalukName) VALUES (1, 'x')"));
}

TEST(DatabaseFile, AFileThatIsNotOursIsRefusedAndLeftAlone) {
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

// Two copies of the program starting at the same moment on a file that does not exist yet: the
// file is made once, whole, and both save into it.
TEST(DatabaseFile, TwoCopiesStartingOnOneNewFileBothSaveIntoIt) {
    QTemporaryDir dir;
    for (int round = 0; round < 20; ++round) {
        const QString path = dir.filePath(QStringLiteral("new%1.sqlite").arg(round));
        QProcess a, b;
        a.start(OPEN_AND_SAVE_BINARY, {path});
        b.start(OPEN_AND_SAVE_BINARY, {path});
        ASSERT_TRUE(a.waitForFinished(30000) && b.waitForFinished(30000));
        EXPECT_EQ(a.exitCode(), 0) << a.readAllStandardError().toStdString();
        EXPECT_EQ(b.exitCode(), 0) << b.readAllStandardError().toStdString();
        QString error;
        ASSERT_TRUE(Database::open(path, &error)) << round << ": " << error.toStdString();
        EXPECT_EQ(tableNames().size(), 7);
        EXPECT_EQ(TestDatabase::scalar("SELECT count(*) FROM addressh").toInt(), 2) << "round " << round;
        Database::close();
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).filter(QStringLiteral("new%1.").arg(round)).size(), 1)
            << "a file made on the way was left behind";
    }
}

// Another program holds the file: opening waits, then says so. A copy that is saving holds it
// only for a moment: opening waits for it and succeeds.
TEST(DatabaseFile, ALockedFileIsWaitedForThenRefusedAsLocked) {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.sqlite");
    QString error;
    ASSERT_TRUE(Database::open(path, &error));
    Database::close();
    auto holdLock = [&](const char *begin, int ms) {
        return std::thread([=] {
            {
                QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "holder");
                db.setDatabaseName(path);
                db.open();
                QSqlQuery q(db);
                q.exec(begin);
                q.exec("INSERT INTO district (districtno, districtname) VALUES (1, 'x')");
                QThread::msleep(ms);
                q.exec("COMMIT");
                db.close();
            }
            QSqlDatabase::removeDatabase("holder");
        });
    };
    std::thread exclusive = holdLock("BEGIN EXCLUSIVE", 1500);
    QThread::msleep(200);
    EXPECT_FALSE(Database::open(path, &error, 300));
    EXPECT_TRUE(error.contains("locked by another program, try again")) << error.toStdString();
    EXPECT_FALSE(error.contains("not a Kelda Vasi")) << error.toStdString();
    exclusive.join();

    for (int i = 0; i < 8; ++i) {
        std::thread saving = holdLock("BEGIN IMMEDIATE", 150);
        QThread::msleep(50);
        EXPECT_TRUE(Database::open(path, &error)) << error.toStdString();
        Database::close();
        saving.join();
    }
}

// A damaged file is refused with the reason, and left as it was.
TEST(DatabaseFile, ADamagedFileIsRefusedUntouched) {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.sqlite");
    QString error;
    ASSERT_TRUE(Database::open(path, &error));
    for (int i = 1; i <= 400; ++i)
        ASSERT_TRUE(TestDatabase::exec("INSERT INTO addressh (id_no, Name, hcity) VALUES (?, ?, ?)",
                                       {i, QString(40, QChar('a' + i % 26)), QString(30, QChar('A' + i % 26))}));
    Database::close();
    QByteArray bytes = contents(path);
    // Scribble over the pages past the schema: the tables' and indexes' rows.
    for (qsizetype at = bytes.size() / 2; at < bytes.size() / 2 + 3000; at += 7) bytes[at] = char(0xA5);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    EXPECT_FALSE(Database::open(path, &error));
    EXPECT_TRUE(error.contains("damaged")) << error.toStdString();
    EXPECT_EQ(contents(path), bytes);
}

// Opens the file in a child process that runs as nobody when this one is root (root may write
// any file); returns the error, or "opened" when the file was taken.
QString openAsUser(const QString &path) {
    QSqlDatabase::drivers();  // the driver is loaded before the child starts
    int out[2];
    if (pipe(out) != 0) return QStringLiteral("no pipe");
    const pid_t child = fork();
    if (child == 0) {
        close(out[0]);
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
        QString error;
        const QByteArray said = Database::open(path, &error) ? QByteArray("opened") : error.toUtf8();
        if (write(out[1], said.constData(), size_t(said.size())) < 0) _exit(3);
        _exit(0);
    }
    close(out[1]);
    QByteArray said;
    char buffer[512];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) said.append(buffer, n);
    close(out[0]);
    waitpid(child, nullptr, 0);
    return QString::fromUtf8(said);
}

// A file the program could not save into is refused at start, with that reason: one that is
// read-only, and one whose folder takes no new files (a save needs its journal beside it).
TEST(DatabaseFile, AFileItCannotSaveIntoIsRefused) {
    QTemporaryDir dir;
    QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7755));
    const QString readOnly = dir.filePath("ro.sqlite");
    QDir(dir.path()).mkdir("closed");
    const QString inClosed = dir.filePath("closed/a.sqlite");
    QString error;
    for (const QString &path : {readOnly, inClosed}) {
        ASSERT_TRUE(Database::open(path, &error));
        Database::close();
        QFile::setPermissions(path, QFileDevice::Permissions(0x6666));
    }
    QFile::setPermissions(readOnly, QFileDevice::Permissions(0x4444));
    QFile::setPermissions(dir.filePath("closed"), QFileDevice::Permissions(0x5555));
    for (const QString &path : {readOnly, inClosed}) {
        const QString said = openAsUser(path);
        EXPECT_TRUE(said.contains("read-only")) << path.toStdString() << ": " << said.toStdString();
    }
    QFile::setPermissions(dir.filePath("closed"), QFileDevice::Permissions(0x7777));
}

// The screenshot tour fills the database it is given with sample entries: it takes only an
// empty one.
TEST(ProgramStart, TheScreenshotTourRefusesADatabaseThatHoldsAnything) {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.sqlite");
    QString error;
    ASSERT_TRUE(Database::open(path, &error));
    ASSERT_TRUE(TestDatabase::exec("INSERT INTO addressh (id_no, Name) VALUES (1, NULL)"));
    Database::close();
    const QByteArray before = contents(path);
    QProcess p;
    p.start(KELDA_VASI_TOUR_BINARY, {"--database", path, "--screenshots", dir.filePath("shots")});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(p.readAllStandardError().contains("holds")) << "no message";
    EXPECT_EQ(contents(path), before);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("shots")));
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
    EXPECT_FALSE(out.contains("QSqlDatabase")) << out.toStdString();  // the program's words alone
    EXPECT_EQ(contents(path), QByteArray(4096, '\xFF'));
}

}  // namespace
