#include "database.h"

#include "database_schema.h"
#include "server_database.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QRandomGenerator>
#include <QStringList>

#include <filesystem>

namespace Database {
namespace {

// Written into the file's header at creation ("KVAB"), so the program knows its own files.
constexpr int kApplicationId = 0x4B564142;

bool exec(QSqlDatabase &db, const QString &sql, QString *why) {
    QSqlQuery q(db);
    if (q.exec(sql)) return true;
    *why = q.lastError().text();
    return false;
}

bool createSchema(QSqlDatabase &db, QString *why) {
    if (!db.transaction()) {
        *why = db.lastError().text();
        return false;
    }
    const bool ok = exec(db, QStringLiteral("PRAGMA application_id = %1").arg(kApplicationId), why) &&
                    DatabaseSchema::create(db, why);
    if (ok && db.commit()) return true;
    if (ok) *why = db.lastError().text();
    db.rollback();
    return false;
}

// Why SQLite refused: its own words, or what they mean for the user where they would mislead.
QString reasonOf(const QSqlError &error) {
    switch (error.nativeErrorCode().toInt() & 0xFF) {
    case 5:  // busy
    case 6:  // locked
        return QStringLiteral("it is locked by another program, try again");
    case 8:   // read-only
    case 14:  // the journal cannot be made beside it
        return QStringLiteral("it is read-only, or its folder is: Kelda Vasi could not save into it");
    case 11:  // corrupt
        return QStringLiteral("the file is damaged (%1)").arg(error.databaseText());
    case 26:  // not a database
        return QStringLiteral("it is not a Kelda Vasi database (%1)").arg(error.databaseText());
    default:
        return error.text();
    }
}

// Runs one statement; false with the reason when it fails.
bool run(QSqlDatabase &db, const QString &sql, QString *why) {
    QSqlQuery q(db);
    if (q.exec(sql)) return true;
    *why = reasonOf(q.lastError());
    return false;
}

// What an existing file must pass before the program uses it: readable as this program's
// database, whole, and open to saving. Nothing in it changes.
bool checkFile(QSqlDatabase &db, QString *why) {
    if (!run(db, QStringLiteral("BEGIN"), why)) return false;
    bool ok = false;
    {
        // The first read is where SQLite notices a file that is no database, or a lock.
        QSqlQuery probe(db);
        if (!probe.exec(QStringLiteral("PRAGMA application_id")) || !probe.next())
            *why = reasonOf(probe.lastError());
        else if (DatabaseSchema::check(db, why))
            ok = true;
    }
    if (ok) {
        QSqlQuery check(db);
        if (!check.exec(QStringLiteral("PRAGMA quick_check")) || !check.next()) {
            *why = reasonOf(check.lastError());
            ok = false;
        } else if (check.value(0).toString() != QLatin1String("ok")) {
            *why = QStringLiteral("the file is damaged (%1)").arg(check.value(0).toString());
            ok = false;
        }
    }
    run(db, QStringLiteral("ROLLBACK"), why);
    if (!ok) return false;
    // Saving must be possible: a read-only file, or one whose folder takes no journal, is refused
    // now, not at the first save. The write lock is waited for like any save's (no read is open
    // now, so the wait is not cut short), and what is written is rolled back.
    if (!run(db, QStringLiteral("BEGIN IMMEDIATE"), why)) return false;
    const bool writable = run(db, QStringLiteral("PRAGMA user_version = 0"), why);
    QString ignored;
    run(db, QStringLiteral("ROLLBACK"), &ignored);
    return writable;
}

// Makes a new database with every table in a file of its own beside path and returns that
// file's name; empty (and nothing left behind) when it cannot.
QString makeNewFile(const QString &path, QString *why) {
    const QString made = QStringLiteral("%1.new-%2-%3")
                             .arg(path)
                             .arg(QCoreApplication::applicationPid())
                             .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    const QString connection = QStringLiteral("KeldaVasiNewFile");
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(made);
        if (!db.open())
            *why = db.lastError().text();
        else
            ok = createSchema(db, why);
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    if (!ok) {
        QFile::remove(made);
        return QString();
    }
    return made;
}

}  // namespace

QString defaultPath() {
    return QDir::homePath() + QStringLiteral("/.local/share/kelda-vasi/address.sqlite");
}

bool open(const QString &path, QString *error, int lockWaitMs) {
    QString why;
    const bool onServer = ServerDatabase::isAddress(path);
    auto fail = [&](const QString &reason) {
        if (error)
            *error = QStringLiteral("Cannot open the address book database %1: %2")
                         .arg(onServer ? ServerDatabase::shown(path) : path, reason);
        close();
        return false;
    };
    if (onServer) {
        if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
            return fail(QStringLiteral("the PostgreSQL driver of Qt is not installed (libqt6sql6-psql)"));
        close();
        if (!ServerDatabase::open(path, QLatin1String(connectionName()), lockWaitMs, &why)) return fail(why);
        return true;
    }
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")))
        return fail(QStringLiteral("the SQLite driver of Qt is not installed"));

    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) return fail(QStringLiteral("it is not a file"));
    if (info.exists() && info.size() == 0)
        return fail(QStringLiteral("the file is empty, not an address book database"));
    if (!info.exists() && !QDir(info.absolutePath()).exists())
        return fail(QStringLiteral("the folder %1 does not exist").arg(info.absolutePath()));

    close();
    if (!info.exists()) {
        // A new file is made whole under a name of its own, then given its name only if no other
        // copy of the program gave that name to its own new file first (then that one is used).
        const QString made = makeNewFile(path, &why);
        if (made.isEmpty()) return fail(QStringLiteral("the new database could not be made: ") + why);
        std::error_code linked;
        std::filesystem::create_hard_link(made.toStdString(), path.toStdString(), linked);
        QFile::remove(made);
        if (linked && !QFileInfo::exists(path))
            return fail(QStringLiteral("the new database could not be made: ") +
                        QString::fromStdString(linked.message()));
    }
    {
        // The handle goes before a failure closes the connection: one still held makes Qt warn.
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QLatin1String(connectionName()));
        db.setDatabaseName(path);
        // Another copy of the program may be saving: wait for it rather than fail at once.
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(lockWaitMs));
        if (!db.open())
            why = reasonOf(db.lastError());
        else if (checkFile(db, &why))
            return true;
    }
    return fail(why);
}

void close() {
    if (!QSqlDatabase::contains(QLatin1String(connectionName()))) return;
    {
        QSqlDatabase db = QSqlDatabase::database(QLatin1String(connectionName()), false);
        if (db.isOpen()) db.close();
    }
    QSqlDatabase::removeDatabase(QLatin1String(connectionName()));
}

bool isOpen() {
    return QSqlDatabase::contains(QLatin1String(connectionName())) &&
           QSqlDatabase::database(QLatin1String(connectionName()), false).isOpen();
}

bool holdsAnything() {
    QSqlDatabase db = connection();
    for (const DatabaseSchema::Table &t : DatabaseSchema::kTables) {
        QSqlQuery q(db);
        if (q.exec(QStringLiteral("SELECT 1 FROM %1 LIMIT 1").arg(QLatin1String(t.name))) && q.next()) return true;
    }
    return false;
}

Engine engineOf(const QSqlDatabase &db) {
    return db.driverName() == QLatin1String("QPSQL") ? Engine::PostgreSQL : Engine::SQLite;
}

QSqlDatabase connection() { return QSqlDatabase::database(QLatin1String(connectionName()), false); }

}  // namespace Database
