#include "database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

namespace Database {
namespace {

// Written into the file's header at creation ("KVAB"), so the program knows its own files.
constexpr int kApplicationId = 0x4B564142;

struct TableDef {
    const char *name;
    const char *columns;  // the column list of CREATE TABLE
};

// Number columns are whole numbers; the reference numbers and id_no identify their rows.
// Classification numbers of an address default to 0, "none".
const TableDef kTables[] = {
    {"district", "districtno INTEGER PRIMARY KEY, districtname TEXT, sortcol TEXT"},
    {"taluk", "Talukno INTEGER PRIMARY KEY, talukname TEXT, districtno INTEGER NOT NULL DEFAULT 0, "
              "sortcol TEXT"},
    {"prakara", "PrakaraNo INTEGER PRIMARY KEY, prakaraname TEXT, psortcol TEXT"},
    {"upaprakara", "UpaPrakaraNo INTEGER PRIMARY KEY, upaprakaraname TEXT, "
                   "PrakaraNo INTEGER NOT NULL DEFAULT 0, usortcol TEXT"},
    {"addrelation", "sl_no INTEGER PRIMARY KEY, relationitem TEXT, sortcol TEXT"},
    {"addressh", "id_no INTEGER PRIMARY KEY, Name TEXT, sortcol TEXT, members TEXT, haddress TEXT, "
                 "hcity TEXT, hpin_code TEXT, hstate TEXT, hcountry TEXT, hphone TEXT, he_mail TEXT, "
                 "hfax TEXT, hpager TEXT, oaddress TEXT, otherinfor TEXT, "
                 "sl_no INTEGER NOT NULL DEFAULT 0, districtno INTEGER NOT NULL DEFAULT 0, "
                 "Talukno INTEGER NOT NULL DEFAULT 0, PrakaraNo INTEGER NOT NULL DEFAULT 0, "
                 "UpaPrakaraNo INTEGER NOT NULL DEFAULT 0"},
    {"temp", "Name TEXT, sortcol TEXT, haddress TEXT, hpin_code TEXT, hcity TEXT, hphone TEXT, "
             "he_mail TEXT, ojob TEXT, odept TEXT"},
};

// Sort columns (lists), parent numbers (child lists), the address links (cascades) and the
// search columns (prefix searches). Row numbers are the tables' keys already.
const char *const kIndexes[] = {
    "CREATE INDEX district_sort ON district (sortcol)",
    "CREATE INDEX taluk_sort ON taluk (districtno, sortcol)",
    "CREATE INDEX prakara_sort ON prakara (psortcol)",
    "CREATE INDEX upaprakara_sort ON upaprakara (PrakaraNo, usortcol)",
    "CREATE INDEX addrelation_sort ON addrelation (sortcol)",
    "CREATE INDEX addressh_sort ON addressh (sortcol)",
    "CREATE INDEX addressh_relation ON addressh (sl_no)",
    "CREATE INDEX addressh_district ON addressh (districtno)",
    "CREATE INDEX addressh_taluk ON addressh (Talukno)",
    "CREATE INDEX addressh_prakara ON addressh (PrakaraNo)",
    "CREATE INDEX addressh_upaprakara ON addressh (UpaPrakaraNo)",
    "CREATE INDEX addressh_name ON addressh (Name)",
    "CREATE INDEX addressh_city ON addressh (hcity)",
    "CREATE INDEX addressh_state ON addressh (hstate)",
    "CREATE INDEX addressh_country ON addressh (hcountry)",
    "CREATE INDEX temp_sort ON temp (sortcol)",
};

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
    bool ok = exec(db, QStringLiteral("PRAGMA application_id = %1").arg(kApplicationId), why);
    for (const TableDef &t : kTables) {
        if (!ok) break;
        ok = exec(db, QStringLiteral("CREATE TABLE %1 (%2)").arg(QLatin1String(t.name), QLatin1String(t.columns)), why);
    }
    for (const char *sql : kIndexes) {
        if (!ok) break;
        ok = exec(db, QLatin1String(sql), why);
    }
    if (ok && db.commit()) return true;
    if (ok) *why = db.lastError().text();
    db.rollback();
    return false;
}

// The columns of a table as the engine reports them, lower case (names are matched without
// regard to case).
QStringList columnsOf(QSqlDatabase &db, const QString &table) {
    QStringList names;
    QSqlRecord rec = db.record(table);
    for (int i = 0; i < rec.count(); ++i) names << rec.fieldName(i).toLower();
    return names;
}

// A file is the program's own when every table is there with at least the columns this
// program reads and writes.
bool checkSchema(QSqlDatabase &db, QString *why) {
    QSqlQuery probe(db);
    // The first read of the file is where SQLite notices a file that is no database at all.
    if (!probe.exec(QStringLiteral("PRAGMA application_id")) || !probe.next()) {
        *why = probe.lastError().text();
        return false;
    }
    const QStringList tables = db.tables();
    QStringList lowerTables;
    for (const QString &t : tables) lowerTables << t.toLower();
    for (const TableDef &t : kTables) {
        const QString name = QLatin1String(t.name);
        if (!lowerTables.contains(name)) {
            *why = QStringLiteral("it has no table \"%1\"").arg(name);
            return false;
        }
        const QStringList have = columnsOf(db, tables.at(lowerTables.indexOf(name)));
        for (const QString &def : QString::fromLatin1(t.columns).split(QLatin1Char(','))) {
            const QString column = def.trimmed().section(QLatin1Char(' '), 0, 0).toLower();
            if (!have.contains(column)) {
                *why = QStringLiteral("its table \"%1\" has no column \"%2\"").arg(name, column);
                return false;
            }
        }
    }
    // Writing must be possible: a read-only or locked file is refused now, not at the first save.
    QSqlQuery w(db);
    if (!w.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        *why = w.lastError().text();
        return false;
    }
    w.exec(QStringLiteral("ROLLBACK"));
    return true;
}

}  // namespace

QString defaultPath() {
    return QDir::homePath() + QStringLiteral("/.local/share/kelda-vasi/address.sqlite");
}

bool open(const QString &path, QString *error) {
    QString why;
    auto fail = [&](const QString &reason) {
        if (error) *error = QStringLiteral("Cannot open the address book database %1: %2").arg(path, reason);
        close();
        return false;
    };
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")))
        return fail(QStringLiteral("the SQLite driver of Qt is not installed"));

    const QFileInfo info(path);
    const bool exists = info.exists();
    if (exists && !info.isFile()) return fail(QStringLiteral("it is not a file"));
    if (exists && info.size() == 0) return fail(QStringLiteral("the file is empty, not an address book database"));
    if (!exists && !QDir(info.absolutePath()).exists())
        return fail(QStringLiteral("the folder %1 does not exist").arg(info.absolutePath()));

    close();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QLatin1String(connectionName()));
    db.setDatabaseName(path);
    // Another copy of the program may be saving: wait for it rather than fail at once.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open()) return fail(db.lastError().text());
    if (!exists) {
        if (!createSchema(db, &why)) {
            close();
            QFile::remove(path);
            return fail(QStringLiteral("the new database could not be made: ") + why);
        }
        return true;
    }
    if (!checkSchema(db, &why)) return fail(QStringLiteral("it is not a Kelda Vasi database (%1)").arg(why));
    return true;
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

QSqlDatabase connection() { return QSqlDatabase::database(QLatin1String(connectionName()), false); }

}  // namespace Database
